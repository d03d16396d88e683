#include "ui/commands/ReconcileCommands.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "ui/Captions.h"
#include "ui/commands/UndoCommands.h"
#include "ui/grid/DifferencePanel.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/qt/QtText.h"

#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace orvane {

namespace {

// The row over the list: the distance a move must pass, and "take all of
// this kind" (away from the dock's close button).
QWidget* ControlsRow(QSpinBox* threshold, QPushButton* takeKind, Captions& captions) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(row);
    captions.Text(label, txt::ReconcileThreshold);
    threshold->setObjectName("ReconcileThreshold");
    threshold->setRange(0, 100000);
    threshold->setSingleStep(100);
    threshold->setValue(500);
    label->setBuddy(threshold);
    layout->addWidget(label);
    layout->addWidget(threshold);
    layout->addStretch(1);
    takeKind->setObjectName("ReconcileTakeKind");
    captions.Text(takeKind, txt::ReconcileTakeKind);
    layout->addWidget(takeKind);
    return row;
}

} // namespace

ReconcileCommands::ReconcileCommands(CommandContext context, QMainWindow* window,
                                     Captions& captions)
    : c_(context), threshold_(new QSpinBox), takeKind_(new QPushButton),
      dock_(window, captions, "ReconcilePanel", txt::ReconcilePanel,
            ControlsRow(threshold_, takeKind_, captions)) {
    DifferencePanel* panel = dock_.Panel();
    panel->setObjectName("ReconcileFindings");
    // The panel's buttons say what they take here.
    if (auto* take = panel->findChild<QPushButton*>("TakeOther"))
        captions.Text(take, txt::ReconcileTake);
    dock_.Recompute = [this] { Recompute(); };
    dock_.Show = [this](int current) { Show(current); };
    dock_.Ended = [this] {
        real_.reset();
        findings_.clear();
        c_.model.SetCompareMarks({});
        if (ShowMoves) ShowMoves({});
        c_.view.ShowSelection(false, false); // what the end makes available
    };
    panel->GoTo = [this](int row, int column) {
        if (GoToCell && row > 0) GoToCell(row, column);
    };
    panel->TakeOther = [this](const auto& choices) { Take(choices); };
    panel->KeepThis = [this](const auto& choices) { Keep(choices); };
    panel->Clear = [this] { ClearClick(); };
    // Findings that are no values ("not in the table", "not in the real
    // world") have nothing to take.
    panel->CanTake = [this](const std::vector<DifferencePanel::Choice>& choices) {
        for (const auto& [entry, column] : choices)
            if (entry >= 0 && std::size_t(entry) < findings_.size() &&
                !findings_[std::size_t(entry)].changes.empty())
                return true;
        return false;
    };
    QObject::connect(takeKind_, &QPushButton::clicked, dock_.Dock(), [this] { TakeKind(); });
    QObject::connect(threshold_, &QSpinBox::valueChanged, dock_.Dock(),
                     [this] { dock_.Relist(dock_.Panel()->CurrentEntry()); });
}

ReconcileCommands::~ReconcileCommands() = default;

CommandTable ReconcileCommands::Commands() {
    return {
        {"CompareOurAirports",
         txt::MenuReconcile,
         "Outils",
         {},
         When::Always,
         [this] { CompareWithRealWorldClick(); }},
    };
}

// Where the folder dialog starts: the folder read last; before any, an
// "ourairports" folder beside the work folder, where a demo keeps its
// sample; else the work folder.
std::string ReconcileCommands::FolderToOffer() const {
    if (!lastFolder_.empty()) return lastFolder_;
    std::string work = c_.session.WorkDir;
    while (work.size() > 1 && (work.back() == '/' || work.back() == '\\'))
        work.pop_back();
    const std::string beside = JoinPath(FolderOf(work), "ourairports");
    std::error_code error;
    if (!work.empty() && std::filesystem::is_directory(PathFromUtf8(beside), error)) return beside;
    return c_.session.WorkDir;
}

