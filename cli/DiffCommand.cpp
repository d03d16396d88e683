// diff: two tables of the same data type compared record by record.
#include "cli/CliSupport.h"
#include "platform/Cp1252.h"
#include "table/TableDiff.h"

#include <iostream>
#include <sstream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kDiffUsage =
    "Usage: orvane-cli diff A B [--key COLUMN] [--template SOURCE] [--decimal SEP] [--fly1]\n"
    "\n"
    "Loads A and B as 'show' does (the same data type) and prints the records\n"
    "only in A, only in B, and the records whose fields changed, each changed\n"
    "field with its old and new value. Exits 0 when the tables are equal, 1 when\n"
    "they differ, 2 on error.\n"
    "  --key COLUMN       the column matching the records: a column title or a\n"
    "                     template field name (letter case ignored), or 'row' for\n"
    "                     the row number (default: the field whose title names a\n"
    "                     unique key, else the ICAO code, else the row number)\n"
    "  --template, --decimal, --fly1  as for 'show' (the template serves both)\n";

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int KeyColumn(const SessionState& s, const std::string& key) {
    if (key.empty()) return DefaultKeyColumn(s.Table);
    if (Lower(key) == "row") return kKeyRowNumber;
    const auto& fields = s.Fields();
    for (int c = kFirstFieldColumn; c < s.Table.ColumnCount(); ++c) {
        const std::size_t f = std::size_t(c - kFirstFieldColumn);
        if (Lower(Cp1252ToUtf8(s.Table.Cell(c, 0))) == Lower(key) ||
            (f < fields.size() && Lower(fields[f].Name) == Lower(key)))
            return c;
    }
    throw std::invalid_argument("no column '" + key + "' in the table (see --help)");
}

std::string Text(std::string_view cell) {
    return Cp1252ToUtf8(cell);
}

void Report(std::ostream& out, const SessionState& a, const SessionState& b,
            const TableDifference& d) {
    const RecordTable& ta = a.Table;
    const RecordTable& tb = b.Table;
    const auto key = [&](const RecordTable& t, int row) {
        return d.keyColumn == kKeyRowNumber ? "row " + std::to_string(row)
                                            : "\"" + Text(t.Cell(d.keyColumn, row)) + "\"";
    };
    out << "Key: "
        << (d.keyColumn == kKeyRowNumber ? std::string("row number")
                                         : Text(ta.Cell(d.keyColumn, 0)))
        << "\n";
    if (!d.onlyInA.empty()) {
        out << "\nOnly in A (" << d.onlyInA.size() << "):\n";
        for (int r : d.onlyInA)
            out << "- " << key(ta, r) << " (A row " << r << ")\n";
    }
    if (!d.onlyInB.empty()) {
        out << "\nOnly in B (" << d.onlyInB.size() << "):\n";
        for (int r : d.onlyInB)
            out << "+ " << key(tb, r) << " (B row " << r << ")\n";
    }
    if (!d.changed.empty()) {
        out << "\nChanged (" << d.changed.size() << "):\n";
        for (const RowDifference& row : d.changed) {
            out << "~ " << key(ta, row.rowA) << " (A row " << row.rowA << ", B row " << row.rowB
                << ")\n";
            for (const CellDifference& cell : row.cells)
                out << "    " << Text(ta.Cell(cell.column, 0)) << ": \"" << Text(cell.before)
                    << "\" -> \"" << Text(cell.after) << "\"\n";
        }
    }
    out << "\n"
        << (d.Equal() ? "Equal" : "Differ") << ": " << d.onlyInA.size() << " only in A, "
        << d.onlyInB.size() << " only in B, " << d.changed.size() << " changed, "
        << ta.RowCount() - 1 << " rows in A, " << tb.RowCount() - 1 << " rows in B\n";
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
        SessionState a, b;
        CliInteraction ui;
        LoadInput(a, ui, o, o.positional[0]);
        LoadInput(b, ui, o, o.positional[1]);
        if (a.DataType != b.DataType)
            throw std::invalid_argument("A holds " + Text(a.DataType) + " records and B " +
                                        Text(b.DataType) + " records: nothing to compare");
        if (a.Table.ColumnCount() != b.Table.ColumnCount())
            throw std::invalid_argument("A and B do not have the same fields");
        const TableDifference d = CompareTables(a.Table, b.Table, KeyColumn(a, key));
        std::ostringstream out;
        Report(out, a, b, d);
        PrintBlock(out.str());
        return OutputWritten("the differences") ? (d.Equal() ? 0 : 1) : 2;
    } catch (const std::invalid_argument& e) {
        std::cerr << "orvane-cli: " << e.what() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "orvane-cli: error: " << e.what() << '\n';
    }
    return 2;
}

} // namespace orvane::cli
