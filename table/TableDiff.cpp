#include "table/TableDiff.h"

#include "table/ValueDisplay.h"
#include "table/WholeNumber.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

namespace orvane {

namespace {

bool ContainsNoCase(std::string_view text, std::string_view word) {
    const auto it =
        std::search(text.begin(), text.end(), word.begin(), word.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    return it != text.end();
}

std::string_view KeyOf(const RecordTable& t, int keyColumn, int row, std::string& scratch) {
    if (keyColumn != kKeyRowNumber) return t.Cell(keyColumn, row);
    scratch = std::to_string(row);
    return scratch;
}

ValueKind KindOf(const CompareRule& rule, int column) {
    return column >= 0 && std::size_t(column) < rule.kinds.size() ? rule.kinds[std::size_t(column)]
                                                                  : ValueKind::Text;
}

// Of the rows given, those whose key another row of the same table holds.
std::vector<int> RepeatedKeys(const RecordTable& t, int keyColumn, const std::vector<int>& rows) {
    std::vector<int> out;
    if (keyColumn == kKeyRowNumber || rows.empty()) return out;
    std::unordered_map<std::string_view, int> count;
    count.reserve(static_cast<std::size_t>(t.RowCount()));
    for (int r = 1; r < t.RowCount(); ++r)
        ++count[t.Cell(keyColumn, r)];
    for (int r : rows)
        if (count[t.Cell(keyColumn, r)] > 1) out.push_back(r);
    return out;
}

// The rows of a table under each key, in order, taken one by one: an open
// hash table of the keys (its slots side by side, so a look-up reads no
// scattered nodes), each slot with the first row left under its key, and
// for each row the next one holding the same key.
class RowsByKey {
  public:
    RowsByKey(const RecordTable& t, int keyColumn) : t_(t), key_(keyColumn) {
        if (keyColumn == kKeyRowNumber) return;
        std::size_t size = 16;
        while (size < 2 * std::size_t(std::max(t.RowCount(), 1)))
            size *= 2;
        slots_.assign(size, Slot{});
        next_.assign(std::size_t(std::max(t.RowCount(), 1)), 0);
        for (int r = t.RowCount() - 1; r >= 1; --r) {
            Slot& slot = Find(t.Cell(keyColumn, r));
            if (!slot.keyRow) slot.keyRow = r;
            next_[std::size_t(r)] = slot.first;
            slot.first = r;
        }
    }
    // The first row left under the key, now taken (0: none left).
    int Take(std::string_view key) {
        Slot& slot = Find(key);
        const int row = slot.first;
        if (row) slot.first = next_[std::size_t(row)];
        return row;
    }

  private:
    struct Slot {
        std::size_t hash = 0;
        int keyRow = 0; // a row holding the key (0: an empty slot)
        int first = 0;
    };
    // The key's slot, or the empty slot where it would go.
    Slot& Find(std::string_view key) {
        const std::size_t hash = std::hash<std::string_view>{}(key);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (!slot.keyRow) {
                slot.hash = hash;
                return slot;
            }
            if (slot.hash == hash && t_.Cell(key_, slot.keyRow) == key) return slot;
        }
    }
    const RecordTable& t_;
    int key_;
    std::vector<Slot> slots_;
    std::vector<int> next_;
};

} // namespace

bool SameValue(std::string_view x, std::string_view y, ValueKind kind, char decimalSeparator) {
    if (x == y) return true;
    switch (kind) {
    case ValueKind::Text:
        return false;
    case ValueKind::Decimal: {
        const auto vx = ParseDecimal(x, decimalSeparator);
        const auto vy = vx ? ParseDecimal(y, decimalSeparator) : std::nullopt;
        return vx && vy && *vx == *vy;
    }
    case ValueKind::Whole: {
        const auto vx = ParseWholeNumber(x);
        const auto vy = vx ? ParseWholeNumber(y) : std::nullopt;
        return vx && vy && *vx == *vy;
    }
    }
    return false;
}

int DefaultKeyColumn(const RecordTable& table) {
    for (const char* word : {"unique", "ICAO", "OACI"})
        for (int c = kFirstFieldColumn; c < table.ColumnCount(); ++c)
            if (ContainsNoCase(table.Cell(c, 0), word)) return c;
    return kKeyRowNumber;
}

TableDifference CompareTables(const RecordTable& a, const RecordTable& b, int keyColumn) {
    CompareRule rule;
    rule.keyColumn = keyColumn;
    return CompareTables(a, b, rule);
}

TableDifference CompareTables(const RecordTable& a, const RecordTable& b, const CompareRule& rule) {
    const int keyColumn = rule.keyColumn;
    TableDifference d;
    d.keyColumn = keyColumn;
    if (keyColumn == kKeyRowNumber) {
        // Matched by position: no keys to hash.
        const int common = std::min(a.RowCount(), b.RowCount());
        for (int r = common; r < a.RowCount(); ++r)
            d.onlyInA.push_back(r);
        for (int r = common; r < b.RowCount(); ++r)
            d.onlyInB.push_back(r);
    }
    d.rowInA.assign(static_cast<std::size_t>(std::max(b.RowCount(), 0)), 0);
    RowsByKey rowsOfB(b, keyColumn);
    const int columns = std::max(a.ColumnCount(), b.ColumnCount());
    std::vector<std::string_view> cellsA, cellsB;
    std::vector<std::uint32_t> endsA(std::size_t(std::max(columns, kFirstFieldColumn))),
        endsB(endsA.size());
    std::string scratch;
    const int lastA =
        keyColumn == kKeyRowNumber ? std::min(a.RowCount(), b.RowCount()) : a.RowCount();
    for (int ra = 1; ra < lastA; ++ra) {
        int rb = ra;
        if (keyColumn != kKeyRowNumber) {
            rb = rowsOfB.Take(KeyOf(a, keyColumn, ra, scratch));
            if (rb == 0) {
                d.onlyInA.push_back(ra);
                continue;
            }
        }
        d.rowInA[static_cast<std::size_t>(rb)] = ra;
        // Most rows hold the same field texts: one comparison of the texts
        // and where each ends tells.
        const std::string_view textA = a.RowTexts(ra, endsA.data(), endsA.size());
        const std::string_view textB = b.RowTexts(rb, endsB.data(), endsB.size());
        const std::uint32_t fromA = endsA[kFirstFieldColumn - 1];
        const std::uint32_t fromB = endsB[kFirstFieldColumn - 1];
        if (endsA.back() - fromA == endsB.back() - fromB &&
            textA.substr(fromA) == textB.substr(fromB) &&
            std::equal(endsA.begin() + kFirstFieldColumn, endsA.end(),
                       endsB.begin() + kFirstFieldColumn,
                       [&](std::uint32_t x, std::uint32_t y) { return x - fromA == y - fromB; }))
            continue;
        a.RowCells(ra, cellsA);
        b.RowCells(rb, cellsB);
        RowDifference row{ra, rb, {}};
        for (int c = kFirstFieldColumn; c < columns; ++c) {
            const std::string_view x = c < int(cellsA.size()) ? cellsA[std::size_t(c)] : "";
            const std::string_view y = c < int(cellsB.size()) ? cellsB[std::size_t(c)] : "";
            if (x != y && !SameValue(x, y, KindOf(rule, c), rule.decimalSeparator))
                row.cells.push_back({c, std::string(x), std::string(y)});
        }
        if (!row.cells.empty()) d.changed.push_back(std::move(row));
    }
    if (keyColumn != kKeyRowNumber)
        for (int rb = 1; rb < b.RowCount(); ++rb)
            if (!d.rowInA[static_cast<std::size_t>(rb)]) d.onlyInB.push_back(rb);
    d.repeatedInA = RepeatedKeys(a, keyColumn, d.onlyInA);
    d.repeatedInB = RepeatedKeys(b, keyColumn, d.onlyInB);
    return d;
}

std::vector<DifferenceEntry> ListDifferences(const TableDifference& d) {
    std::vector<DifferenceEntry> list;
    list.reserve(d.onlyInA.size() + d.onlyInB.size() + d.changed.size());
    for (std::size_t i = 0; i < d.changed.size(); ++i) {
        const RowDifference& row = d.changed[i];
        list.push_back({DifferenceKind::Changed, row.rowA, row.rowB, row.rowA, int(i)});
    }
    for (int ra : d.onlyInA)
        list.push_back({DifferenceKind::OnlyHere, ra, 0, ra, -1});
    // A row only in B follows the nearest row above it in B that A holds
    // too (rows beyond the common ones, matched by position, the last).
    for (int rb : d.onlyInB) {
        int at = 0;
        for (int prev = rb - 1; prev >= 1 && !at; --prev)
            at = d.rowInA[std::size_t(prev)];
        list.push_back({DifferenceKind::OnlyThere, 0, rb, at, -1});
    }
    // Rows of A in their order; a row only in B after the row it follows,
    // and those after one row in B's order.
    std::stable_sort(list.begin(), list.end(),
                     [](const DifferenceEntry& x, const DifferenceEntry& y) {
                         const bool xThere = x.kind == DifferenceKind::OnlyThere;
                         const bool yThere = y.kind == DifferenceKind::OnlyThere;
                         return std::tie(x.at, xThere, x.rowB) < std::tie(y.at, yThere, y.rowB);
                     });
    return list;
}

namespace {

std::string_view Trimmed(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return cell.substr(first, cell.find_last_not_of(' ') + 1 - first);
}

// The first text field, and the one whose title says it holds a name (-1: none).
std::pair<int, int> NamingColumns(const RecordTable& table, const CompareRule& rule) {
    int first = -1, name = -1;
    for (int c = kFirstFieldColumn; c < table.ColumnCount(); ++c) {
        if (KindOf(rule, c) != ValueKind::Text) continue;
        if (first < 0) first = c;
        const std::string_view title = table.Cell(c, 0);
        if (name < 0 && (ContainsNoCase(title, "name") ||
                         (title.size() >= 3 && ContainsNoCase(title.substr(0, 3), "nom"))))
            name = c;
    }
    return {first, name};
}

} // namespace

std::string RowName(const RecordTable& table, int row, const CompareRule& rule) {
    const auto [first, nameColumn] = NamingColumns(table, rule);
    std::vector<int> columns;
    if (first >= 0 && first != rule.keyColumn) columns.push_back(first);
    if (nameColumn >= 0) {
        if (nameColumn != rule.keyColumn && nameColumn != first) columns.push_back(nameColumn);
    } else {
        // No field says it is the name: the next texts stand in for it.
        for (int c = first + 1;
             c > kFirstFieldColumn && c < table.ColumnCount() && columns.size() < 2; ++c)
            if (c != rule.keyColumn && KindOf(rule, c) == ValueKind::Text &&
                !Trimmed(table.Cell(c, row)).empty())
                columns.push_back(c);
    }
    std::string name;
    for (int c : columns) {
        const std::string_view cell = Trimmed(table.Cell(c, row));
        if (cell.empty()) continue;
        if (!name.empty()) name += "  ";
        name += cell;
    }
    return name;
}

std::string RowLabel(const RecordTable& table, int row, const CompareRule& rule) {
    const std::string name = RowName(table, row, rule);
    if (rule.keyColumn == kKeyRowNumber) return name.empty() ? std::to_string(row) : name;
    // A key no one reads (a unique identifier in hexadecimal) gives way to
    // the record's first text and name.
    if (!name.empty() && NamingColumns(table, rule).first != rule.keyColumn) return name;
    std::string label(table.Cell(rule.keyColumn, row));
    if (!name.empty()) label += "  " + name;
    return label;
}

int TakeOtherSide(RecordTable& a, const RecordTable& b, const TableDifference& d,
                  const std::vector<DifferenceEntry>& list, const std::vector<MergeTake>& takes) {
    int taken = 0;
    // Row moves, done last and from the bottom up so that earlier positions
    // hold: removals of A's rows, and insertions of B's rows after a row of A.
    struct Move {
        int position; // in A as compared
        bool insert;
        int rowB;
    };
    std::vector<Move> moves;
    std::vector<std::string_view> cells;
    for (const MergeTake& take : takes) {
        if (take.entry >= list.size()) continue;
        const DifferenceEntry& e = list[take.entry];
        switch (e.kind) {
        case DifferenceKind::Changed: {
            if (e.changed < 0 || std::size_t(e.changed) >= d.changed.size()) break;
            for (const CellDifference& cell : d.changed[std::size_t(e.changed)].cells)
                if ((take.column < 0 || take.column == cell.column) &&
                    a.Cell(cell.column, e.rowA) != cell.after) {
                    a.SetCell(cell.column, e.rowA, cell.after);
                    ++taken;
                }
            break;
        }
        case DifferenceKind::OnlyHere:
            moves.push_back({e.rowA, false, 0});
            break;
        case DifferenceKind::OnlyThere:
            moves.push_back({e.at + 1, true, e.rowB});
            break;
        }
    }
    if (moves.empty()) return taken;
    // From the bottom up; at one position the removal of A's row comes
    // first, then B's rows, the last first so that they end in B's order.
    std::sort(moves.begin(), moves.end(), [](const Move& x, const Move& y) {
        return std::tie(y.position, x.insert, y.rowB) < std::tie(x.position, y.insert, x.rowB);
    });
    moves.erase(std::unique(moves.begin(), moves.end(),
                            [](const Move& x, const Move& y) {
                                return x.position == y.position && x.insert == y.insert &&
                                       x.rowB == y.rowB;
                            }),
                moves.end());
    for (const Move& m : moves) {
        if (m.insert) {
            a.InsertRow(m.position);
            b.RowCells(m.rowB, cells);
            cells.resize(std::size_t(a.ColumnCount()));
            cells[std::size_t(kColModif)] = "X";
            a.SetRowCells(m.position, cells);
        } else {
            a.RemoveRow(m.position);
        }
        ++taken;
    }
    a.Renumber();
    a.RecountFlags();
    return taken;
}

} // namespace orvane
