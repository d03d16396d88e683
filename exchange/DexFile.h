// DEX files, the simulator's exchange format for one database table: a
// 40-byte header (name, record size, record count) followed by records laid
// out exactly as the template's records. Export writes the table (all rows or
// the selection); import opens a DEX as a new table or adds its records below
// the rows in memory.
#pragma once

#include "database/SessionState.h"
#include "database/Template.h"
#include "platform/Progress.h"
#include "platform/UserInteraction.h"

#include <string>

namespace orvane {

// How an exchange file comes into the table.
enum class ImportMode {
    Open, // the file replaces the table; its template is loaded
    Add,  // the file's rows go below the rows in memory (same data type)
};

// What a window needs after an import.
struct ImportOutcome {
    bool tableChanged = false;   // rows were placed into the table
    bool templateLoaded = false; // columns and definitions were replaced (open mode)
    bool converted = false;      // Fly! 1 data were converted into a Fly! 2 table
    std::string status;          // status panel 0 (UTF-8); empty when no row was placed
    DefinitionPage definitions;  // valid when templateLoaded
    std::string selectLabel;     // "%d selected lines" with the recounted SelectedCount
    std::string deleteLabel;     // "%d lines to delete" with the recounted DeleteCount
};

// The simulator version of the data in a DEX, from its header: an AIRPORT
// record of 330 bytes or a RUNWAY record of 251 bytes is Fly! 1 data, any
// other size of these two types Fly! 2 data; other types are taken as data
// of the current version.
int DetectDexVersion(const DexHeader& header, int simulatorVersion);

// The data type a DEX says it holds: its header's Name up to the zero byte,
// upper case, cut before the first dot ("AIRPORT.DBD" -> "AIRPORT").
std::string DexDataType(const DexHeader& header);

// Writes all rows, or the rows whose "Export" cell is "1", as a DEX file at
// path, through a temporary file renamed into place only when every row
// converted (a conversion error leaves no file and any earlier file of that
// name as it was). An empty selection shows "No selected records" and writes
// nothing; a table without data rows writes nothing either. Updates the held
// DexHeader's Name and RecordCount. Returns the number of records written.
// progress (rows): a cancel throws Cancelled and writes nothing.
int ExportDex(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

// Reads the DEX file at path (the file chosen, whatever the letter case of
// its name). Open mode: the template is read from templateSource (an archive
// or a .dbt file) or, when empty, from FlyDir + "system" + type + ".EPD" or
// ".POD" as the data version and the simulator version decide; Fly! 1
// AIRPORT/RUNWAY data under Fly! 2 are converted after a question. Add mode:
// the records go below the rows in memory, decoded with the loaded template,
// when the file holds the table's data type. A damaged file (header too
// short, record size outside 4..512, a record count the file cannot hold)
// throws FormatError before anything changes. progress (records): a cancel
// throws Cancelled and leaves the table as it was.
ImportOutcome ImportDex(SessionState& s, const std::string& path, ImportMode mode,
                        UserInteraction& ui, BusyIndicator* busy = nullptr,
                        const std::string& templateSource = "", const ProgressFn& progress = {});

} // namespace orvane
