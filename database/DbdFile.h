// DBD files: the conversion of records into table cells and back, reading a
// DBD (from disk or out of an archive) into the table, and saving the table.
#pragma once

#include "database/SessionState.h"
#include "database/Template.h"
#include "platform/BinaryFile.h"
#include "platform/UserInteraction.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

using RecordBuffer = std::array<unsigned char, kMaxRecordSize>;

// Data type of a DBD tag ("aprt" -> "AIRPORT", ...); "" when unknown.
std::string DataTypeFromTag(const std::string& tag);
// The tag written into a header made for a data type ("" when unknown).
std::string TagForDataType(const std::string& dataType);

// A record size within 4-512 bytes and a record count that the available
// bytes hold; throws FormatError naming `what` otherwise.
void CheckRecordGeometry(const std::string& what, std::int32_t size, std::int32_t count,
                         std::uint64_t available, Lang lang);

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

// Reads count records of recordSize bytes from the file's current position
// into rows firstRow.. . A record that fails gives a beep; the load goes on.
void ReadRecords(BinaryFile& file, int firstRow, int count, int recordSize,
                 const std::vector<FieldDef>& fields, RecordTable& table, char decimalSeparator,
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

// Builds a row's record and appends its first recordSize bytes to the file.
void WriteRecord(BinaryFile& file, const RecordTable& table, int row,
                 const std::vector<FieldDef>& fields, int recordSize, char decimalSeparator,
                 Lang lang = Lang::English);

// Cell readers shared by the writers (throw ConversionError with the message
// built by the caller's context).
bool ParseCellInt64(std::string_view text, std::int64_t& value);
bool ParseCellDouble(std::string_view text, char decimalSeparator, double& value);

// The record size a table's header uses: the held DBD header's when it was
// read from a DBD, else the exchange header's, else the end of the last field.
int EffectiveRecordSize(const TPOD& pod);

// --- Loads ---------------------------------------------------------------------

struct LoadOutcome {
    bool loaded = false;         // the table was replaced
    std::string status;          // status panel 0 (UTF-8); empty when not loaded
    DefinitionPage definitions;  // the definitions page of the template read
    bool templateLoaded = false; // columns and definitions were replaced
};

// The archive of a data type for the current version: FlyDir + "system" +
// type + ".EPD" (version 1) or ".POD" (version 2), letter case resolved.
// "" for another version.
std::string ArchivePathFor(const SessionState& s, const std::string& dataType);

// Opens a DBD file from disk (the file the user chose). The template is read
// from templateSource: an archive (its DATABASE\<TYPE>.DBT entry) or a .dbt
// file; empty: the archive of the data type for the current version.
// Throws FileError / FormatError; the table is unchanged then.
LoadOutcome OpenDbdFromDisk(SessionState& s, const std::string& dbdPath,
                            const std::string& templateSource, UserInteraction& ui,
                            BusyIndicator* busy = nullptr);

// Opens the DBD entry of an archive; the data type is the archive's file name
// up to its first dot, in upper case. templateSource as above; empty: the
// archive itself. The archive file stays open in CurrentPod.
LoadOutcome OpenDbdFromArchive(SessionState& s, const std::string& archivePath,
                               const std::string& templateSource, UserInteraction& ui,
                               BusyIndicator* busy = nullptr);

// Reads a template from an archive or a .dbt file into pod.Fields (and
// EntryData). False when an archive has no such entry (after the archive's
// own warning for EPD). Throws on unreadable files and bad templates.
bool LoadTemplate(TPOD& pod, const std::string& source, const std::string& dataType,
                  UserInteraction& ui, Lang lang, TemplateInfo* info = nullptr);

// --- Save ------------------------------------------------------------------------

// Saves all rows, or the rows whose "Export" cell is "1", as a DBD file at
// path, through a temporary file renamed into place only when every row
// converted. Updates the held header's RecordCount and Stamp. Returns the
// number of records written.
int SaveDbd(SessionState& s, const std::string& path, bool selectionOnly,
            BusyIndicator* busy = nullptr);

} // namespace orvane
