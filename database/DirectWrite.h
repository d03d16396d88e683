// The direct write of Fly! II: one edited row written back over its record
// inside the POD archive the table was loaded from, and nothing else. Row n
// of the table is record n of the archive's DBD entry, so the commands that
// change the number or order of rows are out of reach while the mode is on.
#pragma once

#include "database/DbdFile.h"
#include "database/SessionState.h"
#include "platform/BinaryFile.h"
#include "platform/UserInteraction.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace orvane {

// Where row `row`'s record lies in the archive: the DBD entry's offset, its
// 56-byte header, then the records before it.
std::int64_t RecordPosition(std::int64_t entryOffset, int row, int recordSize);

// Fields the direct write never writes: their Name holds "key", "ica",
// "lat", "lon" or "apt" (letter case counts).
bool IsProtectedField(const FieldDef& field);
// The same for the field at an index of a template (false outside it).
bool IsProtectedFieldAt(const std::vector<FieldDef>& fields, int index);

// Converts row `row` over a record's current bytes: byte 0 from "Suppr",
// byte 2 from "Export" (bytes 1 and 3 kept), every converted field that is
// not protected; other bytes keep their values. I cells must be signed
// 32-bit. Throws ConversionError (row, field, text); the record is then
// unchanged.
void MergeRowIntoRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                        char decimalSeparator, RecordBuffer& record, Lang lang = Lang::English);

// The file positioned on the row's record: reads its recordSize bytes,
// converts every cell, then writes exactly recordSize bytes back at the same
// place in one write. A conversion error writes nothing.
void WriteRecordInPlace(BinaryFile& file, const RecordTable& table, int row,
                        const std::vector<FieldDef>& fields, int recordSize, char decimalSeparator,
                        Lang lang = Lang::English);

enum class DirectWriteOutcome {
    Written,    // the record was written
    NotWritten, // an EPD archive, or the DBD entry is missing (after its warning)
};

// "Enregistrer la ligne n° ? dans le POD": writes table row `row` into the
// archive held open by CurrentPod. EPD: the DBD header is read again (the
// archive's warning when missing) and nothing is written. POD: the DBD header
// is reloaded, the row's record is written in place.
// Throws RefusedError for no table, a table whose archive is not open (loaded
// from disk or an exchange file), an archive opened read-only or a row
// outside 1 ... RecordCount, an archive another writer holds locked for
// longer than lockWait (ArchiveBusy) or one that is no longer the file loaded
// (ArchiveChanged: replaced, rewritten, its entry moved);
// ConversionError for a cell that does not convert; FileError / FormatError
// for the archive. The archive is locked for the write alone, never while it
// is merely open.
inline constexpr std::chrono::milliseconds kArchiveLockWait{2000};
DirectWriteOutcome WriteCurrentRow(SessionState& s, int row, UserInteraction& ui,
                                   std::chrono::milliseconds lockWait = kArchiveLockWait);

// --- Editing modes --------------------------------------------------------------

// The first step of opening a table for direct write. SimulatorVersion 1: a RefusedError
// "Fly! 2 seulement" / "Fly! 2 only" (the mode is unchanged); otherwise the
// mode becomes DirectWrite (the window then runs the archive open, whose
// cancel leaves the mode on).
void EnterDirectWriteMode(const SessionState& s, EditMode& mode);

} // namespace orvane
