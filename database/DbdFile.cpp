#include "database/DbdFile.h"

#include "database/TableWriter.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace orvane {

namespace {

const std::string kDatabasePrefix = "DATABASE\\";

struct TagRule {
    const char* tag;
    bool prefix;
    const char* type;
};
// Tested in this order; the tag text is compared exactly (or as a prefix).
constexpr TagRule kTagRules[] = {
    {"aprt", false, "AIRPORT"}, {"comm", false, "COMM"},   {"ils", true, "ILS"},
    {"naid", false, "NAVAID"},  {"navd", false, "NAVAID"}, {"rnwy", false, "RUNWAY"},
    {"rway", false, "RUNWAY"},
};

bool IsArchivePath(const std::string& path) {
    return ArchiveKindOf(path) != ArchiveKind::None;
}

} // namespace

std::string UpperDataTypeOf(const std::string& path) {
    std::string name = FileNameOf(path);
    return ToUpperAscii(name.substr(0, name.find('.')));
}

std::string TableEntryOf(const std::string& archivePath) {
    return kDatabasePrefix + UpperDataTypeOf(archivePath) + ".DBD";
}

void CheckRecordGeometry(const std::string& what, std::int32_t size, std::int32_t count,
                         std::uint64_t available) {
    if (size < kMinRecordSize || size > kMaxRecordSize)
        throw FormatError(txt::BadRecordSize, what.c_str(), size, kMinRecordSize, kMaxRecordSize);
    if (count < 0 ||
        static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(size) > available)
        throw FormatError(txt::BadRecordCount, what.c_str(), count, size);
}

std::string DataTypeFromTag(const std::string& tag) {
    for (const auto& rule : kTagRules) {
        if (rule.prefix ? tag.rfind(rule.tag, 0) == 0 : tag == rule.tag) return rule.type;
    }
    return {};
}

std::string TagForDataType(const std::string& dataType) {
    std::string type = ToUpperAscii(dataType);
    for (const auto& rule : kTagRules)
        if (type == rule.type) return rule.tag;
    return {};
}

void ReadRecords(BinaryFile& file, int firstRow, int count, int recordSize,
                 const std::vector<FieldDef>& fields, RecordTable& table, char decimalSeparator,
                 UserInteraction* ui, const ProgressFn& progress) {
    if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
        throw FormatError(txt::BadRecordSize, file.Path(), recordSize, kMinRecordSize,
                          kMaxRecordSize);
    if (table.RowCount() < firstRow + count) table.SetRowCount(firstRow + count);
    RecordDecoder decoder(fields, decimalSeparator, BadDoublePolicy::Warn, ui);
    RecordBuffer record{}; // the bytes past recordSize stay zero
    ProgressSteps steps(progress, count);
    for (int k = 0; k < count; ++k) {
        steps.At(k + 1);
        file.ReadExact(record.data(), static_cast<std::size_t>(recordSize));
        if (!decoder.Decode(record, table, firstRow + k) && ui) ui->Beep();
    }
    table.SelectedCount += decoder.Selected();
    table.DeleteCount += decoder.Deleted();
}

void WriteRecord(BinaryFile& file, const RecordTable& table, int row,
                 const std::vector<FieldDef>& fields, int recordSize, char decimalSeparator,
                 Lang lang) {
    RecordBuffer record;
    BuildRecord(table, row, fields, decimalSeparator, record, lang);
    file.Write(record.data(), static_cast<std::size_t>(recordSize));
}

int EffectiveRecordSize(const ArchiveFile& pod) {
    if (pod.Dbd.RecordSize() > 0) return pod.Dbd.RecordSize();
    if (pod.Dex.RecordSize() > 0) return pod.Dex.RecordSize();
    const std::int64_t end = std::max<std::int64_t>(kMinRecordSize, FieldsEnd(pod.Fields));
    return static_cast<int>(std::min<std::int64_t>(end, kMaxRecordSize));
}

