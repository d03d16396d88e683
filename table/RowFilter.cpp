#include "table/RowFilter.h"

#include "table/CellReplace.h"
#include "table/ValueDisplay.h"

#include <optional>

namespace orvane {

namespace {

bool ContainsFolded(std::string_view cell, std::string_view text) {
    return text.empty() || FoldCase(cell).find(FoldCase(text)) != std::string::npos;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::optional<double> Number(std::string_view text, char separator) {
    text = Trim(text);
    if (text.empty()) return std::nullopt;
    if (auto v = ParseDecimal(text, separator)) return v;
    if (separator != '.') return ParseDecimal(text, '.');
    return std::nullopt;
}

} // namespace

bool ConditionKeeps(std::string_view condition, std::string_view cell, char separator) {
    enum class Op {
        Contains,
        Equal,
        NotEqual,
        Less,
        LessEqual,
        Greater,
        GreaterEqual
    } op = Op::Contains;
    std::string_view operand = condition;
    const auto starts = [&](std::string_view prefix) {
        return condition.substr(0, prefix.size()) == prefix;
    };
    if (starts("<>"))
        op = Op::NotEqual, operand.remove_prefix(2);
    else if (starts("<="))
        op = Op::LessEqual, operand.remove_prefix(2);
    else if (starts(">="))
        op = Op::GreaterEqual, operand.remove_prefix(2);
    else if (starts("="))
        op = Op::Equal, operand.remove_prefix(1);
    else if (starts("<"))
        op = Op::Less, operand.remove_prefix(1);
    else if (starts(">"))
        op = Op::Greater, operand.remove_prefix(1);

    if (op == Op::Contains) return ContainsFolded(cell, condition);
    if (op == Op::Equal || op == Op::NotEqual) {
        const std::string_view wanted = Trim(operand);
        bool same = Trim(cell) == wanted;
        if (!same) {
            const auto a = Number(cell, separator), b = Number(wanted, separator);
            same = a && b && *a == *b;
        }
        return (op == Op::Equal) == same;
    }
    const auto limit = Number(operand, separator);
    const auto value = Number(cell, separator);
    if (!limit || !value) return false;
    switch (op) {
    case Op::Less:
        return *value < *limit;
    case Op::LessEqual:
        return *value <= *limit;
    case Op::Greater:
        return *value > *limit;
    case Op::GreaterEqual:
        return *value >= *limit;
    default:
        return false;
    }
}

void RowFilter::Set(int column, std::string condition) {
    if (condition.empty())
        conditions_.erase(column);
    else
        conditions_[column] = std::move(condition);
}

std::string RowFilter::ConditionOf(int column) const {
    const auto it = conditions_.find(column);
    return it == conditions_.end() ? std::string() : it->second;
}

bool RowFilter::Keeps(const RecordTable& table, int row, char separator) const {
    for (const auto& [column, condition] : conditions_) {
        if (column >= table.ColumnCount()) return false;
        if (!ConditionKeeps(condition, table.Cell(column, row), separator)) return false;
    }
    return true;
}

std::vector<int> RowFilter::KeptRows(const RecordTable& table, char separator) const {
    std::vector<int> rows;
    for (int r = 1; r < table.RowCount(); ++r)
        if (Keeps(table, r, separator)) rows.push_back(r);
    return rows;
}

} // namespace orvane
