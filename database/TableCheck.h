// The check of a table before it is saved: per row and field, what the
// simulator would choke on or a save would refuse, and the key column's
// empty and repeated values.
#pragma once

#include "database/RecordConversion.h"
#include "database/Template.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class FindingKind {
    NotNumber,      // a D cell that is not a number
    NotWholeNumber, // an I, one-byte C or Export cell that is not a whole number
    TooLong,        // a C text longer than its width
    ByteRange,      // a one-byte value outside 0-255
    LatitudeRange,  // beyond 90 degrees north or south
    LongitudeRange, // outside -180 to 360 degrees
    DuplicateKey,   // the key of an earlier row again
    EmptyKey,
    CsvUnwritable, // a text holding ";", CR, LF or NUL, which a CSV export refuses
};

struct Finding {
    int row = 0;    // table row
    int column = 0; // table column
    FindingKind kind = FindingKind::NotNumber;
    int firstRow = 0; // DuplicateKey: the row that holds the key first
};

// Where text holds the first character a CSV file cannot hold (";", CR, LF
// or NUL: the format has no quoting); npos when it holds none.
std::size_t CsvUnwritableAt(std::string_view text);
// How messages name such a character.
const BiText& CsvCharacterName(char c);

// The key column: the field whose title names a unique identifier, else,
// in airport data (one record per airport), the one naming the airport key,
// else the ICAO code. -1 when the table has none.
int KeyColumn(const std::vector<FieldDef>& fields, std::string_view dataType);

// The check kept up to date with a table: one full check, then only the
// rows whose cells changed are checked again. The key column's rows are
// indexed by key, so a changed key also updates the rows that shared its
// old or its new value.
class TableChecker {
  public:
    // Checks every row; the template, data type and separator stay until the next call.
    void CheckAll(const RecordTable& table, const std::vector<FieldDef>& fields,
                  std::string_view dataType, char decimalSeparator);
    // Checks table rows first..last again after their cells changed (rows
    // keep their numbers: an insert or a delete needs CheckAll).
    void RecheckRows(const RecordTable& table, int first, int last);
    // Every finding, in row order, then column order.
    const std::vector<Finding>& Findings() const { return findings_; }
    std::size_t Count() const { return findings_.size(); }

  private:
    // The rows that hold one key, in ascending order: the first apart, so
    // that a key held once (nearly all of them) needs no list. first is -1
    // for an entry no longer in use.
    struct KeyHolders {
        std::string key;
        int first = 0;
        std::vector<int> more;
    };
    // Appends the row's findings, in column order.
    void CheckRow(const RecordTable& table, int row, RecordEncoder& encoder,
                  std::vector<CellFinding>& faults, std::vector<Finding>& out) const;
    // Puts the findings of rows first..last in place of the ones they had.
    void ReplaceRows(int first, int last, const std::vector<Finding>& found);
    void Unindex(int row);
    void Index(int row, std::string_view key);
    // The entry of a key in holders_, -1 when no row holds it.
    int FindKey(std::string_view key, std::size_t hash) const;
    // Makes room for one more key in the slots.
    void GrowSlots();

    std::vector<FieldDef> fields_;
    std::string dataType_;
    char decimalSeparator_ = '.';
    int keyColumn_ = -1;
    std::vector<int> latitudes_, longitudes_;
    std::vector<Finding> findings_; // in row order, then column order
    // The key index: one entry per key held, and an open-addressing table
    // of slots naming them (kept flat: a full check indexes every row).
    std::vector<KeyHolders> holders_;
    std::vector<int> freeHolders_;
    struct Slot {
        int holder = -1; // -1 never used, -2 used before
        std::uint32_t hash = 0;
    };
    std::vector<Slot> slots_;   // a power of two, at most half of them used
    std::size_t usedSlots_ = 0; // in use or used before
    // Per table row, its trimmed key's entry in holders_; -1 when the key is empty.
    std::vector<int> keyOfRow_;
    mutable std::vector<std::uint32_t> rowEnds_; // scratch: where a row's cells end
};

// Every finding, in row order, then column order.
std::vector<Finding> CheckTable(const RecordTable& table, const std::vector<FieldDef>& fields,
                                std::string_view dataType, char decimalSeparator);

// One line of the list: row, field title, what is wrong, the cell's text (UTF-8).
std::string FindingText(const Finding& finding, const RecordTable& table,
                        const std::vector<FieldDef>& fields, char decimalSeparator, Lang lang);

} // namespace orvane