void ReconcileCommands::CompareWithRealWorldClick() {
    const Lang lang = c_.lang();
    SessionState& s = c_.session;
    if (s.DataType.empty() || !s.CurrentPod) {
        c_.ui.ShowMessage(MessageKind::Warning, txt::CompareNoTable.In(lang));
        return;
    }
    const std::vector<RealDataFile> files = RealDataFilesFor(s.DataType);
    if (files.empty()) {
        c_.ui.ShowMessage(MessageKind::Warning, Format(txt::ReconcileNoCounterpart.In(lang),
                                                       Cp1252ToUtf8(s.DataType).c_str()));
        return;
    }
    const auto folder = c_.ui.PickFolder(txt::ReconcileFolderTitle.In(lang), FolderToOffer());
    if (!folder) return;
    if (CommitEdit) CommitEdit();
    // Read before anything ends: a missing file or a bad line leaves the
    // editor as it was (the error shows at the command boundary).
    columns_ = FindReconcileColumns(s.Table, s.DataType);
    auto real = std::make_unique<RealWorldData>(ReadRealWorldData(*folder, files));
    if (Started) Started();
    real_ = std::move(real);
    lastFolder_ = *folder;
    folderName_ = FileNameOf(*folder);
    if (folderName_.empty()) folderName_ = *folder;
    dock_.Begin();
}

void ReconcileCommands::Recompute() {
    if (!real_) return;
    try {
        Match();
    } catch (const OrvaneError& e) {
        // The table no longer holds what matching reads (erased, another
        // shape): the comparison ends and says why.
        dock_.End();
        c_.ui.ShowMessage(MessageKind::Warning, e.In(c_.lang()));
    }
}

void ReconcileCommands::Match() {
    const std::set<std::string>& kept = dock_.Kept();
    const SessionState& s = c_.session;
    ReconcileOptions options;
    options.thresholdMetres = threshold_->value();
    options.decimalSeparator = s.DecimalSeparator();
    columns_ = FindReconcileColumns(s.Table, s.DataType);
    findings_.clear();
    for (ReconcileFinding& f : Reconcile(s.Table, s.Fields(), s.DataType, *real_, options)) {
        if (kept.count(KeptKey(f, -1))) continue;
        std::erase_if(f.changes, [&](const FieldChange& change) {
            return kept.count(KeptKey(f, change.column)) != 0;
        });
        // A finding whose every field was kept is gone.
        const bool takes =
            f.kind != ReconcileKind::NotInRealWorld && f.kind != ReconcileKind::Missing;
        if (takes && f.changes.empty()) continue;
        findings_.push_back(std::move(f));
    }

    CompareMarks marks;
    marks.revision = s.Table.Revision();
    marks.valueHint = &txt::ReconcileRealValue;
    marks.addedHint = &txt::ReconcileNotInRealWorldHint;
    marks.rows.assign(std::size_t(std::max(s.Table.RowCount(), 0)), CompareMarks::Same);
    std::vector<std::pair<GeoPoint, GeoPoint>> moves;
    for (const ReconcileFinding& f : findings_) {
        if (f.kind == ReconcileKind::NotInRealWorld)
            marks.rows[std::size_t(f.row)] = CompareMarks::Added;
        for (const FieldChange& change : f.changes)
            marks.cells[CompareMarks::Key(f.row, change.column)] = change.after;
        moves.insert(moves.end(), f.moves.begin(), f.moves.end());
    }
    c_.model.SetCompareMarks(std::move(marks));
    if (ShowMoves) ShowMoves(std::move(moves));
}

void ReconcileCommands::Show(int current) {
    const Lang lang = c_.lang();
    const RecordTable& t = c_.session.Table;
    std::vector<DifferencePanel::Entry> entries;
    entries.reserve(findings_.size());
    for (const ReconcileFinding& f : findings_) {
        DifferencePanel::Entry entry;
        entry.text = Q(ReconcileLine(f, t, columns_, lang));
        entry.row = f.row;
        if (!f.changes.empty()) entry.column = f.changes.front().column;
        for (const FieldChange& change : f.changes)
            entry.fields.push_back(
                {change.column, Q(Format(txt::CompareFieldItem.In(lang),
                                         Cp1252ToUtf8(t.Cell(change.column, 0)).c_str(),
                                         Cp1252ToUtf8(change.before).c_str(),
                                         Cp1252ToUtf8(change.after).c_str()))});
        entries.push_back(std::move(entry));
    }
    const char* folder = folderName_.c_str();
    const int n = int(findings_.size());
    dock_.Panel()->SetSummary(
        Q(n == 0 ? Format(txt::ReconcileEqual.In(lang), folder)
                 : Format(txt::ReconcileSummary.In(lang), folder,
                          Format(txt::ReconcileFindings.In(lang, n), n).c_str())));
    dock_.Panel()->SetEntries(entries, current);
}

