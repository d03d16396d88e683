#include "exchange/DexFile.h"

#include "database/DbdFile.h"
#include "database/TableWriter.h"
#include "exchange/ExchangeShared.h"
#include "exchange/TableFormats.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int kFly1AirportRecordSize = 330;
constexpr int kFly1RunwayRecordSize = 251;

// The part of the header's Name before ".DBD", as stored (the add-mode check).
std::string DexNameBeforeDbd(const DexHeader& header) {
    std::string name = header.Name();
    return name.substr(0, name.find(".DBD"));
}

// The record size an export uses: the held exchange header's, or, for a
// table whose header never got one, the size its template needs.
int ExportRecordSize(const ArchiveFile& pod) {
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

std::string DexDataType(const DexHeader& header) {
    std::string name = ToUpperAscii(header.Name());
    return name.substr(0, name.find('.'));
}

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
    TableToWrite(s);
    ArchiveFile& pod = *s.CurrentPod;
    DexHeader header = pod.Dex;
    header.SetName(s.DataType + ".DBD");
    RecordFileEncoder<DexHeader> encoder(s, path, header, ExportRecordSize(pod), pod.Dex);
    return WriteTableFile(s, {path, selectionOnly, ui, busy, progress},
                          {&txt::NoSelectedRecords, true}, encoder);
}

// ---------------------------------------------------------------------------
// Import

namespace {

// The chosen file, its header and geometry checked before anything in the
// session changes.
struct DexSource {
    BinaryFile file;
    std::uint64_t size = 0;
    DexHeader header;
};

DexSource OpenDexSource(const std::string& path) {
    DexSource in{BinaryFile(path, OpenMode::Read)};
    in.size = in.file.Size();
    if (in.size < DexHeader::kSize)
        throw FormatError(txt::DexTooShort, path.c_str(), static_cast<int>(in.size));
    in.file.ReadExact(in.header.bytes.data(), DexHeader::kSize);
    CheckRecordGeometry(path, in.header.RecordSize(), in.header.RecordCount(),
                        in.size - DexHeader::kSize);
    return in;
}

// Where the records go: below the rows in memory (add) or into a new table
// with the file's own template (open).
struct DexTarget {
    int firstRow = 1;
    LoadedTemplate loaded; // an open's new template and archive object
    std::string dataType;
    int fieldCount = 0;
    DexHeader previousDex; // an add's header to put back on failure
};

// Add mode: throws RefusedError when the file holds another data type.
void PrepareAdd(SessionState& s, const DexHeader& header, DexTarget& target) {
    if (DexNameBeforeDbd(header) != s.DataType || !s.CurrentPod)
        throw RefusedError(txt::AddedDataMismatch);
    target.dataType = s.DataType;
    target.fieldCount = s.FieldCount;
    target.firstRow = s.Table.RowCount();
    target.previousDex = s.CurrentPod->Dex;
    s.CurrentPod->Dex = header;
}

// Open mode: false when the user declines the conversion or the template is
// not found; throws RefusedError when the simulator version refuses the data.
bool PrepareOpen(const SessionState& s, const DexHeader& header, int detected,
                 const std::string& templateSource, DexTarget& target, ImportOutcome& out,
                 UserInteraction& ui) {
    const Lang lang = s.Language_();
    if (s.SimulatorVersion != 1 && s.SimulatorVersion != 2)
        throw RefusedError(txt::NoSimulatorVersion);
    if (detected == 2 && s.SimulatorVersion == 1) throw RefusedError(txt::DexFly2Refused);
    if (detected == 1 && s.SimulatorVersion == 2 && !ui.Confirm(txt::DexFly1Question.In(lang)))
        return false;

    const std::string dexType = DexDataType(header);
    target.loaded = LoadImportTemplate(s, dexType, templateSource, ui);
    if (!target.loaded.found) return false; // the table stays
    target.loaded.pod->Dex = header;
    out.definitions = MakeDefinitionPage(dexType, target.loaded.info, lang == Lang::English);
    out.templateLoaded = true;
    target.dataType = dexType;
    target.fieldCount = target.loaded.info.FieldCount;
    return true;
}

// Decodes the file's records into rows firstRow.. of t. A record that fails
// gives a beep; template fields beyond the record's own bytes read as zeros.
void ReadDexRecords(DexSource& in, const std::vector<FieldDef>& fields, char decimalSeparator,
                    RecordTable& t, int firstRow, UserInteraction& ui, const ProgressFn& progress) {
    const int count = in.header.RecordCount();
    const auto recordSize = static_cast<std::size_t>(in.header.RecordSize());
    RecordDecoder decoder(fields, decimalSeparator, BadDoublePolicy::FailRecord, &ui);
    RecordBuffer record{};
    ProgressSteps steps(progress, count);
    for (int k = 0; k < count; ++k) {
        steps.At(k + 1);
        in.file.ReadExact(record.data(), recordSize);
        if (!decoder.Decode(record, t, firstRow + k)) ui.Beep();
    }
}

} // namespace

