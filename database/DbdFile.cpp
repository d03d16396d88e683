#include "database/DbdFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

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

std::string_view Trim(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

std::string FieldTitle(const FieldDef& f) {
    return Cp1252ToUtf8(f.Title);
}

[[noreturn]] void ThrowCell(const BiText& text, Lang lang, int row, const std::string& title,
                            std::string_view cell) {
    throw ConversionError(Format(text.In(lang), row, title.c_str(), Cp1252ToUtf8(cell).c_str()));
}

std::string UpperDataTypeOf(const std::string& archivePath) {
    std::string name = FileNameOf(archivePath);
    return ToUpperAscii(name.substr(0, name.find('.')));
}

bool IsArchivePath(const std::string& path) {
    return ArchiveKindOf(path) != ArchiveKind::None;
}

} // namespace

void CheckRecordGeometry(const std::string& what, std::int32_t size, std::int32_t count,
                         std::uint64_t available, Lang lang) {
    if (size < kMinRecordSize || size > kMaxRecordSize)
        throw FormatError(Format(txt::BadRecordSize.In(lang), what.c_str(), size, kMinRecordSize,
                                 kMaxRecordSize));
    if (count < 0 ||
        static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(size) > available)
        throw FormatError(Format(txt::BadRecordCount.In(lang), what.c_str(), count, size));
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

// ---------------------------------------------------------------------------
// Record -> cells

bool RecordToCells(const RecordBuffer& record, const std::vector<FieldDef>& fields,
                   RecordTable& table, int row, char decimalSeparator, BadDoublePolicy policy,
                   UserInteraction* ui) {
    const int columns =
        std::max(table.ColumnCount(), kFirstFieldColumn + static_cast<int>(fields.size()));
    std::vector<std::string> cells(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        cells[c] = std::string(table.Cell(c, row));

    cells[kColNumber] = std::to_string(row);
    cells[kColSuppr] = GetU16(&record[0]) == 42 ? "x" : "";
    cells[kColExport] = std::to_string(GetU16(&record[2]));

    bool ok = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        std::string& cell = cells[kFirstFieldColumn + i];
        const unsigned char* p = &record[static_cast<std::size_t>(f.Offset)];
        switch (f.Type) {
        case 'C':
            if (f.Width == 1) {
                cell = std::to_string(p[0]);
            } else {
                // The text is confined to its own field.
                int n = 0;
                while (n < f.Width && p[n] != 0)
                    ++n;
                cell.assign(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n));
            }
            break;
        case 'D': {
            double d = GetF64(p);
            if (!std::isfinite(d)) {
                if (policy == BadDoublePolicy::FailRecord) {
                    ok = false;
                    break;
                }
                if (ui) ui->ShowMessage(MessageKind::Warning, Format(txt::LineError, row));
                break; // the cell is left as it was
            }
            cell = FormatFixed(d, 4, decimalSeparator);
            break;
        }
        case 'I':
            cell = std::to_string(GetU32(p));
            break;
        default:
            break; // not converted: the cell is not touched
        }
        if (!ok) {
            // The fields not filled yet keep what they held.
            for (std::size_t k = i; k < fields.size(); ++k)
                cells[kFirstFieldColumn + k] =
                    std::string(table.Cell(kFirstFieldColumn + static_cast<int>(k), row));
            break;
        }
    }
    std::vector<std::string_view> views(cells.begin(), cells.end());
    table.SetRowCells(row, views);
    return ok;
}

void ReadRecords(BinaryFile& file, int firstRow, int count, int recordSize,
                 const std::vector<FieldDef>& fields, RecordTable& table, char decimalSeparator,
                 UserInteraction* ui) {
    if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
        throw FormatError(Format(txt::BadRecordSize.In(Lang::English), file.Path().c_str(),
                                 recordSize, kMinRecordSize, kMaxRecordSize));
    if (table.RowCount() < firstRow + count) table.SetRowCount(firstRow + count);
    RecordBuffer record{};
    for (int k = 0; k < count; ++k) {
        std::fill(record.begin(), record.end(), 0);
        file.ReadExact(record.data(), static_cast<std::size_t>(recordSize));
        if (!RecordToCells(record, fields, table, firstRow + k, decimalSeparator,
                           BadDoublePolicy::Warn, ui) &&
            ui)
            ui->Beep();
    }
}

// ---------------------------------------------------------------------------
// Cells -> record

bool ParseCellInt64(std::string_view text, std::int64_t& value) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size();
}

bool ParseCellDouble(std::string_view text, char decimalSeparator, double& value) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    std::string s(t);
    for (char& c : s) {
        if (c == decimalSeparator)
            c = '.';
        else if (c == '.' ||
                 !(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == 'e' || c == 'E'))
            return false; // another separator, letters of "inf"/"nan", blanks inside
    }
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

