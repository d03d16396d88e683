#include "exchange/DexFile.h"

#include "database/DbdFile.h"
#include "exchange/ExchangeShared.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int kFly1AirportRecordSize = 330;
constexpr int kFly1RunwayRecordSize = 251;

// The header's Name up to its zero byte, upper case, cut before its first
// dot: "AIRPORT.DBD" -> "AIRPORT".
std::string DexDataType(const DexHeader& header) {
    std::string name = ToUpperAscii(header.Name());
    return name.substr(0, name.find('.'));
}

// The part of the header's Name before ".DBD", as stored (the add-mode check).
std::string DexNameBeforeDbd(const DexHeader& header) {
    std::string name = header.Name();
    return name.substr(0, name.find(".DBD"));
}

// The record size an export uses: the held exchange header's, or, for a
// table whose header never got one, the size its template needs.
int ExportRecordSize(const TPOD& pod) {
    const int held = pod.Dex.RecordSize();
    return held > 0 ? held : EffectiveRecordSize(pod);
}

// Runs the import's last step on every way out: the counters are recounted
// from the table as it is.
struct RecountOnExit {
    SessionState& s;
    ImportOutcome& out;
    ~RecountOnExit() { FinishImportCounters(s, out); }
};

} // namespace

int DetectDexVersion(const DexHeader& header, int simulatorVersion) {
    const std::string type = DexDataType(header);
    if (type.find("AIRPORT") != std::string::npos)
        return header.RecordSize() == kFly1AirportRecordSize ? 1 : 2;
    if (type.find("RUNWAY") != std::string::npos)
        return header.RecordSize() == kFly1RunwayRecordSize ? 1 : 2;
    return simulatorVersion;
}

// ---------------------------------------------------------------------------
// Export

int ExportDex(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy, const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    if (!s.CurrentPod) throw RefusedError(txt::NoTableLoaded.In(lang));
    TPOD& pod = *s.CurrentPod;
    const RecordTable& t = s.Table;

    const int recordSize = ExportRecordSize(pod);
    if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize)
        throw FormatError(Format(txt::BadRecordSize.In(lang), path.c_str(), recordSize,
                                 kMinRecordSize, kMaxRecordSize));

    // Nothing to write: no file is made, and an earlier file of that name stays.
    int taken = 0;
    for (int r = 1; r < t.RowCount(); ++r)
        if (!selectionOnly || t.Cell(kColExport, r) == "1") ++taken;
    if (taken == 0) {
        if (selectionOnly) ui.ShowMessage(MessageKind::Error, txt::NoSelectedRecords.In(lang));
        return 0;
    }

    DexHeader header = pod.Dex;
    header.SetRecordSize(recordSize);
    AtomicFile out(path, txt::ReadOnlyTarget.In(lang));
    BinaryFile& file = out.File();
    file.Write(header.bytes.data(), DexHeader::kSize); // placeholder until the count is known
    RecordEncoder encoder(pod.Fields, s.DecimalSeparator(), lang);
    RecordBuffer record;
    int written = 0;
    ProgressSteps steps(progress, t.RowCount() - 1);
    for (int r = 1; r < t.RowCount(); ++r) {
        steps.At(r);
        if (selectionOnly && t.Cell(kColExport, r) != "1") continue;
        encoder.Build(t, r, record);
        file.Write(record.data(), static_cast<std::size_t>(recordSize));
        ++written;
    }
    header.SetName(s.DataType + ".DBD");
    header.SetRecordCount(written);
    file.Seek(0);
    file.Write(header.bytes.data(), DexHeader::kSize);
    out.Commit();

    pod.Dex = header;
    return written;
}

// ---------------------------------------------------------------------------
// Import