ImportOutcome ImportDex(SessionState& s, const std::string& path, ImportMode mode,
                        UserInteraction& ui, BusyIndicator* busy, const std::string& templateSource,
                        const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    ImportOutcome out;

    const ChosenFile chosen = ParseChosenFile(path, TableFormatId::Dex);
    if (!chosen.accepted) return out; // another extension: nothing happens
    RecountOnExit recount{s, out};
    s.WorkDir = chosen.folder.empty() ? s.WorkDir : chosen.folder;

    DexSource in = OpenDexSource(path);
    const DexHeader& header = in.header;
    // Added to a table, a file without a type is data that does not match it.
    if (DexDataType(header).empty() && mode != ImportMode::Add)
        throw FormatError(txt::DexNoDataType, path.c_str());

    const int detected = DetectDexVersion(header, s.SimulatorVersion);
    const bool fly1ToFly2 = detected == 1 && s.SimulatorVersion == 2;
    DexTarget target;
    if (mode == ImportMode::Add)
        PrepareAdd(s, header, target);
    else if (!PrepareOpen(s, header, detected, templateSource, target, out, ui))
        return out;

    ArchiveFile& pod = target.loaded.pod ? *target.loaded.pod : *s.CurrentPod;
    const int count = header.RecordCount();
    const int firstRow = target.firstRow;
    ImportRows rows(s.Table, mode == ImportMode::Add ? nullptr : &pod.Fields, count, lang);
    try {
        RecordTable& t = rows.Table();
        ReadDexRecords(in, pod.Fields, s.DecimalSeparator(), t, firstRow, ui, progress);
        // Fly! 1 runways have no value for the field before the last in Fly! 2.
        if (fly1ToFly2 && target.dataType == "RUNWAY" && target.fieldCount >= 2)
            for (int k = 0; k < count; ++k)
                t.SetCell(target.fieldCount + 2, firstRow + k, "0");
    } catch (...) {
        if (mode == ImportMode::Add) s.CurrentPod->Dex = target.previousDex;
        rows.Abandon();
    }
    rows.Commit();
    if (target.loaded.pod) {
        s.DataType = target.dataType;
        s.FieldCount = target.fieldCount;
        s.ReplaceArchive(std::move(target.loaded.pod), ui);
    }
    out.tableChanged = true;
    out.converted = fly1ToFly2;

    // A record shorter than the template would lose the fields past its end
    // on the next export: the held size covers every field.
    pod.Dex.SetRecordSize(std::max(pod.Dex.RecordSize(), TemplateRecordEnd(pod.Fields)));

    FinishImportTable(s.Table, firstRow);
    out.status = Format(txt::StatusDex.In(lang), Cp1252ToUtf8(chosen.baseName + ".dex").c_str(),
                        Cp1252ToUtf8(pod.Dex.Name()).c_str(), count, "", static_cast<int>(in.size));
    if (mode != ImportMode::Add) { // an add keeps the table's file and history
        s.LoadStatus = out.status;
        s.CameFrom({SourceKind::Dex, path, {}});
        s.FinishLoad();
    }
    return out;
}

} // namespace orvane