void ReconcileCommands::Refresh() {
    if (!c_.model.CompareMarksCurrent()) dock_.Refresh();
}

void ReconcileCommands::TableReplaced() {
    dock_.End();
}

void ReconcileCommands::ClearClick() {
    dock_.End();
}

void ReconcileCommands::Take(const std::vector<std::pair<int, int>>& choices) {
    if (!real_ || choices.empty()) return;
    dock_.BringUpToDate();
    // A finding chosen whole and one of its fields as well: the whole one.
    std::vector<std::pair<int, int>> takes;
    int first = int(findings_.size());
    // In direct-write mode the fields the write leaves alone (a move's
    // coordinates) are left out, and said.
    const SessionState& s = c_.session;
    std::set<std::pair<int, int>> leftOut; // a finding chosen whole and its fields too
    std::string leftField;
    for (const auto& [entry, column] : choices) {
        if (entry < 0 || std::size_t(entry) >= findings_.size()) continue;
        const ReconcileFinding& f = findings_[std::size_t(entry)];
        if (f.changes.empty()) continue; // nothing to take
        first = std::min(first, entry);
        bool allowed = true;
        for (const FieldChange& change : f.changes)
            allowed = allowed && s.MayChangeColumn(change.column);
        if (allowed || (column >= 0 && s.MayChangeColumn(column))) {
            takes.emplace_back(entry, column);
            continue;
        }
        for (const FieldChange& change : f.changes) {
            if (column >= 0 && change.column != column) continue;
            if (s.MayChangeColumn(change.column)) {
                takes.emplace_back(entry, change.column);
            } else {
                leftOut.emplace(entry, change.column);
                if (leftField.empty()) leftField = Cp1252ToUtf8(s.Table.Cell(change.column, 0));
            }
        }
    }
    if (!leftOut.empty())
        c_.ui.ShowMessage(MessageKind::Warning,
                          s.LeftOutText(0, int(leftOut.size()), leftField, !takes.empty()));
    std::set<int> entries;
    for (const auto& take : takes)
        entries.insert(take.first);
    const int count = int(entries.size());
    if (takes.empty()) { // only findings that hold no value
        if (leftOut.empty())
            c_.ui.ShowMessage(MessageKind::Information, txt::ReconcileNothingToTake.In(c_.lang()));
        return;
    }
    {
        RecordGridModel::Reset reset(c_.model);
        c_.session.ChangeTable(orvane::Step(txt::StepTakeRealWorld, count), [&](RecordTable& t) {
            TakeRealWorld(t, findings_, takes);
            return true;
        });
    }
    c_.view.ShowRows(false);
    dock_.Relist(first);
    if (CheckTable) CheckTable();
}

void ReconcileCommands::TakeKind() {
    const int current = dock_.Panel()->CurrentEntry();
    if (!real_ || current < 0 || std::size_t(current) >= findings_.size()) {
        c_.ui.Beep();
        return;
    }
    const ReconcileKind kind = findings_[std::size_t(current)].kind;
    std::vector<std::pair<int, int>> all;
    for (std::size_t i = 0; i < findings_.size(); ++i)
        if (findings_[i].kind == kind) all.emplace_back(int(i), -1);
    Take(all);
}

void ReconcileCommands::Keep(const std::vector<std::pair<int, int>>& choices) {
    if (!real_) return;
    int first = int(findings_.size());
    for (const auto& [entry, column] : choices) {
        if (entry < 0 || std::size_t(entry) >= findings_.size()) continue;
        first = std::min(first, entry);
        dock_.Kept().insert(KeptKey(findings_[std::size_t(entry)], column));
    }
    dock_.Relist(first);
}

// A kept finding is known by its kind, the row's code and the field, so
// that it stays kept while rows move.
std::string ReconcileCommands::KeptKey(const ReconcileFinding& f, int column) const {
    const RecordTable& t = c_.session.Table;
    const int code = columns_.code >= 0 ? columns_.code : columns_.airport;
    std::string key = f.row > 0 && code >= 0
                          ? std::string(t.Cell(code, f.row)) + '\x1f' + std::to_string(f.row)
                          : f.realWorld;
    return std::to_string(int(f.kind)) + '\x1f' + std::to_string(column) + '\x1f' + key;
}

} // namespace orvane