void ConvertRowInto(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                    char decimalSeparator, RecordBuffer& record, Lang lang,
                    const RowConversion& how) {
    RecordBuffer out = record;
    out[0] = table.Cell(kColSuppr, row) == "x" ? 42 : 0;
    std::int64_t mark = 0;
    std::string_view exportCell = table.Cell(kColExport, row);
    if (!ParseCellInt64(exportCell, mark))
        ThrowCell(txt::BadWholeNumber, lang, row, "Export", exportCell);
    out[2] = static_cast<unsigned char>(mark & 0xFF);

    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (!f.IsConverted() || (how.skipField && how.skipField(f))) continue;
        std::string_view cell = table.Cell(kFirstFieldColumn + static_cast<int>(i), row);
        unsigned char* p = &out[static_cast<std::size_t>(f.Offset)];
        switch (f.Type) {
        case 'C':
            if (f.Width == 1) {
                std::int64_t v = 0;
                if (!ParseCellInt64(cell, v))
                    ThrowCell(txt::BadWholeNumber, lang, row, FieldTitle(f), cell);
                p[0] = static_cast<unsigned char>(v & 0xFF);
            } else {
                if (cell.size() > static_cast<std::size_t>(f.Width))
                    throw ConversionError(Format(txt::TextTooLong.In(lang), row,
                                                 FieldTitle(f).c_str(), Cp1252ToUtf8(cell).c_str(),
                                                 f.Width));
                // Confined to the field: the text, then a zero byte when it is
                // shorter than the field.
                std::copy(cell.begin(), cell.end(), p);
                if (cell.size() < static_cast<std::size_t>(f.Width)) p[cell.size()] = 0;
            }
            break;
        case 'D': {
            double d = 0;
            if (!ParseCellDouble(cell, decimalSeparator, d))
                ThrowCell(txt::BadNumber, lang, row, FieldTitle(f), cell);
            PutF64(p, d);
            break;
        }
        case 'I': {
            std::int64_t v = 0;
            if (how.signedIntegers) {
                if (!ParseCellInt64(cell, v) || v < INT32_MIN || v > INT32_MAX)
                    ThrowCell(txt::NotSigned32, lang, row, FieldTitle(f), cell);
            } else if (!ParseCellInt64(cell, v)) {
                ThrowCell(txt::BadWholeNumber, lang, row, FieldTitle(f), cell);
            }
            // Low 32 bits: "%u" texts and negative values both fit.
            PutU32(p, static_cast<std::uint32_t>(v & 0xFFFFFFFF));
            break;
        }
        default:
            break;
        }
    }
    record = out;
}

void BuildRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                 char decimalSeparator, RecordBuffer& record, Lang lang) {
    std::fill(record.begin(), record.end(), 0);
    ConvertRowInto(table, row, fields, decimalSeparator, record, lang);
}

void WriteRecord(BinaryFile& file, const RecordTable& table, int row,
                 const std::vector<FieldDef>& fields, int recordSize, char decimalSeparator,
                 Lang lang) {
    RecordBuffer record;
    BuildRecord(table, row, fields, decimalSeparator, record, lang);
    file.Write(record.data(), static_cast<std::size_t>(recordSize));
}

int EffectiveRecordSize(const TPOD& pod) {
    if (pod.Dbd.RecordSize() > 0) return pod.Dbd.RecordSize();
    if (pod.Dex.RecordSize() > 0) return pod.Dex.RecordSize();
    int end = kMinRecordSize;
    for (const auto& f : pod.Fields)
        end = std::max(end, f.Offset + f.ByteWidth());
    return end;
}

// ---------------------------------------------------------------------------
// Loads

std::string ArchivePathFor(const SessionState& s, const std::string& dataType) {
    const char* ext = s.SimulatorVersion == 1 ? ".EPD" : s.SimulatorVersion == 2 ? ".POD" : nullptr;
    if (!ext) return {};
    std::string folder = JoinPath(s.FlyDir, "system");
    return ResolvePathCase(JoinPath(folder, dataType + ext));
}