// ---------------------------------------------------------------------------
// Loads

std::string ArchivePathFor(const SessionState& s, const std::string& dataType) {
    const char* ext = s.SimulatorVersion == 1 ? ".EPD" : s.SimulatorVersion == 2 ? ".POD" : nullptr;
    if (!ext) return {};
    std::string folder = JoinPath(s.FlyDir, "system");
    return ResolvePathCase(JoinPath(folder, dataType + ext));
}

bool LoadTemplate(ArchiveFile& pod, const std::string& source, const std::string& dataType,
                  UserInteraction& ui, TemplateInfo* info) {
    const std::string entry = kDatabasePrefix + dataType + ".DBT";
    if (IsArchivePath(source)) {
        if (source == pod.Path() && pod.Kind() != ArchiveKind::None) {
            if (!pod.ReadEntry(entry)) return false;
        } else {
            ArchiveFile other(source, &ui);
            if (!other.IsOpen()) throw FileError(txt::CannotOpenArchive, source.c_str());
            other.ReadHeader();
            other.ReadDirectory();
            if (!other.ReadEntry(entry)) return false;
            pod.EntryData = std::move(other.EntryData);
        }
    } else {
        pod.EntryData = ReadWholeFile(source);
    }
    TemplateInfo parsed = ParseTemplate(std::string_view(
        reinterpret_cast<const char*>(pod.EntryData.data()), pod.EntryData.size()));
    if (const auto overlap = FirstOverlap(parsed.Fields)) {
        const FieldDef& a = parsed.Fields[overlap->first];
        const FieldDef& b = parsed.Fields[overlap->second];
        // A name shorter than four characters is followed by its comma.
        const auto name = [](const FieldDef& f) {
            return Cp1252ToUtf8(f.Name.substr(0, f.Name.find(',')));
        };
        ui.Show(MessageKind::Warning,
                MessageOf(txt::TemplateOverlap, name(a), a.Offset, a.Offset + a.ByteWidth() - 1,
                          name(b), b.Offset, b.Offset + b.ByteWidth() - 1));
    }
    pod.Fields = parsed.Fields;
    if (info) *info = std::move(parsed);
    return true;
}

namespace {

// After a load: the shared steps that put the table, the session and the
// archive object in place (the session finishes the load once its summary
// is known).
void PutLoadInPlace(SessionState& s, std::unique_ptr<ArchiveFile> pod, const std::string& dataType,
                    const TemplateInfo& info, UserInteraction& ui) {
    s.DataType = dataType;
    s.FieldCount = info.FieldCount;
    pod->Dex.SetRecordSize(pod->Dbd.RecordSize());
    s.ReplaceArchive(std::move(pod), ui);
    RecordTable& t = s.Table;
    t.SetCurrentCell(kFirstFieldColumn < t.ColumnCount() ? kFirstFieldColumn : 0, 1);
    t.SetSelection({t.CurrentColumn(), 1, t.CurrentColumn(), 1});
    t.SetCell(kColModif, 1, ""); // the loads counted the marks as they read
}

// Reads a DBD's records into a table of their own: the session's table is
// replaced only once every record is in, so a load that fails (a read
// error, memory running out) leaves the user's table as it was.
RecordTable LoadRecordsAside(const RecordTable& current, BinaryFile& file, const DbdHeader& header,
                             const std::vector<FieldDef>& fields, char decimalSeparator,
                             UserInteraction& ui, const ProgressFn& progress) {
    try {
        RecordTable t;
        for (int c = 0; c < kFirstFieldColumn; ++c)
            t.SetCell(c, 0, current.Cell(c, 0));
        ApplyColumns(t, fields);
        t.SetRowCount(header.RecordCount() + 1);
        ReadRecords(file, 1, header.RecordCount(), header.RecordSize(), fields, t, decimalSeparator,
                    &ui, progress);
        return t;
    } catch (const std::bad_alloc&) {
        throw OrvaneError(txt::NotEnoughMemory, header.RecordCount());
    }
}

// Records shorter than the template's furthest field end read as zeros
// beyond their end: the user is told once. A save keeps the file's record
// size, so no byte of the file is lost.
void WarnShortRecords(UserInteraction& ui, const std::vector<FieldDef>& fields, int recordSize,
                      const std::string& name) {
    const std::int64_t end = FieldsEnd(fields);
    if (recordSize < end)
        ui.Show(MessageKind::Warning,
                MessageOf(txt::ShortRecords, static_cast<int>(end), name, recordSize));
}

std::unique_ptr<ArchiveFile> OpenArchiveObject(const std::string& path, UserInteraction& ui) {
    auto pod = std::make_unique<ArchiveFile>(path, &ui);
    if (!pod->IsOpen()) throw FileError(txt::CannotOpenArchive, path.c_str());
    pod->ReadHeader();
    pod->ReadDirectory();
    return pod;
}

} // namespace

