// diff: two tables of the same data type compared record by record.
#include "cli/CliSupport.h"
#include "database/DbdFile.h"
#include "exchange/TableFormats.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "table/TableDiff.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kDiffUsage =
    "Usage: orvane-cli diff A B [--key COLUMN] [--template SOURCE] [--decimal SEP] [--fly1]\n"
    "\n"
    "Loads A and B as 'show' does (the same data type) and prints the records\n"
    "only in A, only in B (with their key and name), the records whose key\n"
    "repeats in one table, and the records whose fields changed, each changed\n"
    "field with its old and new value. Numbers compare by value (\"12.50\" equals\n"
    "\"12.5\"), texts by their bytes. Exits 0 when the tables are equal, 1 when\n"
    "they differ, 2 on error.\n"
    "  --key COLUMN       the column matching the records: a column title or a\n"
    "                     template field name (letter case ignored), or 'row' for\n"
    "                     the row number (default: the field whose title names a\n"
    "                     unique key, else the ICAO code, else the row number)\n"
    "  --template, --decimal, --fly1  as for 'show' (the template serves both)\n";

int KeyColumn(const SessionState& s, const std::string& key) {
    if (key.empty()) return DefaultKeyColumn(s.Table);
    if (EqualsIgnoreCaseAscii(key, "row")) return kKeyRowNumber;
    return NamedColumn(s, key);
}

std::string Text(std::string_view cell) {
    return Cp1252ToUtf8(cell);
}

std::string TypeMismatch(const std::string& a, const std::string& b) {
    return "A holds " + Text(a) + " records and B " + Text(b) + " records: nothing to compare";
}

bool Contains(const std::vector<int>& rows, int row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

void Report(std::ostream& out, const SessionState& a, const SessionState& b,
            const TableDifference& d, const CompareRule& rule) {
    const RecordTable& ta = a.Table;
    const RecordTable& tb = b.Table;
    const auto key = [&](const RecordTable& t, int row) {
        return d.keyColumn == kKeyRowNumber ? "row " + std::to_string(row)
                                            : "\"" + Text(t.Cell(d.keyColumn, row)) + "\"";
    };
    // The key, then the name the row's first text fields give it.
    const auto named = [&](const RecordTable& t, int row) {
        const std::string name = Text(RowName(t, row, rule));
        return name.empty() ? key(t, row) : key(t, row) + " " + name;
    };
    // The other rows of the same table that hold a row's key.
    const auto others = [&](const RecordTable& t, int row) {
        std::string rows;
        for (int r = 1; r < t.RowCount(); ++r)
            if (r != row && t.Cell(d.keyColumn, r) == t.Cell(d.keyColumn, row))
                rows += (rows.empty() ? "" : ", ") + std::to_string(r);
        return rows;
    };
    out << "Key: "
        << (d.keyColumn == kKeyRowNumber ? std::string("row number")
                                         : Text(ta.Cell(d.keyColumn, 0)))
        << "\n";
    const auto only = [&](const char* side, char mark, const RecordTable& t,
                          const std::vector<int>& rows, const std::vector<int>& repeated) {
        if (rows.size() == repeated.size()) return;
        out << "\nOnly in " << side << " (" << rows.size() - repeated.size() << "):\n";
        for (int r : rows)
            if (!Contains(repeated, r))
                out << mark << " " << named(t, r) << " (" << side << " row " << r << ")\n";
    };
    only("A", '-', ta, d.onlyInA, d.repeatedInA);
    only("B", '+', tb, d.onlyInB, d.repeatedInB);
    const auto repeats = [&](const char* side, const RecordTable& t, const std::vector<int>& rows) {
        if (rows.empty()) return;
        out << "\nKey repeated in " << side << " (" << rows.size() << "):\n";
        for (int r : rows)
            out << "! " << named(t, r) << " (" << side << " row " << r << ", the key of " << side
                << " row " << others(t, r) << ")\n";
    };
    repeats("A", ta, d.repeatedInA);
    repeats("B", tb, d.repeatedInB);
    if (!d.changed.empty()) {
        out << "\nChanged (" << d.changed.size() << "):\n";
        for (const RowDifference& row : d.changed) {
            out << "~ " << named(ta, row.rowA) << " (A row " << row.rowA << ", B row " << row.rowB
                << ")\n";
            for (const CellDifference& cell : row.cells)
                out << "    " << Text(ta.Cell(cell.column, 0)) << ": \"" << Text(cell.before)
                    << "\" -> \"" << Text(cell.after) << "\"\n";
        }
    }
    const std::size_t repeated = d.repeatedInA.size() + d.repeatedInB.size();
    out << "\n"
        << (d.Equal() ? "Equal" : "Differ") << ": " << d.onlyInA.size() - d.repeatedInA.size()
        << " only in A, " << d.onlyInB.size() - d.repeatedInB.size() << " only in B, "
        << d.changed.size() << " changed, ";
    if (repeated) out << repeated << (repeated == 1 ? " repeated key, " : " repeated keys, ");
    out << ta.RowCount() - 1 << " rows in A, " << tb.RowCount() - 1 << " rows in B\n";
}

} // namespace

int RunDiff(const Args& given) {
    try {
        // --key is this command's own; the rest are the table options.
        Args args;
        std::string key;
        for (std::size_t i = 0; i < given.size(); ++i) {
            if (given[i] == "--key") {
                if (i + 1 >= given.size()) throw std::invalid_argument("--key needs a COLUMN");
                key = given[++i];
            } else {
                args.push_back(given[i]);
            }
        }
        TableOptions o = ParseTableOptions(args, false);
        if (o.help) {
            std::cout << kDiffUsage;
            return 0;
        }
        if (o.positional.size() != 2)
            throw std::invalid_argument(std::string("diff takes A and B\n") + kDiffUsage);
        // Files that tell their data type before any template is read are
        // checked first, so that two kinds of records never end in a
        // template error.
        const std::string typeA = DataTypeOfTableFile(o.positional[0]);
        const std::string typeB = DataTypeOfTableFile(o.positional[1]);
        if (!typeA.empty() && !typeB.empty() && typeA != typeB)
            throw std::invalid_argument(TypeMismatch(typeA, typeB));
        SessionState a, b;
        CliInteraction ui;
        LoadInput(a, ui, o, o.positional[0]);
        if (!typeB.empty() && a.DataType != typeB)
            throw std::invalid_argument(TypeMismatch(a.DataType, typeB));
        LoadInput(b, ui, o, o.positional[1]);
        if (a.DataType != b.DataType)
            throw std::invalid_argument(TypeMismatch(a.DataType, b.DataType));
        if (a.Table.ColumnCount() != b.Table.ColumnCount())
            throw std::invalid_argument("A and B do not have the same fields");
        const CompareRule rule = a.CompareRuleFor(KeyColumn(a, key));
        const TableDifference d = CompareTables(a.Table, b.Table, rule);
        std::ostringstream out;
        Report(out, a, b, d, rule);
        PrintBlock(out.str());
        return OutputWritten("the differences") ? (d.Equal() ? 0 : 1) : 2;
    } catch (const std::invalid_argument& e) {
        std::cerr << "orvane-cli: " << e.what() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "orvane-cli: error: " << ErrorText(e) << '\n';
    }
    return 2;
}

} // namespace orvane::cli
