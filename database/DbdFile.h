// DBD files: reading a DBD (from disk or out of an archive) into the table,
// and saving the table. The record <-> cell conversions are RecordConversion's.
#pragma once

#include "database/RecordConversion.h"
#include "database/SessionState.h"
#include "database/Template.h"
#include "platform/BinaryFile.h"
#include "platform/Progress.h"
#include "platform/UserInteraction.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

// Data type of a DBD tag ("aprt" -> "AIRPORT", ...); "" when unknown.
std::string DataTypeFromTag(const std::string& tag);
// The tag written into a header made for a data type ("" when unknown).
std::string TagForDataType(const std::string& dataType);

// A record size within 4-512 bytes and a record count that the available
// bytes hold; throws FormatError naming `what` otherwise.
void CheckRecordGeometry(const std::string& what, std::int32_t size, std::int32_t count,
                         std::uint64_t available);

// Reads count records of recordSize bytes from the file's current position
// into rows firstRow.. . A record that fails gives a beep; the load goes on.
// The marks of the records read are added to the table's counters (the rows
// filled are taken to have held none). progress (records): a cancel throws
// Cancelled.
void ReadRecords(BinaryFile& file, int firstRow, int count, int recordSize,
                 const std::vector<FieldDef>& fields, RecordTable& table, char decimalSeparator,
                 UserInteraction* ui, const ProgressFn& progress = {});

// Builds a row's record and appends its first recordSize bytes to the file.
void WriteRecord(BinaryFile& file, const RecordTable& table, int row,
                 const std::vector<FieldDef>& fields, int recordSize, char decimalSeparator,
                 Lang lang = Lang::English);

// The record size a table's header uses: the held DBD header's when it was
// read from a DBD, else the exchange header's, else the end of the last field.
int EffectiveRecordSize(const ArchiveFile& pod);

// --- Loads ---------------------------------------------------------------------

struct LoadOutcome {
    bool loaded = false;         // the table was replaced
    std::string status;          // status panel 0 (UTF-8); empty when not loaded
    DefinitionPage definitions;  // the definitions page of the template read
    bool templateLoaded = false; // columns and definitions were replaced
};

// The data type a file's name gives: the name up to its first dot, in upper
// case ("airport.pod" -> "AIRPORT").
std::string UpperDataTypeOf(const std::string& path);
// The entry an archive's table is read from: DATABASE\<TYPE>.DBD.
std::string TableEntryOf(const std::string& archivePath);

// The archive of a data type for the current version: FlyDir + "system" +
// type + ".EPD" (version 1) or ".POD" (version 2), letter case resolved.
// "" for another version.
std::string ArchivePathFor(const SessionState& s, const std::string& dataType);

// The data type a DBD file holds, found without its template: its header's
// tag. "" for an unreadable or unknown header.
std::string DataTypeOfDbdFile(const std::string& path);

// Opens a DBD file from disk (the file the user chose). The template is read
// from templateSource: an archive (its DATABASE\<TYPE>.DBT entry) or a .dbt
// file; empty: the archive of the data type for the current version.
// Throws FileError / FormatError; the table is unchanged then, as after a
// cancel through progress (records; Cancelled is thrown).
LoadOutcome OpenDbdFromDisk(SessionState& s, const std::string& dbdPath,
                            const std::string& templateSource, UserInteraction& ui,
                            BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

// Opens the DBD entry of an archive; the data type is the archive's file name
// up to its first dot, in upper case. templateSource as above; empty: the
// archive itself. The archive file stays open in CurrentPod. progress as above.
LoadOutcome OpenDbdFromArchive(SessionState& s, const std::string& archivePath,
                               const std::string& templateSource, UserInteraction& ui,
                               BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

// Reads a template from an archive or a .dbt file into pod.Fields (and
// EntryData). False when an archive has no such entry (after the archive's
// own warning for EPD). Throws on unreadable files and bad templates.
bool LoadTemplate(ArchiveFile& pod, const std::string& source, const std::string& dataType,
                  UserInteraction& ui, TemplateInfo* info = nullptr);

// --- Save ------------------------------------------------------------------------

// Saves all rows, or the rows selected for export, as a DBD file at path,
// through a temporary file renamed into place only when every row
// converted. An empty selection shows "No selected records" and writes
// nothing. Updates the held header's RecordCount and Stamp. Returns the
// number of records written. progress (rows): a cancel throws Cancelled and
// writes nothing.
int SaveDbd(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
            BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

} // namespace orvane
