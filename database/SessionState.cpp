#include "database/SessionState.h"

#include "database/DbdFile.h"
#include "database/DirectWrite.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace orvane {

const std::vector<FieldDef>& SessionState::Fields() const {
    static const std::vector<FieldDef> none;
    return CurrentPod ? CurrentPod->Fields : none;
}

namespace {

// Closes an archive being released; a failed close after a write is shown.
// It is told rather than thrown: the load or the quit that released the
// archive has already taken place, and must finish.
void CloseAndReport(ArchiveFile& pod, UserInteraction& ui) {
    try {
        pod.CloseFile();
    } catch (const FileError& e) {
        ui.Show(MessageKind::Error, e.Wording());
    }
}

} // namespace

void SessionState::ReplaceArchive(std::unique_ptr<ArchiveFile> pod, UserInteraction& ui) {
    const std::unique_ptr<ArchiveFile> previous = std::exchange(CurrentPod, std::move(pod));
    if (previous) CloseAndReport(*previous, ui);
}

void SessionState::ReleaseArchive(UserInteraction& ui) {
    if (CurrentPod) CloseAndReport(*CurrentPod, ui);
}

void SessionState::WriteFlagHeadings() {
    const std::uint64_t before = Table.Revision();
    Table.SetCell(kColNumber, 0, kHeadingNumber);
    Table.SetCell(kColModif, 0, Utf8ToCp1252(txt::HeadingModif.In(Language_())));
    Table.SetCell(kColSuppr, 0, "Suppr");
    Table.SetCell(kColExport, 0, "Export");
    Undo.Adopt(Table, before);
    headingsWritten_ = true;
}

void SessionState::FinishLoad() {
    if (headingsWritten_) WriteFlagHeadings();
    filter_.Clear(); // its conditions spoke of the columns of the table before
    kept_.clear();
    Undo.Reset(Table);
    RowsAreRecords = true;
    Unwritten.clear();
    Table.RecountFlags();
    if (TableReplaced) TableReplaced();
}

// --- The gate ------------------------------------------------------------------

bool SessionState::MayChangeColumn(int column) const {
    return Mode != EditMode::DirectWrite ||
           !IsProtectedFieldAt(Fields(), column - kFirstFieldColumn);
}

void SessionState::Notify(const TableEffect& effect) {
    if (Filtering() && (effect.RowsMoved() || effect.columnsChanged)) Refilter(effect.insertedRows);
    if (Changed) Changed(effect);
}

TableEffect SessionState::ChangeTable(StepName name,
                                      const std::function<bool(RecordTable&)>& change) {
    if (gateDepth_ > 0) { // inside another change: it holds the rules
        change(Table);
        return {};
    }
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(gateDepth_);

    const bool direct = Mode == EditMode::DirectWrite;
    const bool owner = Undo.Begin(Table, std::move(name));
    TableEffect effect;
    bool kept = false;
    {
        // Only direct write guards columns: in normal mode no cell is
        // compared, whatever the size of the change.
        std::function<bool(int)> guarded;
        if (direct) guarded = [this](int col) { return !MayChangeColumn(col); };
        EffectJournal journal(Table, std::move(guarded));
        try {
            kept = change(Table);
        } catch (...) {
            // A change that fails is taken back whole: no command leaves the
            // table half changed, or its marks behind.
            journal.Finish();
            if (owner) Undo.Abandon(Table); // the counters come back with it
            throw;
        }
        effect = journal.Finish();
    }
    if (direct && (effect.RowsMoved() || effect.columnsChanged)) {
        if (owner) Undo.Abandon(Table);
        throw RefusedError(txt::DirectWriteKeepsRows);
    }
    if (direct && !effect.guardedChanges.empty()) {
        if (owner) Undo.Abandon(Table);
        const auto [col, row] = effect.guardedChanges.front();
        throw RefusedError(txt::DirectWriteKeepsField, Cp1252ToUtf8(Table.Cell(col, 0)), row);
    }
    if (!kept || !effect.Changed()) {
        if (owner) {
            if (effect.Changed())
                Undo.Abandon(Table); // put back what a cancelled command began
            else
                Undo.Discard(Table);
        }
        return {};
    }
    if (effect.FlagsMayDiffer()) Table.RecountFlags();
    MarkUnwritten(effect.rows);
    if (owner) Undo.End(Table);
    Notify(effect);
    return effect;
}