bool LoadTemplate(TPOD& pod, const std::string& source, const std::string& dataType,
                  UserInteraction& ui, Lang lang, TemplateInfo* info) {
    const std::string entry = kDatabasePrefix + dataType + ".DBT";
    if (IsArchivePath(source)) {
        if (source == pod.Path() && pod.Kind() != ArchiveKind::None) {
            if (!pod.ReadEntry(entry)) return false;
        } else {
            TPOD other(source, &ui, lang);
            if (!other.IsOpen())
                throw FileError(Format(txt::CannotOpenArchive.In(lang), source.c_str()));
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
    pod.Fields = parsed.Fields;
    if (info) *info = std::move(parsed);
    return true;
}

namespace {

// After a load: the shared steps that put the table, the session and the
// archive object in place.
void FinishLoad(SessionState& s, std::unique_ptr<TPOD> pod, const std::string& dataType,
                const TemplateInfo& info) {
    s.DataType = dataType;
    s.FieldCount = info.FieldCount;
    pod->Dex.SetRecordSize(pod->Dbd.RecordSize());
    s.CurrentPod = std::move(pod);
    RecordTable& t = s.Table;
    t.SetCurrentCell(kFirstFieldColumn < t.ColumnCount() ? kFirstFieldColumn : 0, 1);
    t.SetSelection({t.CurrentColumn(), 1, t.CurrentColumn(), 1});
    t.SetCell(kColModif, 1, "");
    t.SelectedCount = t.CountSelected();
    t.DeleteCount = t.CountDeleted();
}

void PrepareTable(RecordTable& t, const std::vector<FieldDef>& fields, int recordCount) {
    t.ClearDataCells();
    ApplyColumns(t, fields);
    t.SetRowCount(recordCount + 1);
}

// Records shorter than the template's furthest field end read as zeros
// beyond their end: the user is told once. A save keeps the file's record
// size, so no byte of the file is lost.
void WarnShortRecords(UserInteraction& ui, Lang lang, const std::vector<FieldDef>& fields,
                      int recordSize, const std::string& name) {
    int end = 0;
    for (const auto& f : fields)
        end = std::max(end, f.Offset + f.ByteWidth());
    if (recordSize < end)
        ui.ShowMessage(MessageKind::Warning,
                       Format(txt::ShortRecords.In(lang), end, name.c_str(), recordSize));
}

std::unique_ptr<TPOD> OpenArchiveObject(const std::string& path, UserInteraction& ui, Lang lang) {
    auto pod = std::make_unique<TPOD>(path, &ui, lang);
    if (!pod->IsOpen()) throw FileError(Format(txt::CannotOpenArchive.In(lang), path.c_str()));
    pod->ReadHeader();
    pod->ReadDirectory();
    return pod;
}

} // namespace

LoadOutcome OpenDbdFromDisk(SessionState& s, const std::string& dbdPath,
                            const std::string& templateSource, UserInteraction& ui,
                            BusyIndicator* busy) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    LoadOutcome out;

    // The file the user chose, read whole in its header first.
    BinaryFile file(dbdPath, OpenMode::Read);
    const std::uint64_t fileSize = file.Size();
    DbdHeader header;
    if (fileSize < DbdHeader::kSize)
        throw FormatError(dbdPath + ": not a DBD file (" + std::to_string(fileSize) +
                          " bytes, shorter than its 56-byte header)");
    file.ReadExact(header.bytes.data(), DbdHeader::kSize);

    const std::string dataType = DataTypeFromTag(header.Tag());
    if (dataType.empty())
        throw FormatError(
            Format(txt::UnknownTag.In(lang), Cp1252ToUtf8(header.Tag()).c_str(), dbdPath.c_str()));
    CheckRecordGeometry(dbdPath, header.RecordSize(), header.RecordCount(),
                        fileSize - DbdHeader::kSize, lang);

    std::string source = templateSource;
    if (source.empty()) {
        source = ArchivePathFor(s, dataType);
        if (source.empty()) throw RefusedError(txt::NoSimulatorVersion.In(lang));
    }

    std::unique_ptr<TPOD> pod;
    if (IsArchivePath(source)) {
        pod = OpenArchiveObject(source, ui, lang);
    } else {
        pod = std::make_unique<TPOD>();
        pod->SetInteraction(&ui, lang);
    }
    TemplateInfo info;
    if (!LoadTemplate(*pod, source, dataType, ui, lang, &info)) {
        ui.ShowMessage(MessageKind::Error, txt::DbtNotFound.In(lang));
        return out;
    }
    pod->Dbd = header;
    const std::uint64_t sourceSize = pod->IsOpen() ? pod->ArchiveSize() : FileSizeOf(source);
    pod->CloseFile();

    WarnShortRecords(ui, lang, info.Fields, header.RecordSize(), FileNameOf(dbdPath));
    PrepareTable(s.Table, info.Fields, header.RecordCount());
    ReadRecords(file, 1, header.RecordCount(), header.RecordSize(), info.Fields, s.Table,
                s.DecimalSeparator(), &ui);
    FinishLoad(s, std::move(pod), dataType, info);

    // The next file dialog starts where this file was.
    s.WorkDir = WithTrailingSeparator(FolderOf(dbdPath).empty() ? s.WorkDir : FolderOf(dbdPath));

    out.loaded = true;
    out.templateLoaded = true;
    out.definitions = MakeDefinitionPage(dataType, info, lang == Lang::English);
    out.status = Format(txt::StatusDiskDbd.In(lang), Cp1252ToUtf8(dataType + ".dbd").c_str(),
                        Cp1252ToUtf8(header.LeadingText()).c_str(), header.RecordCount(),
                        static_cast<int>(sourceSize));
    return out;
}

LoadOutcome OpenDbdFromArchive(SessionState& s, const std::string& archivePath,
                               const std::string& templateSource, UserInteraction& ui,
                               BusyIndicator* busy) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    LoadOutcome out;

    const std::string dataType = UpperDataTypeOf(archivePath);
    auto pod = OpenArchiveObject(archivePath, ui, lang);

    TemplateInfo info;
    if (!LoadTemplate(*pod, templateSource.empty() ? archivePath : templateSource, dataType, ui,
                      lang, &info)) {
        ui.ShowMessage(MessageKind::Error, txt::DbtNotFound.In(lang));
        return out;
    }

    // The DBD entry is checked before the table is touched: a missing or
    // damaged entry leaves the user's table as it was.
    const std::string dbdName = kDatabasePrefix + dataType + ".DBD";
    int index = pod->FindEntry(dbdName);
    if (index < 0) {
        pod->ReadDbdHeader(dbdName); // the archive's own warning (EPD)
        return out;
    }
    const ArchiveEntry& entry = pod->Entries()[static_cast<std::size_t>(index)];
    if (entry.size < DbdHeader::kSize)
        throw FormatError(archivePath + ": the entry " + Cp1252ToUtf8(dbdName) +
                          " is shorter than a DBD header");
    std::int64_t position = pod->ReadDbdHeader(dbdName);
    const DbdHeader& header = pod->Dbd;
    CheckRecordGeometry(Cp1252ToUtf8(dbdName), header.RecordSize(), header.RecordCount(),
                        entry.size - DbdHeader::kSize, lang);
    (void)position;

    WarnShortRecords(ui, lang, info.Fields, header.RecordSize(), Cp1252ToUtf8(dbdName));
    PrepareTable(s.Table, info.Fields, header.RecordCount());
    ReadRecords(pod->File(), 1, header.RecordCount(), header.RecordSize(), info.Fields, s.Table,
                s.DecimalSeparator(), &ui);

    const DbdHeader shown = header;
    const std::uint64_t archiveSize = pod->ArchiveSize();
    const ArchiveKind kind = pod->Kind();
    FinishLoad(s, std::move(pod), dataType, info);

    out.loaded = true;
    out.templateLoaded = true;
    out.definitions = MakeDefinitionPage(dataType, info, lang == Lang::English);
    const BiText& format = kind == ArchiveKind::Epd ? txt::StatusEpdDbd : txt::StatusPodDbd;
    out.status =
        Format(format.In(lang), Cp1252ToUtf8(dataType + ".dbd").c_str(),
               Cp1252ToUtf8(shown.LeadingText()).c_str(), shown.RecordCount(),
               DateDecode(shown.Stamp(), s.Display).c_str(), static_cast<int>(archiveSize));
    return out;
}