ImportOutcome ImportDex(SessionState& s, const std::string& path, ImportMode mode,
                        UserInteraction& ui, BusyIndicator* busy, const std::string& templateSource,
                        const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    ImportOutcome out;

    const ChosenFile chosen = ParseChosenFile(path, ".DEX");
    if (!chosen.accepted) return out; // another extension: nothing happens
    RecountOnExit recount{s, out};
    s.WorkDir = chosen.folder.empty() ? s.WorkDir : chosen.folder;

    // The file the user chose; its header and geometry are checked before
    // anything in the session changes.
    BinaryFile file(path, OpenMode::Read);
    const std::uint64_t fileSize = file.Size();
    if (fileSize < DexHeader::kSize)
        throw FormatError(
            Format(txt::DexTooShort.In(lang), path.c_str(), static_cast<int>(fileSize)));
    DexHeader header;
    file.ReadExact(header.bytes.data(), DexHeader::kSize);
    CheckRecordGeometry(path, header.RecordSize(), header.RecordCount(),
                        fileSize - DexHeader::kSize, lang);
    const std::string dexType = DexDataType(header);
    // Added to a table, a file without a type is data that does not match it.
    if (dexType.empty() && mode != ImportMode::Add)
        throw FormatError(Format(txt::DexNoDataType.In(lang), path.c_str()));

    const int detected = DetectDexVersion(header, s.SimulatorVersion);
    const bool fly1ToFly2 = detected == 1 && s.SimulatorVersion == 2;
    int firstRow = 1;
    LoadedTemplate loaded; // an open's new template, archive object and type
    std::string dataType = s.DataType;
    int fieldCount = s.FieldCount;
    DexHeader previousDex;

    if (mode == ImportMode::Add) {
        if (DexNameBeforeDbd(header) != s.DataType || !s.CurrentPod) {
            ui.ShowMessage(MessageKind::Error, txt::AddedDataMismatch.In(lang));
            return out;
        }
        firstRow = s.Table.RowCount();
        previousDex = s.CurrentPod->Dex;
        s.CurrentPod->Dex = header;
    } else {
        if (s.SimulatorVersion != 1 && s.SimulatorVersion != 2)
            throw RefusedError(txt::NoSimulatorVersion.In(lang));
        if (detected == 2 && s.SimulatorVersion == 1) {
            ui.ShowMessage(MessageKind::Error, txt::DexFly2Refused.In(lang));
            return out;
        }
        if (fly1ToFly2 && !ui.Confirm(txt::DexFly1Question.In(lang))) return out;

        loaded = LoadImportTemplate(s, dexType, templateSource, ui);
        if (!loaded.found) return out; // the table stays
        loaded.pod->Dex = header;
        out.definitions = MakeDefinitionPage(dexType, loaded.info, lang == Lang::English);
        out.templateLoaded = true;
        dataType = dexType;
        fieldCount = loaded.info.FieldCount;
    }

    TPOD& pod = loaded.pod ? *loaded.pod : *s.CurrentPod;
    const std::vector<FieldDef>& fields = pod.Fields;
    const char sep = s.DecimalSeparator();
    const int count = header.RecordCount();
    const auto recordSize = static_cast<std::size_t>(header.RecordSize());
    ImportRows rows(s.Table, mode == ImportMode::Add ? nullptr : &fields, count, lang);
    try {
        RecordTable& t = rows.Table();
        RecordDecoder decoder(fields, sep, BadDoublePolicy::FailRecord, &ui);
        // Template fields beyond the record's own bytes read as zeros.
        RecordBuffer record{};
        ProgressSteps steps(progress, count);
        for (int k = 0; k < count; ++k) {
            steps.At(k + 1);
            file.ReadExact(record.data(), recordSize);
            if (!decoder.Decode(record, t, firstRow + k)) ui.Beep();
        }
        // Fly! 1 runways have no value for the field before the last in Fly! 2.
        if (fly1ToFly2 && dataType == "RUNWAY" && fieldCount >= 2)
            for (int k = 0; k < count; ++k)
                t.SetCell(fieldCount + 2, firstRow + k, "0");
    } catch (...) {
        if (mode == ImportMode::Add) s.CurrentPod->Dex = previousDex;
        rows.Abandon();
    }
    rows.Commit();
    if (loaded.pod) {
        s.DataType = dataType;
        s.FieldCount = fieldCount;
        s.ReplaceArchive(std::move(loaded.pod), ui);
    }
    out.tableChanged = true;
    out.converted = fly1ToFly2;

    // A record shorter than the template would lose the fields past its end
    // on the next export: the held size covers every field.
    pod.Dex.SetRecordSize(std::max(pod.Dex.RecordSize(), TemplateRecordEnd(fields)));

    RecordTable& t = s.Table;
    FinishImportTable(t, firstRow);
    out.status =
        Format(txt::StatusDex.In(lang), Cp1252ToUtf8(chosen.baseName + ".dex").c_str(),
               Cp1252ToUtf8(pod.Dex.Name()).c_str(), count, "", static_cast<int>(fileSize));
    return out;
}

} // namespace orvane