std::string DataTypeOfDbdFile(const std::string& path) {
    try {
        BinaryFile file(path, OpenMode::Read);
        if (file.Size() < DbdHeader::kSize) return {};
        DbdHeader header;
        file.ReadExact(header.bytes.data(), DbdHeader::kSize);
        return DataTypeFromTag(header.Tag());
    } catch (const std::exception&) {
        return {}; // the load that follows says what is wrong with it
    }
}

LoadOutcome OpenDbdFromDisk(SessionState& s, const std::string& dbdPath,
                            const std::string& templateSource, UserInteraction& ui,
                            BusyIndicator* busy, const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    LoadOutcome out;

    // The file the user chose, read whole in its header first.
    BinaryFile file(dbdPath, OpenMode::Read);
    const std::uint64_t fileSize = file.Size();
    DbdHeader header;
    if (fileSize < DbdHeader::kSize) throw FormatError(txt::NotADbd, dbdPath, fileSize);
    file.ReadExact(header.bytes.data(), DbdHeader::kSize);

    const std::string dataType = DataTypeFromTag(header.Tag());
    if (dataType.empty())
        throw FormatError(txt::UnknownTag, Cp1252ToUtf8(header.Tag()).c_str(), dbdPath.c_str());
    CheckRecordGeometry(dbdPath, header.RecordSize(), header.RecordCount(),
                        fileSize - DbdHeader::kSize);

    std::string source = templateSource;
    if (source.empty()) {
        source = ArchivePathFor(s, dataType);
        if (source.empty()) throw RefusedError(txt::NoSimulatorVersion);
    }

    std::unique_ptr<ArchiveFile> pod;
    if (IsArchivePath(source)) {
        pod = OpenArchiveObject(source, ui);
    } else {
        pod = std::make_unique<ArchiveFile>();
        pod->SetInteraction(&ui);
    }
    TemplateInfo info;
    if (!LoadTemplate(*pod, source, dataType, ui, &info)) throw FileError(txt::DbtNotFound);
    pod->Dbd = header;
    pod->CloseFile();

    WarnShortRecords(ui, info.Fields, header.RecordSize(), FileNameOf(dbdPath));
    RecordTable loaded =
        LoadRecordsAside(s.Table, file, header, info.Fields, s.DecimalSeparator(), ui, progress);
    s.Table.Replace(std::move(loaded));
    PutLoadInPlace(s, std::move(pod), dataType, info, ui);

    // The next file dialog starts where this file was.
    s.WorkDir = WithTrailingSeparator(FolderOf(dbdPath).empty() ? s.WorkDir : FolderOf(dbdPath));

    out.loaded = true;
    out.templateLoaded = true;
    out.definitions = MakeDefinitionPage(dataType, info, lang == Lang::English);
    // The file opened and its own size: the archive the template came from
    // is not the file being edited.
    out.status = Format(txt::StatusDiskDbd.In(lang), FileNameOf(dbdPath).c_str(),
                        Cp1252ToUtf8(header.LeadingText()).c_str(), header.RecordCount(),
                        static_cast<int>(fileSize));
    s.LoadStatus = out.status;
    s.CameFrom({SourceKind::Dbd, dbdPath, {}});
    s.FinishLoad();
    return out;
}

