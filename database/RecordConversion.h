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

// RecordToCells for many records of one field list: where each field lies in
// a record is worked out once, and the row's texts are written once, straight
// into the row's storage.
class RecordDecoder {
  public:
    RecordDecoder(const std::vector<FieldDef>& fields, char decimalSeparator,
                  BadDoublePolicy policy, UserInteraction* ui);
    bool Decode(const RecordBuffer& record, RecordTable& table, int row);
    // The rows decoded so far that are marked for export ("1") or deletion ("x").
    std::int32_t Selected() const { return selected_; }
    std::int32_t Deleted() const { return deleted_; }

  private:
    enum class Kind : std::uint8_t { Keep, Byte, Text, Double, Integer };
    struct Step {
        Kind kind;
        std::uint16_t offset, width;
    };
    // Appends a cell of the row as the table holds it; returns the new end.
    char* Keep(char* p, const RecordTable& table, int col, int row);

    std::vector<Step> steps_;
    char decimalSeparator_;
    BadDoublePolicy policy_;
    UserInteraction* ui_;
    // Room for every field's longest text, and where each cell ends.
    std::size_t room_ = 0;
    std::vector<std::uint32_t> ends_;
    std::int32_t selected_ = 0, deleted_ = 0;
};

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

// Why a cell would not be written as it stands.
enum class CellFault : std::uint8_t {
    None,
    NotNumber,      // a D cell that is not a number
    NotWholeNumber, // an I, one-byte C or Export cell that is not a whole number
    NotSigned32,    // an I cell beyond signed 32 bits where only those are taken
    TooLong,        // a C text longer than its field
    ByteRange,      // a one-byte C value outside 0-255 (a save keeps its low 8 bits)
};
struct CellFinding {
    int column = 0; // table column
    CellFault fault = CellFault::None;
};

// ConvertRowInto and BuildRecord for many rows of one field list: where each
// field lies is worked out once, and a row's cells are read in one pass.
class RecordEncoder {
  public:
    RecordEncoder(const std::vector<FieldDef>& fields, char decimalSeparator, Lang lang,
                  RowConversion how = {});
    // BuildRecord: the row's record in a zeroed buffer.
    void Build(const RecordTable& table, int row, RecordBuffer& record);
    // The same straight into out, whose first size bytes are zeroed first;
    // out has room for kMaxRecordSize bytes, and fields past size may write
    // the bytes beyond it.
    void BuildAt(const RecordTable& table, int row, unsigned char* out, std::size_t size);
    // ConvertRowInto: over the record's bytes, which change only when every
    // cell converted.
    void ConvertInto(const RecordTable& table, int row, RecordBuffer& record);
    // Every cell of the row a save would refuse or change, without throwing.
    void Faults(const RecordTable& table, int row, std::vector<CellFinding>& out);

  private:
    enum class Kind : std::uint8_t { Byte, Text, Double, Integer };
    struct Step {
        Kind kind;
        std::uint16_t offset, width;
        std::uint32_t field;
    };
    void Write(const RecordTable& table, int row, unsigned char* out);
    // One field's conversion into p; ByteRange still writes the low 8 bits.
    CellFault Convert(const Step& step, std::string_view text, unsigned char* p) const;
    // True when the text is in a form that plainly converts without fault
    // (as decoded records hold them); false leaves it to Convert.
    bool Plain(const Step& step, std::string_view text) const;
    // Convert for the cells in the forms decoded records hold (texts that
    // fit, digits-only whole numbers), with the very same bytes; false
    // leaves the cell to Convert.
    static bool FastConvert(const Step& step, std::string_view text, unsigned char* p,
                            char separator, bool signedIntegers);

    const std::vector<FieldDef>& fields_;
    char decimalSeparator_;
    Lang lang_;
    RowConversion how_;
    std::vector<Step> steps_;
    std::vector<std::uint32_t> ends_; // where each cell of a row ends
};

// Builds the record of one row into a zeroed buffer. Throws ConversionError
// naming the row, the field title and the text for a cell that does not
// convert, or a text longer than its field.
void BuildRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                 char decimalSeparator, RecordBuffer& record, Lang lang = Lang::English);

// Cell readers shared by the writers (throw ConversionError with the message
// built by the caller's context).
bool ParseCellInt64(std::string_view text, std::int64_t& value);
// A cell without its leading and trailing blanks and tabs, as the readers
// above take it.
std::string_view TrimCell(std::string_view text);
bool ParseCellDouble(std::string_view text, char decimalSeparator, double& value);

} // namespace orvane
