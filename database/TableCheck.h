// The check of a table before it is saved: per row and field, what the
// simulator would choke on or a save would refuse, and the key column's
// empty and repeated values.
#pragma once

#include "database/Template.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

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

// Every finding, in row order, then column order.
std::vector<Finding> CheckTable(const RecordTable& table, const std::vector<FieldDef>& fields,
                                std::string_view dataType, char decimalSeparator);

// One line of the list: row, field title, what is wrong, the cell's text (UTF-8).
std::string FindingText(const Finding& finding, const RecordTable& table,
                        const std::vector<FieldDef>& fields, char decimalSeparator, Lang lang);

} // namespace orvane
