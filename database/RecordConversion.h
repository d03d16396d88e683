// The conversions between a record's bytes and a table row's text cells,
// shared by the DBD reader and writer, the DEX import and export and the
// in-place record write.
#pragma once

#include "database/Headers.h"
#include "database/Template.h"
#include "platform/UserInteraction.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace orvane {

using RecordBuffer = std::array<unsigned char, kMaxRecordSize>;

// --- Record -> cells ---------------------------------------------------------

// What a D value that cannot be formatted (NaN, infinite) does.
enum class BadDoublePolicy {
    Warn,       // a warning "Erreur en ligne %d", the cell left as it was, go on
    FailRecord, // stop the record: a conversion error of the whole record
};

// Fills row `row` of the table from one record (a 512-byte buffer whose bytes
// beyond the record are zero): column 0 the row number, 2 "Suppr", 3 "Export",
// 4 + i the fields. Returns false when the record failed (FailRecord policy):
// the fields not yet filled stay as they were.
bool RecordToCells(const RecordBuffer& record, const std::vector<FieldDef>& fields,
                   RecordTable& table, int row, char decimalSeparator, BadDoublePolicy policy,
                   UserInteraction* ui);

// --- Cells -> record -----------------------------------------------------------

// How the cells of a row are written over a record's bytes.
struct RowConversion {
    bool signedIntegers = false; // I fields: signed 32-bit values only
    // Fields for which this returns true keep the record's bytes.
    std::function<bool(const FieldDef&)> skipField;
};

// Converts the row's flag cells (bytes 0 and 2) and field cells over the
// record's present bytes; bytes no converted field covers are left as they
// are. Every cell is converted before the record changes: on a
// ConversionError the record is as it was.
void ConvertRowInto(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                    char decimalSeparator, RecordBuffer& record, Lang lang,
                    const RowConversion& how = {});

// Builds the record of one row into a zeroed buffer. Throws ConversionError
// naming the row, the field title and the text for a cell that does not
// convert, or a text longer than its field.
void BuildRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                 char decimalSeparator, RecordBuffer& record, Lang lang = Lang::English);

// Cell readers shared by the writers (throw ConversionError with the message
// built by the caller's context).
bool ParseCellInt64(std::string_view text, std::int64_t& value);
bool ParseCellDouble(std::string_view text, char decimalSeparator, double& value);

} // namespace orvane