// Steps taken in direct-write mode change cells of fields the write covers
// (the gate refused others, and the steps before the mode are gone), so
// taking one back only needs its rows marked.
bool SessionState::TakeStep(bool undo) {
    if (undo ? !Undo.CanUndo(Table) : !Undo.CanRedo(Table)) return false;
    EffectJournal journal(Table, {});
    undo ? Undo.Undo(Table) : Undo.Redo(Table);
    TableEffect effect = journal.Finish();
    MarkUnwritten(effect.rows);
    effect.rowsReordered = true; // rows may have come back in another order
    Notify(effect);
    return true;
}

bool SessionState::UndoStep() {
    return TakeStep(true);
}

bool SessionState::RedoStep() {
    return TakeStep(false);
}

std::string SessionState::LeftOutText(int rows, int values, const std::string& field,
                                      bool taken) const {
    const Lang lang = Language_();
    std::string text;
    if (rows > 0) text = Format(txt::DirectWriteRowsLeftOut.In(lang, rows), rows);
    if (values > 0)
        text += (text.empty() ? "" : "\n") +
                Format(txt::DirectWriteValuesLeftOut.In(lang, values), values, field.c_str());
    return text + "\n" + (taken ? txt::TakeRestTaken : txt::TakeNothingTaken).In(lang);
}

// A changed row waits to be written while it differs from its record in the
// archive, read as a load reads it: typing a value back, or an undo to where
// the archive is, leaves nothing to write. Values compare as the comparison
// does (numbers by value, the fields the write leaves alone not at all); a
// record that does not read counts as different.
void SessionState::MarkUnwritten(const std::vector<int>& rows) {
    if (rows.empty() || !TracksUnwritten()) return;
    const std::int64_t entry = ArchiveDbdEntry();
    const CompareRule rule = CompareRuleFor(kKeyRowNumber);
    RecordTable record; // one row: the record as loaded
    record.SetColumnCount(Table.ColumnCount());
    record.SetRowCount(2);
    const auto kind = [&](int col) {
        return std::size_t(col) < rule.kinds.size() ? rule.kinds[std::size_t(col)]
                                                    : ValueKind::Text;
    };
    for (int row : rows) {
        if (row < 1 || row >= Table.RowCount()) continue;
        bool differs = true;
        try {
            if (ReadArchiveRecord(entry, row, record, 1)) {
                differs = Table.Cell(kColSuppr, row) != record.Cell(kColSuppr, 1) ||
                          Table.Cell(kColExport, row) != record.Cell(kColExport, 1);
                for (int col = kFirstFieldColumn; col < Table.ColumnCount() && !differs; ++col)
                    differs = MayChangeColumn(col) &&
                              !SameValue(Table.Cell(col, row), record.Cell(col, 1), kind(col),
                                         DecimalSeparator());
            }
        } catch (const OrvaneError&) {
        }
        if (differs)
            Unwritten.insert(row);
        else
            Unwritten.erase(row);
    }
}

// --- Saved state ---------------------------------------------------------------

bool SessionState::HasUnsavedChanges() const {
    // In direct write the archive is the saved state: a row differs from it
    // exactly while it waits to be written.
    if (TracksUnwritten()) return !Unwritten.empty();
    return !Unwritten.empty() || !Undo.IsClean(Table);
}

void SessionState::MarkSaved() {
    // A DBD saved in direct-write mode does not write the archive: its
    // unwritten rows stay so.
    Undo.MarkClean(Table);
    Notify({});
}

bool SessionState::TracksUnwritten() const {
    return Mode == EditMode::DirectWrite && RowsAreRecords && CurrentPod && CurrentPod->IsOpen() &&
           CurrentPod->Kind() == ArchiveKind::Pod;
}

