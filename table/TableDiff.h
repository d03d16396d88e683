// Two tables of the same data type compared record by record: rows are
// matched by a key column (or by their row number), and every field cell of
// a matched pair is compared by value (numbers as numbers, texts by their
// bytes). The flag columns are the editor's own marks and are left out.
//
// The differences also come as one ordered list (what a panel walks
// through), and the other table's side of any of them can be taken into the
// first one.
#pragma once

#include "table/RecordTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr int kKeyRowNumber = -1;

// How the cells of a column compare.
enum class ValueKind : std::uint8_t {
    Text,    // by their bytes
    Decimal, // as numbers: "8565.8400" equals "8565.84"
    Whole,   // as whole numbers: "007" equals "7"
};

struct CompareRule {
    int keyColumn = kKeyRowNumber;
    std::vector<ValueKind> kinds; // per table column; columns beyond it: Text
    char decimalSeparator = '.';
};

// Two cells hold the same value: equal texts, or texts that both read as
// numbers of the kind and are equal as numbers.
bool SameValue(std::string_view x, std::string_view y, ValueKind kind, char decimalSeparator);

struct CellDifference {
    int column;
    std::string before, after; // as the tables hold them (8-bit)
};

struct RowDifference {
    int rowA, rowB;
    std::vector<CellDifference> cells;
};

struct TableDifference {
    int keyColumn = kKeyRowNumber;
    std::vector<int> onlyInA;           // rows of A, in A's order
    std::vector<int> onlyInB;           // rows of B, in B's order
    std::vector<RowDifference> changed; // in A's order
    std::vector<int> rowInA;            // per row of B, the row of A it matched (0: none)
    // Of the rows only on one side, those whose key another row of the same
    // table holds too (a repeated key rather than a record of its own).
    std::vector<int> repeatedInA, repeatedInB;
    bool Equal() const { return onlyInA.empty() && onlyInB.empty() && changed.empty(); }
};

// The default key: the field whose heading names a unique key ("unique"),
// else the ICAO code ("ICAO", "OACI"), else kKeyRowNumber.
int DefaultKeyColumn(const RecordTable& table);

// Rows whose key repeats are matched in their order of appearance (the
// second "LFPG" of A with the second of B). The tables should have the same
// columns; cells beyond the narrower one compare as empty.
TableDifference CompareTables(const RecordTable& a, const RecordTable& b, const CompareRule& rule);
// Every cell by its bytes.
TableDifference CompareTables(const RecordTable& a, const RecordTable& b, int keyColumn);

// --- The list of differences ---------------------------------------------

enum class DifferenceKind : std::uint8_t {
    Changed,   // a row of both tables whose fields differ
    OnlyHere,  // a row of A that B lacks
    OnlyThere, // a row of B that A lacks
};

struct DifferenceEntry {
    DifferenceKind kind = DifferenceKind::Changed;
    int rowA = 0; // 0 for OnlyThere
    int rowB = 0; // 0 for OnlyHere
    // The row of A the entry leads to: its own, or for a row only in B the
    // row of A after which it would stand (0: before the first).
    int at = 0;
    int changed = -1; // Changed: its index in TableDifference::changed
};

// Every difference in the order of A's rows; a row only in B comes right
// after the row it follows in B.
std::vector<DifferenceEntry> ListDifferences(const TableDifference& d);

// The name of a row besides its key: its first text field, and the field
// whose title names a name ("name", "nom"), else the next text fields (two
// in all), separated by two blanks (8-bit; "" when all are empty).
std::string RowName(const RecordTable& table, int row, const CompareRule& rule);
// A row as a person knows it: its key and its name; the name alone when
// the key is no text a person reads (not the first text field), the row
// number when rows match by position and it has no name.
std::string RowLabel(const RecordTable& table, int row, const CompareRule& rule);

// --- Taking the other side -----------------------------------------------

struct MergeTake {
    std::size_t entry = 0; // index in the list
    int column = -1;       // a changed field, or -1 for the whole row
};

// Takes B's side of the chosen entries into A: changed fields (one, or every
// one of the row), rows only in B inserted where the list places them
// (marked "X" in "Modif"), rows only in A removed. The rows are renumbered
// and the flag counters recounted when rows came or went. Returns the
// number of cells and rows taken.
int TakeOtherSide(RecordTable& a, const RecordTable& b, const TableDifference& d,
                  const std::vector<DifferenceEntry>& list, const std::vector<MergeTake>& takes);

} // namespace orvane
