#include "ui/commands/CompareCommands.h"

#include "database/DbdFile.h"
#include "exchange/DexFile.h"
#include "exchange/TableFormats.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "ui/commands/UndoCommands.h"
#include "ui/grid/DifferencePanel.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtText.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>

#include <algorithm>

namespace orvane {

CompareCommands::CompareCommands(CommandContext context, QMainWindow* window, Captions& captions)
    : c_(context), dock_(window, captions, "ComparePanel", txt::ComparePanel) {
    dock_.Dock()->setMinimumWidth(400);
    dock_.Recompute = [this] { Recompute(); };
    dock_.Show = [this](int current) { Show(current); };
    dock_.Ended = [this] {
        other_.reset();
        diff_ = {};
        shown_.clear();
        c_.model.SetCompareMarks({});
        c_.view.ShowSelection(false, false); // what the end makes available
    };
    // The panel's own buttons and list are commands as the menu items are.
    const auto run = [this](const std::function<void()>& command) {
        RunCommand ? RunCommand(command) : command();
    };
    DifferencePanel* panel = dock_.Panel();
    panel->GoTo = [=, this](int row, int column) {
        run([=, this] {
            if (GoToCell) GoToCell(row, column);
        });
    };
    panel->TakeOther = [=, this](const auto& choices) { run([&] { TakeOther(choices); }); };
    panel->KeepThis = [=, this](const auto& choices) { run([&] { KeepThis(choices); }); };
    panel->Clear = [=, this] { run([this] { ClearClick(); }); };
    // In direct-write mode a row to add or remove, or a field the write
    // leaves alone, is nothing to take.
    panel->CanTake = [this](const std::vector<DifferencePanel::Choice>& choices) {
        const SessionState& s = c_.session;
        for (const auto& [entry, column] : choices) {
            if (entry < 0 || std::size_t(entry) >= shown_.size()) continue;
            const Shown& shown = shown_[std::size_t(entry)];
            if (shown.entry.kind != DifferenceKind::Changed) {
                if (s.MayMoveRows()) return true;
                continue;
            }
            if (column >= 0 ? s.MayChangeColumn(column)
                            : std::any_of(shown.columns.begin(), shown.columns.end(),
                                          [&](int c) { return s.MayChangeColumn(c); }))
                return true;
        }
        return false;
    };
}

CompareCommands::~CompareCommands() = default;

CommandTable CompareCommands::Commands() {
    return {
        {"Comparer",
         txt::MenuCompare,
         Place::EditMenu,
         {},
         When::Always,
         [this] { CompareWithClick(); },
         true},
        {"DifferenceSuivante",
         txt::MenuNextDifference,
         Place::EditMenu,
         {"F8"},
         When::Comparing,
         [this] { NextDifferenceClick(); }},
        {"DifferencePrecedente",
         txt::MenuPreviousDifference,
         Place::EditMenu,
         {"Shift+F8"},
         When::Comparing,
         [this] { PreviousDifferenceClick(); }},
        {"EffacerComparaison",
         txt::MenuClearComparison,
         Place::EditMenu,
         {},
         When::Comparing,
         [this] { ClearClick(); }},
    };
}

namespace {

// The other table, loaded as the open commands load (same settings, same
// template source), in a session of its own.
bool LoadOther(SessionState& other, const SessionState& s, const std::string& path,
               UserInteraction& ui, BusyIndicator* busy) {
    static_cast<SessionSettings&>(other) = s;
    other.Display = s.Display;
    // A file of no readable format is read as a DBD, which says what is wrong.
    const TableFormat* format = FormatOfPath(path);
    if (!format || !format->read) format = &FormatById(TableFormatId::Dbd);
    return format->read(other, path, {}, ui, busy, {}).loaded;
}

} // namespace

void CompareCommands::CompareWithClick() {
    if (Starting) Starting();
    const Lang lang = c_.lang();
    SessionState& s = c_.session;
    if (s.DataType.empty() || !s.CurrentPod) {
        c_.ui.ShowMessage(MessageKind::Warning, txt::CompareNoTable.In(lang));
        return;
    }
    FileDialogRequest r;
    r.filter = Format(txt::CompareOpenFilter.In(lang), ReadablePatterns().c_str());
    r.initialFolder = s.WorkDir;
    const auto path = c_.ui.OpenFile(r);
    if (!path) return;
    const auto mismatch = [&](const std::string& type) {
        c_.ui.ShowMessage(MessageKind::Warning,
                          Format(txt::CompareOtherType.In(lang), FileNameOf(*path).c_str(),
                                 Cp1252ToUtf8(type).c_str(), Cp1252ToUtf8(s.DataType).c_str()));
    };
    // A file that tells its data type is refused before its template is sought.
    if (const std::string type = DataTypeOfTableFile(*path); !type.empty() && type != s.DataType)
        return mismatch(type);
    auto other = std::make_unique<SessionState>();
    if (!LoadOther(*other, s, *path, c_.ui, c_.busy)) return;
    if (other->DataType != s.DataType) return mismatch(other->DataType);
    other_ = std::move(other);
    otherName_ = FileNameOf(*path);
    rule_ = s.CompareRuleFor(DefaultKeyColumn(s.Table));
    dock_.Begin();
}

void CompareCommands::Recompute() {
    if (!other_) return;
    const std::set<std::string>& kept = dock_.Kept();
    const SessionState& s = c_.session;
    diff_ = CompareTables(s.Table, other_->Table, rule_);
    shown_.clear();
    for (const DifferenceEntry& e : ListDifferences(diff_)) {
        Shown shown{e, {}};
        if (e.kind == DifferenceKind::Changed) {
            for (const CellDifference& cell : diff_.changed[std::size_t(e.changed)].cells)
                if (!kept.count(KeptKey(e, cell.column))) shown.columns.push_back(cell.column);
            if (shown.columns.empty()) continue;
        } else if (kept.count(KeptKey(e, -1))) {
            continue;
        } else if (Repeated(e)) {
            continue; // a key seen before in the same table: said in the summary
        }
        shown_.push_back(std::move(shown));
    }

    CompareMarks marks;
    marks.revision = s.Table.Revision();
    marks.rows.assign(std::size_t(std::max(s.Table.RowCount(), 0)), CompareMarks::Same);
    for (const Shown& shown : shown_) {
        const DifferenceEntry& e = shown.entry;
        if (e.kind == DifferenceKind::OnlyHere)
            marks.rows[std::size_t(e.rowA)] = CompareMarks::Added;
        if (e.kind != DifferenceKind::Changed) continue;
        for (int column : shown.columns)
            marks.cells.emplace(CompareMarks::Key(e.rowA, column),
                                std::string(other_->Table.Cell(column, e.rowB)));
    }
    c_.model.SetCompareMarks(std::move(marks));
}

void CompareCommands::Show(int current) {
    const Lang lang = c_.lang();
    const RecordTable& mine = c_.session.Table;
    const RecordTable& theirs = other_->Table;
    std::vector<DifferencePanel::Entry> entries;
    entries.reserve(shown_.size());
    int changed = 0, onlyHere = 0, onlyThere = 0;
    for (const Shown& shown : shown_) {
        const DifferenceEntry& e = shown.entry;
        DifferencePanel::Entry entry;
        entry.row = std::max(e.at, 1);
        switch (e.kind) {
        case DifferenceKind::Changed:
            ++changed;
            entry.column = shown.columns.front(); // the first changed field shown
            entry.text = Q(Format(txt::CompareChangedItem.In(lang),
                                  Cp1252ToUtf8(RowLabel(mine, e.rowA, rule_)).c_str(), e.rowA));
            for (int column : shown.columns)
                entry.fields.push_back(
                    {column, Q(Format(txt::CompareFieldItem.In(lang),
                                      Cp1252ToUtf8(mine.Cell(column, 0)).c_str(),
                                      Cp1252ToUtf8(mine.Cell(column, e.rowA)).c_str(),
                                      Cp1252ToUtf8(theirs.Cell(column, e.rowB)).c_str()))});
            break;
        case DifferenceKind::OnlyHere:
            ++onlyHere;
            entry.text = Q(Format(txt::CompareOnlyHereItem.In(lang),
                                  Cp1252ToUtf8(RowLabel(mine, e.rowA, rule_)).c_str(), e.rowA));
            break;
        case DifferenceKind::OnlyThere:
            ++onlyThere;
            entry.text = Q(Format(txt::CompareMissingItem.In(lang),
                                  Cp1252ToUtf8(RowLabel(theirs, e.rowB, rule_)).c_str(), e.rowB));
            break;
        }
        entries.push_back(std::move(entry));
    }
    const char* name = otherName_.c_str();
    const std::string repeated =
        diff_.repeatedInA.empty() && diff_.repeatedInB.empty()
            ? std::string()
            : "\n" + Format(txt::CompareRepeatedKeys.In(lang), int(diff_.repeatedInA.size()),
                            int(diff_.repeatedInB.size()));
    if (entries.empty()) {
        dock_.Panel()->SetSummary(Q(Format(txt::CompareEqual.In(lang), name) + repeated));
    } else {
        const auto count = [lang](int n, const CountText& text) {
            return Format(text.In(lang, n), n);
        };
        dock_.Panel()->SetSummary(Q(Format(txt::CompareSummary.In(lang), name,
                                           count(changed, txt::CompareChanged).c_str(),
                                           count(onlyHere, txt::CompareOnlyHere).c_str(),
                                           count(onlyThere, txt::CompareOnlyThere).c_str()) +
                                    repeated));
    }
    dock_.Panel()->SetEntries(entries, current);
}

void CompareCommands::Refresh() {
    if (!c_.model.CompareMarksCurrent()) dock_.Refresh();
}

void CompareCommands::TableReplaced() {
    dock_.End();
}

void CompareCommands::ClearClick() {
    dock_.End();
}

void CompareCommands::NextDifferenceClick() {
    Step(+1);
}

void CompareCommands::PreviousDifferenceClick() {
    Step(-1);
}

void CompareCommands::Step(int delta) {
    if (!other_) return;
    if (CommitEdit) CommitEdit();
    dock_.BringUpToDate(); // the edit just ended moves the differences
    dock_.Dock()->show();
    if (!dock_.Panel()->Step(delta)) c_.ui.Beep();
}

void CompareCommands::TakeOther(const std::vector<std::pair<int, int>>& choices) {
    if (!other_ || choices.empty()) return;
    // Rows as listed by the comparison the panel shows: bring it up to date
    // first should an edit still be on its way.
    dock_.BringUpToDate();
    std::vector<DifferenceEntry> entries;
    entries.reserve(shown_.size());
    for (const Shown& shown : shown_)
        entries.push_back(shown.entry);
    std::vector<MergeTake> takes;
    int first = int(shown_.size());
    std::vector<int> taken; // the entries, for the step's name
    // What the mode cannot carry is left out, and said, before the take.
    const SessionState& s = c_.session;
    int rowsLeft = 0, valuesLeft = 0;
    std::string leftField;
    std::set<std::pair<int, int>> seen; // a row chosen whole and its fields too
    const auto take = [&](int entry, int column) {
        if (!seen.emplace(entry, column).second) return;
        const bool rows = shown_[std::size_t(entry)].entry.kind != DifferenceKind::Changed;
        if (rows ? !s.MayMoveRows() : !s.MayChangeColumn(column)) {
            ++(rows ? rowsLeft : valuesLeft);
            if (!rows && leftField.empty()) leftField = Cp1252ToUtf8(s.Table.Cell(column, 0));
            return;
        }
        takes.push_back({std::size_t(entry), column});
        if (taken.empty() || taken.back() != entry) taken.push_back(entry);
    };
    for (const auto& [entry, column] : choices) {
        if (entry < 0 || std::size_t(entry) >= shown_.size()) continue;
        first = std::min(first, entry);
        const Shown& shown = shown_[std::size_t(entry)];
        // A whole changed row takes the fields still listed, not those kept.
        if (shown.entry.kind == DifferenceKind::Changed && column < 0)
            for (int c : shown.columns)
                take(entry, c);
        else
            take(entry, column);
    }
    if (rowsLeft + valuesLeft > 0)
        c_.ui.ShowMessage(MessageKind::Warning,
                          s.LeftOutText(rowsLeft, valuesLeft, leftField, !takes.empty()));
    std::sort(taken.begin(), taken.end());
    const int count = int(std::unique(taken.begin(), taken.end()) - taken.begin());
    if (takes.empty()) return;
    {
        RecordGridModel::Reset reset(c_.model);
        c_.session.ChangeTable(orvane::Step(txt::StepTakeOther, count), [&](RecordTable& t) {
            TakeOtherSide(t, other_->Table, diff_, entries, takes);
            return true;
        });
    }
    c_.view.ShowRows(false);
    // The same place in the list: the entry after the ones taken.
    dock_.Relist(first);
}

void CompareCommands::KeepThis(const std::vector<std::pair<int, int>>& choices) {
    if (!other_) return;
    int first = int(shown_.size());
    for (const auto& [entry, column] : choices) {
        if (entry < 0 || std::size_t(entry) >= shown_.size()) continue;
        first = std::min(first, entry);
        const Shown& shown = shown_[std::size_t(entry)];
        if (shown.entry.kind == DifferenceKind::Changed && column < 0) {
            for (int c : shown.columns)
                dock_.Kept().insert(KeptKey(shown.entry, c));
        } else {
            dock_.Kept().insert(KeptKey(shown.entry, column));
        }
    }
    dock_.Relist(first);
}

// A row only on one side whose key another row of its table holds: a
// repeated key rather than a record of its own.
bool CompareCommands::Repeated(const DifferenceEntry& e) const {
    const auto in = [](const std::vector<int>& rows, int row) {
        return std::binary_search(rows.begin(), rows.end(), row); // in table order
    };
    if (e.kind == DifferenceKind::OnlyHere) return in(diff_.repeatedInA, e.rowA);
    if (e.kind == DifferenceKind::OnlyThere) return in(diff_.repeatedInB, e.rowB);
    return false;
}

// A kept difference is known by the row's key, so that it stays kept while
// rows move; by the row number when rows match by position.
std::string CompareCommands::KeptKey(const DifferenceEntry& e, int column) const {
    const bool there = e.kind == DifferenceKind::OnlyThere;
    const RecordTable& t = there ? other_->Table : c_.session.Table;
    const int row = there ? e.rowB : e.rowA;
    std::string key = rule_.keyColumn == kKeyRowNumber ? std::to_string(row)
                                                       : std::string(t.Cell(rule_.keyColumn, row));
    const char kind = e.kind == DifferenceKind::Changed ? 'C' : there ? 'T' : 'H';
    return std::string(1, kind) + std::to_string(column) + '\x1f' + key;
}

} // namespace orvane
