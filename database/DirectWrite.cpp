#include "database/DirectWrite.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <thread>

namespace orvane {

namespace {

const std::string kDatabasePrefix = "DATABASE\\";

} // namespace

std::int64_t RecordPosition(std::int64_t entryOffset, int row, int recordSize) {
    return entryOffset + static_cast<std::int64_t>(DbdHeader::kSize) +
           static_cast<std::int64_t>(row - 1) * recordSize;
}

bool IsProtectedField(const FieldDef& field) {
    for (const char* part : {"key", "ica", "lat", "lon", "apt"})
        if (field.Name.find(part) != std::string::npos) return true;
    return false;
}

bool IsProtectedFieldAt(const std::vector<FieldDef>& fields, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < fields.size() &&
           IsProtectedField(fields[static_cast<std::size_t>(index)]);
}

void MergeRowIntoRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                        char decimalSeparator, RecordBuffer& record, Lang lang) {
    // Protected fields keep the archive's bytes; integers must fit a signed
    // 32-bit value here.
    RowConversion how;
    how.signedIntegers = true;
    how.skipField = IsProtectedField;
    ConvertRowInto(table, row, fields, decimalSeparator, record, lang, how);
}

void WriteRecordInPlace(BinaryFile& file, const RecordTable& table, int row,
                        const std::vector<FieldDef>& fields, int recordSize, char decimalSeparator,
                        Lang lang) {
    if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
        throw FormatError(txt::BadRecordSize, file.Path().c_str(), recordSize, kMinRecordSize,
                          kMaxRecordSize);
    const std::uint64_t position = file.Position();
    RecordBuffer record{};
    file.ReadExact(record.data(), static_cast<std::size_t>(recordSize));
    MergeRowIntoRecord(table, row, fields, decimalSeparator, record, lang);
    file.Seek(position);
    file.Write(record.data(), static_cast<std::size_t>(recordSize));
    file.Flush();
}

namespace {

// The archive's write lock, held for one write: a writer that holds it is
// waited for a little while, polling, then the archive is busy.
class ArchiveWriteLock {
  public:
    ArchiveWriteLock(ArchiveFile& pod, std::chrono::milliseconds wait) : file_(pod.File()) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (!(held_ = file_.TryLockForWrite())) {
            // A file system without locks (ENOLCK, EINVAL...) has no writer
            // to wait for: the write goes on, checked as ever.
            if (errno != EAGAIN && errno != EACCES) return;
            if (std::chrono::steady_clock::now() >= deadline)
                throw RefusedError(txt::ArchiveBusy, pod.Path());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~ArchiveWriteLock() {
        if (held_) file_.Unlock();
    }
    ArchiveWriteLock(const ArchiveWriteLock&) = delete;
    ArchiveWriteLock& operator=(const ArchiveWriteLock&) = delete;

  private:
    BinaryFile& file_;
    bool held_ = false;
};

} // namespace

DirectWriteOutcome WriteCurrentRow(SessionState& s, int row, UserInteraction& ui,
                                   std::chrono::milliseconds lockWait) {
    const Lang lang = s.Language_();
    if (!s.CurrentPod) throw RefusedError(txt::NoTableLoaded);
    ArchiveFile& pod = *s.CurrentPod;
    // A table loaded from disk or from an exchange file has no archive file
    // open to write into.
    if (!pod.IsOpen() || pod.Kind() == ArchiveKind::None)
        throw RefusedError(txt::ArchiveNotOpenForWrite);
    pod.SetInteraction(&ui);

    const std::string name = kDatabasePrefix + s.DataType + ".DBD";
    if (pod.Kind() == ArchiveKind::Epd) {
        // Fly! 1 archives are never written; the header is only read again.
        pod.ReadDbdHeader(name);
        return DirectWriteOutcome::NotWritten;
    }

    // Nothing is written into a file that is not the one the table came
    // from; no other writer writes while this one reads and writes.
    if (pod.IsReadOnly()) throw RefusedError(txt::ArchiveReadOnly, pod.Path().c_str());
    const ArchiveWriteLock lock(pod, lockWait);
    pod.CheckUnchanged(name);

    const std::int64_t entryOffset = pod.ReadDbdHeader(name);
    if (entryOffset < 0) {
        // Silent in the archive reader for POD; say why nothing was written.
        ui.Show(MessageKind::Warning, MessageOf(txt::EntryNotFound, Cp1252ToUtf8(name)));
        return DirectWriteOutcome::NotWritten;
    }
    const int recordSize = pod.Dbd.RecordSize();
    const int recordCount = pod.Dbd.RecordCount();
    if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
        throw FormatError(txt::BadRecordSize, Cp1252ToUtf8(name).c_str(), recordSize,
                          kMinRecordSize, kMaxRecordSize);
    // Only rows 1 ... RecordCount have a record; a row the table does not hold
    // has no cells to write.
    const int lastRow = std::min(recordCount, s.Table.RowCount() - 1);
    if (row < 1 || row > lastRow)
        throw RefusedError(txt::RowWithoutRecord, row, std::max(lastRow, 0));

    const ArchiveEntry& entry = pod.Entries()[static_cast<std::size_t>(pod.FindEntry(name))];
    const std::int64_t position = RecordPosition(entryOffset, row, recordSize);
    const std::int64_t entryEnd = std::int64_t(entry.offset) + entry.size;
    if (position + recordSize > entryEnd ||
        static_cast<std::uint64_t>(position + recordSize) > pod.File().Size())
        throw FormatError(txt::RecordOutsideEntry, row, static_cast<long long>(position));

    pod.MarkWritten();
    pod.File().Seek(static_cast<std::uint64_t>(position));
    WriteRecordInPlace(pod.File(), s.Table, row, pod.Fields, recordSize, s.DecimalSeparator(),
                       lang);
    // The archive as written here is the one the table now stands for; any
    // other writer that opened it before sees that it changed, even when the
    // write came within the clock's resolution.
    pod.MarkChangedByWrite();
    return DirectWriteOutcome::Written;
}

void EnterDirectWriteMode(const SessionState& s, EditMode& mode) {
    if (s.SimulatorVersion == 1) throw RefusedError(txt::Fly2Only);
    mode = EditMode::DirectWrite;
}

} // namespace orvane
