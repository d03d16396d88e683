// CSV files: the table as semicolon-separated Windows-1252 text that a
// spreadsheet opens, lines ended by CR LF. Line 1 is the data type, line 2
// the headings, every further line one row: Suppr;Export;field;field...
#pragma once

#include "database/SessionState.h"
#include "exchange/DexFile.h"
#include "platform/UserInteraction.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Writes all rows (no ";" after the last field) or the rows whose "Export"
// cell is "1" (a ";" after every field) as a CSV file at path, through a
// temporary file renamed into place when complete. An empty selection shows
// "No selected record" and writes nothing. Cell texts are written as they
// are; one holding ";", CR, LF or NUL, which the format cannot hold, throws
// RefusedError naming its row and field, and nothing is written. Returns the number of row lines
// written. progress (rows): a cancel throws Cancelled and writes nothing.
int ExportCsv(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

// Splits one row line into its pieces: Suppr, Export, then the field values.
// A line without ";" gives two empty pieces and the whole line; at most
// fieldCount + 5 pieces are made and the rest of the line is dropped.
std::vector<std::string_view> SplitCsvLine(std::string_view line, int fieldCount);
// The same into a vector the caller reuses from line to line.
void SplitCsvLine(std::string_view line, int fieldCount, std::vector<std::string_view>& pieces);

// Reads the CSV file at path (the file chosen, whatever the letter case of
// its name). Lines may end with CR LF or LF alone. Open mode (and add mode
// with no table loaded): the data type is line 1, the template is read from
// templateSource (an archive or a .dbt file) or, when empty, from the data
// type's archive for the current version; the rows replace the table. Add
// mode: the rows go below the rows in memory when line 1 is the table's
// data type. Cells that get no piece from a short line are empty.
// progress (lines): a cancel throws Cancelled and leaves the table as it was.
ImportOutcome ImportCsv(SessionState& s, const std::string& path, ImportMode mode,
                        UserInteraction& ui, BusyIndicator* busy = nullptr,
                        const std::string& templateSource = "", const ProgressFn& progress = {});

} // namespace orvane