std::string SessionState::StatusText() const {
    const Lang lang = Language_();
    const std::string word = txt::RecordsWord.In(lang);
    const std::size_t at = LoadStatus.find(" " + word);
    if (at == std::string::npos) return LoadStatus;
    std::size_t digits = at;
    while (digits > 0 && LoadStatus[digits - 1] >= '0' && LoadStatus[digits - 1] <= '9')
        --digits;
    if (digits == at) return LoadStatus;
    const int count = std::max(Table.RowCount() - 1, 0);
    return LoadStatus.substr(0, digits) + Format(txt::RecordCount.In(lang, count), count) +
           LoadStatus.substr(at + 1 + word.size());
}

// --- Which file ----------------------------------------------------------------

void SessionState::CameFrom(TableSource source) {
    Source = std::move(source);
    SavedTo.clear();
}

std::string SessionState::SaveTarget() const {
    if (!SavedTo.empty()) return SavedTo;
    return Source.kind == SourceKind::Dbd ? Source.path : std::string();
}

std::string SessionState::DocumentName() const {
    return SavedTo.empty() ? SourceName(Source) : FileNameOf(SavedTo);
}

std::string SessionState::WindowTitle() const {
    const std::string name = DocumentName();
    return name.empty() ? name : Format(txt::WindowTitle, name.c_str());
}

void SessionState::SavedAs(const std::string& path) {
    if (Mode == EditMode::DirectWrite) {
        MarkSaved();
        return;
    }
    SavedTo = path;
    // The header as the save wrote it: a table out of a DEX or CSV file got
    // its data type's.
    DbdHeader header;
    if (CurrentPod) header = CurrentPod->Dbd;
    if (header.IsZero()) header.SetTag(TagForDataType(DataType));
    const int records = std::max(Table.RowCount() - 1, 0);
    LoadStatus = Format(txt::StatusDiskDbd.In(Language_()), FileNameOf(path).c_str(),
                        Cp1252ToUtf8(header.LeadingText()).c_str(), records,
                        static_cast<int>(FileSizeOf(path)));
    MarkSaved();
}

// --- Direct write --------------------------------------------------------------

void SessionState::EnterDirectWrite() {
    const bool wasOn = Mode == EditMode::DirectWrite;
    EnterDirectWriteMode(*this, Mode);
    if (wasOn) return;
    // Rows may have moved since the load; the steps would take back changes
    // the archive does not hold.
    RowsAreRecords = false;
    Unwritten.clear();
    Undo.Clear(Table);
    Notify({});
}

namespace {

// The list of rows a question names: the first ten, then an ellipsis.
std::string RowList(const std::set<int>& rows) {
    constexpr std::size_t kListed = 10;
    std::string list;
    std::size_t n = 0;
    for (int row : rows) {
        if (n == kListed) {
            list += ", \xE2\x80\xA6"; // an ellipsis
            break;
        }
        list += (n++ ? ", " : "") + std::to_string(row);
    }
    return list;
}

bool MayDropUnwritten(const SessionState& s, UserInteraction& ui) {
    if (s.Unwritten.empty()) return true;
    const BiText& question =
        s.Unwritten.size() == 1 ? txt::UnwrittenRowQuestion : txt::UnwrittenRowsQuestion;
    return ui.Confirm(Format(question.In(s.Language_()), RowList(s.Unwritten).c_str()));
}

} // namespace

// The records of the unwritten rows read back from the archive: their
// changes are gone, as the question said.
void SessionState::RevertUnwritten() {
    if (Unwritten.empty() || !TracksUnwritten()) return;
    const std::set<int> rows = std::move(Unwritten);
    Unwritten.clear();
    const std::int64_t entry = ArchiveDbdEntry();
    for (int row : rows)
        ReadArchiveRecord(entry, row, Table, row);
    Table.RecountFlags();
}

// Where the DBD entry of the open archive starts (-1: none, or it does not
// read), its header reloaded.
std::int64_t SessionState::ArchiveDbdEntry() {
    try {
        return CurrentPod->ReadDbdHeader("DATABASE\\" + DataType + ".DBD");
    } catch (const OrvaneError&) {
        return -1;
    }
}