LoadOutcome OpenDbdFromArchive(SessionState& s, const std::string& archivePath,
                               const std::string& templateSource, UserInteraction& ui,
                               BusyIndicator* busy, const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    LoadOutcome out;

    const std::string dataType = UpperDataTypeOf(archivePath);
    auto pod = OpenArchiveObject(archivePath, ui);

    TemplateInfo info;
    if (!LoadTemplate(*pod, templateSource.empty() ? archivePath : templateSource, dataType, ui,
                      &info))
        throw FileError(txt::DbtNotFound);

    // The DBD entry is checked before the table is touched: a missing or
    // damaged entry leaves the user's table as it was.
    const std::string dbdName = TableEntryOf(archivePath);
    int index = pod->FindEntry(dbdName);
    if (index < 0) {
        pod->ReadDbdHeader(dbdName); // the archive's own warning (EPD)
        return out;
    }
    const ArchiveEntry& entry = pod->Entries()[static_cast<std::size_t>(index)];
    if (entry.size < DbdHeader::kSize)
        throw FormatError(txt::EntryShorterThanDbdHeader, archivePath, Cp1252ToUtf8(dbdName));
    std::int64_t position = pod->ReadDbdHeader(dbdName);
    const DbdHeader& header = pod->Dbd;
    CheckRecordGeometry(Cp1252ToUtf8(dbdName), header.RecordSize(), header.RecordCount(),
                        entry.size - DbdHeader::kSize);
    (void)position;

    WarnShortRecords(ui, info.Fields, header.RecordSize(), Cp1252ToUtf8(dbdName));
    RecordTable loaded = LoadRecordsAside(s.Table, pod->File(), header, info.Fields,
                                          s.DecimalSeparator(), ui, progress);
    s.Table.Replace(std::move(loaded));

    const DbdHeader shown = header;
    const std::uint64_t archiveSize = pod->ArchiveSize();
    const ArchiveKind kind = pod->Kind();
    PutLoadInPlace(s, std::move(pod), dataType, info, ui);

    out.loaded = true;
    out.templateLoaded = true;
    out.definitions = MakeDefinitionPage(dataType, info, lang == Lang::English);
    const BiText& format = kind == ArchiveKind::Epd ? txt::StatusEpdDbd : txt::StatusPodDbd;
    out.status =
        Format(format.In(lang), Cp1252ToUtf8(dataType + ".dbd").c_str(),
               Cp1252ToUtf8(shown.LeadingText()).c_str(), shown.RecordCount(),
               DateDecode(shown.Stamp(), s.Display).c_str(), static_cast<int>(archiveSize));
    s.LoadStatus = out.status;
    s.CameFrom({SourceKind::Archive, archivePath, dbdName});
    s.FinishLoad();
    return out;
}

// ---------------------------------------------------------------------------
// Save

int SaveDbd(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
            BusyIndicator* busy, const ProgressFn& progress) {
    TableToWrite(s);
    ArchiveFile& pod = *s.CurrentPod;
    DbdHeader header = pod.Dbd;
    if (header.IsZero()) {
        // A table that never came from a DBD (an exchange-file import): a
        // header of its data type with the record size the table uses.
        header.SetTag(TagForDataType(s.DataType));
    }
    RecordFileEncoder<DbdHeader> encoder(s, path, header, EffectiveRecordSize(pod), pod.Dbd);
    return WriteTableFile(s, {path, selectionOnly, ui, busy, progress},
                          {&txt::NoSelectedRecords, false}, encoder);
}

} // namespace orvane