// ---------------------------------------------------------------------------
// Save

int SaveDbd(SessionState& s, const std::string& path, bool selectionOnly, BusyIndicator* busy) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    if (!s.CurrentPod) throw RefusedError(txt::NoTableLoaded.In(lang));
    TPOD& pod = *s.CurrentPod;

    DbdHeader header = pod.Dbd;
    if (header.IsZero()) {
        // A table that never came from a DBD (an exchange-file import): a
        // header of its data type with the record size the table uses.
        header.SetTag(TagForDataType(s.DataType));
    }
    const int recordSize = EffectiveRecordSize(pod);
    if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
        throw FormatError(Format(txt::BadRecordSize.In(lang), path.c_str(), recordSize,
                                 kMinRecordSize, kMaxRecordSize));
    header.SetRecordSize(recordSize);

    const RecordTable& t = s.Table;
    AtomicFile out(path);
    BinaryFile& file = out.File();
    file.Write(header.bytes.data(), DbdHeader::kSize);
    int written = 0;
    RecordBuffer record;
    for (int r = 1; r < t.RowCount(); ++r) {
        if (selectionOnly && t.Cell(kColExport, r) != "1") continue;
        BuildRecord(t, r, pod.Fields, s.DecimalSeparator(), record, lang);
        file.Write(record.data(), static_cast<std::size_t>(recordSize));
        ++written;
    }
    header.SetRecordCount(written);
    header.SetStamp(DateCode(s.Display.utcOffsetSeconds));
    file.Seek(0);
    file.Write(header.bytes.data(), DbdHeader::kSize);
    out.Commit();

    pod.Dbd = header;
    return written;
}

} // namespace orvane
