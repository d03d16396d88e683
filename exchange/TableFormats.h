// The file formats a table is read from and written to, in one table: each
// format's extensions, its file-dialog filters, whether reading it needs a
// template from elsewhere, its reader, import and writer, and where the
// editor offers it. Whoever chooses a format by a file's name (the
// command-line tool, the editor's open, export and compare, the files named
// on its command line) asks here; a new format is one row.
#pragma once

#include "database/SessionState.h"
#include "exchange/DexFile.h"
#include "platform/Progress.h"
#include "platform/UserInteraction.h"
#include "settings/Texts.h"

#include <span>
#include <string>
#include <string_view>

namespace orvane {

enum class TableFormatId { Dbd, Archive, Template, Dex, Csv, GeoJson, Kml };

// Where the editor offers a format's exports: a menu of its own (with its
// open and add), the shared menu of the other export formats, or nowhere.
enum class ExportMenu { None, Own, Shared };

// What a reader did: the session holds the file's table when `loaded`.
struct TableRead {
    bool loaded = false;
    bool converted = false; // Fly! 1 data were converted into a Fly! 2 table
};

// Opens a file as the session's new table. templateSource: an archive or a
// .dbt file; empty: the file's own archive, or the data type's archive for
// the current version.
using TableReadFn = TableRead (*)(SessionState& s, const std::string& path,
                                  const std::string& templateSource, UserInteraction& ui,
                                  BusyIndicator* busy, const ProgressFn& progress);
// Opens a file as the session's new table or adds its rows below the
// table's (an exchange file's import).
using TableImportFn = ImportOutcome (*)(SessionState& s, const std::string& path, ImportMode mode,
                                        UserInteraction& ui, BusyIndicator* busy,
                                        const std::string& templateSource,
                                        const ProgressFn& progress);
// Writes all rows or the rows selected for export; returns the rows written
// (0: nothing was written).
using TableWriteFn = int (*)(SessionState& s, const std::string& path, bool selectionOnly,
                             UserInteraction& ui, BusyIndicator* busy, const ProgressFn& progress);

struct TableFormat {
    TableFormatId id;
    std::string_view name;       // as users know it: "DEX", "GeoJSON"
    std::string_view extensions; // lower case with their dots, ";"-separated: ".pod;.epd"
    const BiText* openFilter;    // file-dialog filter to choose a file to read (nullptr: none)
    // The file-dialog filter to choose a file to write; nullptr: the one
    // built from the name and extensions (SaveFilter).
    const BiText* saveFilter;
    bool needsTemplate;    // reading needs a template from elsewhere
    TableReadFn read;      // nullptr: not readable as a table
    TableImportFn import;  // nullptr: cannot be added below a table's rows
    TableWriteFn write;    // nullptr: not writable
    ExportMenu exportMenu; // where the editor offers its exports
    bool writesEmptyTable; // a table without rows still gives a file
    // The data type the file says it holds, read without a template ("" when
    // it cannot tell; its reader then says what is wrong).
    std::string (*dataTypeOf)(const std::string& path);

    // The first extension, without its dot ("pod"): a file dialog's default.
    std::string DefaultSuffix() const;
    // The save dialog's filter in lang.
    std::string SaveFilter(Lang lang) const;
};

std::span<const TableFormat> TableFormats();
const TableFormat& FormatById(TableFormatId id);
// The format of a file by its extension, whatever its letter case; nullptr
// when no format has it.
const TableFormat* FormatOfPath(const std::string& path);

// True when path has one of the format's extensions.
bool IsFormat(const std::string& path, TableFormatId id);

// The extensions of every readable format as a filter's patterns:
// "*.dbd;*.pod;*.epd;*.dex;*.csv".
std::string ReadablePatterns();
// The extensions of every readable or writable format, for a sentence:
// ".dbd, .dex, .csv or .geojson".
std::string ReadableExtensions();
std::string WritableExtensions();
// The data type a file says it holds (see TableFormat::dataTypeOf); "" for a
// file of no known format.
std::string DataTypeOfTableFile(const std::string& path);

} // namespace orvane