// Record `row` of the archive into row `intoRow` of a table, as a load reads
// it. False for a row the archive holds no record of.
bool SessionState::ReadArchiveRecord(std::int64_t entry, int row, RecordTable& into, int intoRow) {
    ArchiveFile& pod = *CurrentPod;
    const int size = pod.Dbd.RecordSize();
    if (entry < 0 || size < kMinRecordSize || size > kMaxRecordSize || row < 1 ||
        row > pod.Dbd.RecordCount() || row >= Table.RowCount())
        return false;
    pod.File().Seek(std::uint64_t(RecordPosition(entry, row, size)));
    ReadRecords(pod.File(), intoRow, 1, size, pod.Fields, into, DecimalSeparator(), nullptr);
    return true;
}

bool SessionState::LeaveDirectWrite(UserInteraction& ui) {
    if (Mode != EditMode::DirectWrite) return true;
    if (!MayDropUnwritten(*this, ui)) return false;
    DropDirectWrite();
    return true;
}

void SessionState::DropDirectWrite() {
    if (Mode == EditMode::Normal) return;
    if (!Unwritten.empty()) { // the question said their changes go
        RevertUnwritten();
        Undo.MarkClean(Table); // the table is the archive again
    }
    Mode = EditMode::Normal;
    Unwritten.clear();
    Undo.Clear(Table); // rows written are in the archive: no step goes back past them
    TableEffect effect;
    effect.rowsReordered = true; // every row may show another text
    Notify(effect);
}

bool SessionState::WriteRow(int row, UserInteraction& ui) {
    if (!RowsAreRecords) throw RefusedError(txt::LoadedBeforeDirectWrite);
    if (WriteCurrentRow(*this, row, ui) != DirectWriteOutcome::Written) return false;
    Unwritten.erase(row);
    if (Unwritten.empty()) Undo.MarkClean(Table);
    Notify({});
    return true;
}

bool SessionState::MayReplaceTable(UserInteraction& ui, const std::function<bool()>& save) {
    if (!Unwritten.empty()) return MayDropUnwritten(*this, ui);
    if (Undo.IsClean(Table)) return true;
    switch (ui.AskSave(txt::UnsavedChangesSave.In(Language_()))) {
    case SaveChoice::Save:
        // Only a save that went through lets the table go.
        return save && save() && Undo.IsClean(Table);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

} // namespace orvane

namespace orvane {

CompareRule SessionState::CompareRuleFor(int keyColumn) const {
    CompareRule rule;
    rule.keyColumn = keyColumn;
    rule.decimalSeparator = DecimalSeparator();
    const auto& fields = Fields();
    rule.kinds.assign(std::size_t(kFirstFieldColumn) + fields.size(), ValueKind::Text);
    for (std::size_t f = 0; f < fields.size(); ++f) {
        ValueKind& kind = rule.kinds[std::size_t(kFirstFieldColumn) + f];
        if (fields[f].Type == 'D')
            kind = ValueKind::Decimal;
        else if (fields[f].Type == 'I' || fields[f].IsByte())
            kind = ValueKind::Whole;
    }
    return rule;
}

} // namespace orvane

namespace orvane {

void SessionState::SetFilter(RowFilter filter) {
    filter_ = std::move(filter);
    Refilter({});
}

void SessionState::Refilter(const std::vector<int>& alsoShown) {
    if (!filter_.Active()) {
        kept_.clear();
        return;
    }
    kept_ = filter_.KeptRows(Table, DecimalSeparator());
    if (alsoShown.empty()) return;
    std::vector<int> extra;
    for (int row : alsoShown)
        if (row >= 1 && row < Table.RowCount()) extra.push_back(row);
    std::sort(extra.begin(), extra.end());
    std::vector<int> merged;
    merged.reserve(kept_.size() + extra.size());
    std::set_union(kept_.begin(), kept_.end(), extra.begin(), extra.end(),
                   std::back_inserter(merged));
    kept_ = std::move(merged);
}

std::vector<int> SessionState::ShownRows() const {
    if (Filtering()) return kept_;
    std::vector<int> rows(std::size_t(std::max(Table.RowCount() - 1, 0)));
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = int(i) + 1;
    return rows;
}

bool SessionState::IsShown(int row) const {
    if (!Filtering()) return row >= 1 && row < Table.RowCount();
    return std::binary_search(kept_.begin(), kept_.end(), row);
}

} // namespace orvane
