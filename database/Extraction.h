// The archive viewer's logic: the rows of the entry list and the extraction
// of chosen entries into a folder, flat or recreating the entries' folders.
#pragma once

#include "database/Archive.h"
#include "platform/LocaleInfo.h"
#include "platform/Progress.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane {

struct EntryRow {
    std::string mark;   // "x" when marked
    std::string name;   // full name, DATABASE\AIRPORT.DBT
    std::string folder; // up to and including the last '\' ("" when none)
    std::string size;   // "%d"
    std::string date;   // DateDecode of the entry's stamp
};

std::vector<EntryRow> EntryRows(const ArchiveFile& archive, const DisplayContext& context);
// "%s - %d fichiers pour %d octets" / "%s - %d files for %d bytes"
std::string EntryListStatus(const ArchiveFile& archive, const std::string& fileName, Lang lang);

// The output path of one entry under folder: folder + base name (flat), or
// folder + full name with '\' turned into the native separator (structure).
// Throws RefusedError for a name that would leave the folder ("..", a drive
// letter, a leading separator, an empty name).
std::string ExtractionPath(const std::string& folder, const std::string& entryName, bool structure);

// Extracts the chosen entries (indexes into the directory), in directory
// order, copying in blocks; each file is written through a temporary file.
// Every missing folder level is created. Nothing is written through a
// symbolic link below folder: a link at a file's place or at one of its
// folders is replaced by the file or a real folder (what it points to stays
// as it was). progress (bytes copied of the
// chosen entries' total) may be empty; returning false from it stops the
// extraction: the files already complete stay, the one being copied is
// removed. Returns the number of files written (entries that ended on the
// same path, flat, count once).
int ExtractEntries(ArchiveFile& archive, const std::vector<int>& entries, const std::string& folder,
                   bool structure, const ProgressFn& progress = {});

} // namespace orvane
