// What every save and export of the table shares: the refusal without a
// table, the rows taken (all, or the rows selected for export), the
// temporary file renamed into place only when every row was written, the
// row loop with its progress, and the last word of the file (a header
// rewritten with the record count, a closing bracket). A format supplies
// only its encoder:
//
//   struct Encoder {
//       void Begin(BinaryFile& file);          // what precedes the rows
//       void Row(BinaryFile& file, int row);   // one table row
//       void End(BinaryFile& file, int count); // after the last row
//       void Committed();                      // the file is in place
//   };
//
// The encoder is a template argument: the row loop calls it directly, with
// no virtual call per row or cell.
#pragma once

#include "database/Headers.h"
#include "database/RecordConversion.h"
#include "database/SessionState.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Progress.h"
#include "platform/UserInteraction.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvane {

// Rows are gathered and written in blocks of about this size.
inline constexpr std::size_t kTableWriteBlock = 1 << 20;

// The bytes of the rows, gathered in memory and written a block at a time.
// Each block written starts for the disk at once, so that the disk works
// while the next rows are encoded and the final sync finds little left.
class RowBlock {
  public:
    // Room for n more bytes (a row, with the spill of its fixed-size copies);
    // returns where they go.
    char* Reserve(std::size_t n) {
        if (bytes_.size() < used_ + n) bytes_.resize(std::max(used_ + n, kTableWriteBlock + 4096));
        return bytes_.data() + used_;
    }
    // The bytes up to end are written; a full block goes to the file.
    void Advance(BinaryFile& file, const char* end) {
        used_ = static_cast<std::size_t>(end - bytes_.data());
        if (used_ >= kTableWriteBlock) Flush(file);
    }
    void Flush(BinaryFile& file) {
        if (used_) file.Write(bytes_.data(), used_);
        used_ = 0;
        file.StartWriteback();
    }

  private:
    std::vector<char> bytes_;
    std::size_t used_ = 0;
};

// Where and how a table is written.
struct TableWrite {
    const std::string& path;
    bool selectionOnly = false;
    UserInteraction& ui;
    BusyIndicator* busy = nullptr;
    const ProgressFn& progress;
};

// How a format treats a write with no row to take.
struct EmptyWrite {
    const BiText* noSelection; // the refusal of a selection write that finds no selected row
    bool skipsEmptyTable;      // a table without data rows writes no file either
};

// The table the write takes its rows from; throws RefusedError when no table
// is loaded.
const RecordTable& TableToWrite(const SessionState& s);

// True when the write has rows to take, or writes an empty table all the
// same; false when an empty table makes no file. A selection write without a
// selected row throws RefusedError. Either way an earlier file of that name
// stays.
bool HasRowsToWrite(const RecordTable& t, const TableWrite& w, const EmptyWrite& empty);

// Writes the table through encoder; returns the number of rows written.
template <class Encoder>
int WriteTableFile(const SessionState& s, const TableWrite& w, const EmptyWrite& empty,
                   Encoder& encoder) {
    BusyScope scope(w.busy);
    const Lang lang = s.Language_();
    const RecordTable& t = TableToWrite(s);
    if (!HasRowsToWrite(t, w, empty)) return 0;

    AtomicFile out(w.path, txt::ReadOnlyTarget.In(lang));
    BinaryFile& file = out.File();
    encoder.Begin(file);
    int written = 0;
    ProgressSteps steps(w.progress, t.RowCount() - 1);
    for (int r = 1; r < t.RowCount(); ++r) {
        steps.At(r);
        if (w.selectionOnly && !IsSelectedForExport(t.Cell(kColExport, r))) continue;
        encoder.Row(file, r);
        ++written;
    }
    encoder.End(file, written);
    out.Commit();
    encoder.Committed();
    return written;
}

// The encoder of the record files (DBD, DEX): a header, rewritten after the
// rows with their count (and, in a DBD, the time the rows were written),
// then each row as a record of recordSize bytes laid out by the template.
// Once the file is in place the header is kept in `held`.
template <class Header> class RecordFileEncoder {
  public:
    // Throws FormatError when recordSize is outside 4..512 bytes.
    RecordFileEncoder(const SessionState& s, const std::string& path, Header header, int recordSize,
                      Header& held)
        : table_(s.Table), encoder_(s.Fields(), s.DecimalSeparator(), s.Language_()),
          header_(header), held_(held), size_(static_cast<std::size_t>(recordSize)),
          utcOffsetSeconds_(s.Display.utcOffsetSeconds) {
        if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
            throw FormatError(txt::BadRecordSize, path.c_str(), recordSize, kMinRecordSize,
                              kMaxRecordSize);
        header_.SetRecordSize(recordSize);
    }
    void Begin(BinaryFile& file) { file.Write(header_.bytes.data(), Header::kSize); }
    // Each record is built in place in the block; its fields may reach past
    // its size, so it gets the room of a whole buffer.
    void Row(BinaryFile& file, int row) {
        char* at = block_.Reserve(kMaxRecordSize);
        encoder_.BuildAt(table_, row, reinterpret_cast<unsigned char*>(at), size_);
        block_.Advance(file, at + size_);
    }
    void End(BinaryFile& file, int count) {
        block_.Flush(file);
        header_.SetRecordCount(count);
        if constexpr (requires { header_.SetStamp(0); })
            header_.SetStamp(DateCode(utcOffsetSeconds_));
        file.Seek(0);
        file.Write(header_.bytes.data(), Header::kSize);
    }
    void Committed() { held_ = header_; }

  private:
    const RecordTable& table_;
    RecordEncoder encoder_;
    RowBlock block_;
    Header header_;
    Header& held_;
    std::size_t size_;
    long utcOffsetSeconds_;
};

} // namespace orvane
