#include "ui/commands/ReconcileCommands.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
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

ReconcileCommands::ReconcileCommands(CommandContext context, QMainWindow* window,
                                     Captions& captions)
    : c_(context), dock_(new QDockWidget(window)), panel_(new DifferencePanel(nullptr, captions)),
      threshold_(new QSpinBox), takeKind_(new QPushButton) {
    dock_->setObjectName("ReconcilePanel");
    captions.Title(dock_, txt::ReconcilePanel);
    auto* page = new QWidget(dock_);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(page);
    captions.Text(label, txt::ReconcileThreshold);
    threshold_->setObjectName("ReconcileThreshold");
    threshold_->setRange(0, 100000);
    threshold_->setSingleStep(100);
    threshold_->setValue(500);
    label->setBuddy(threshold_);
    row->addWidget(label);
    row->addWidget(threshold_);
    row->addStretch(1);
    takeKind_->setObjectName("ReconcileTakeKind");
    captions.Text(takeKind_, txt::ReconcileTakeKind);
    row->addWidget(takeKind_);
    layout->addLayout(row);
    panel_->setObjectName("ReconcileFindings");
    panel_->setParent(page);
    layout->addWidget(panel_, 1);
    // The panel's buttons say what they take here.
    if (auto* take = panel_->findChild<QPushButton*>("TakeOther"))
        captions.Text(take, txt::ReconcileTake);
    dock_->setWidget(page);
    dock_->setMinimumWidth(420);
    dock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    window->addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();

    panel_->GoTo = [this](int row, int column) {
        if (GoToCell && row > 0) GoToCell(row, column);
    };
    panel_->TakeOther = [this](const auto& choices) { Take(choices); };
    panel_->KeepThis = [this](const auto& choices) { Keep(choices); };
    panel_->Clear = [this] { ClearClick(); };
    QObject::connect(takeKind_, &QPushButton::clicked, dock_, [this] { TakeKind(); });
    QObject::connect(threshold_, &QSpinBox::valueChanged, dock_, [this] {
        if (!real_) return;
        Recompute();
        Show(panel_->CurrentEntry());
    });
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
    kept_.clear();
    Recompute();
    Show(-1);
    dock_->show();
}

void ReconcileCommands::Recompute() {
    pending_ = false;
    if (!real_) return;
    const SessionState& s = c_.session;
    ReconcileOptions options;
    options.thresholdMetres = threshold_->value();
    options.decimalSeparator = s.DecimalSeparator();
    columns_ = FindReconcileColumns(s.Table, s.DataType);
    findings_.clear();
    for (ReconcileFinding& f : Reconcile(s.Table, s.Fields(), s.DataType, *real_, options)) {
        if (kept_.count(KeptKey(f, -1))) continue;
        std::erase_if(f.changes, [&](const FieldChange& change) {
            return kept_.count(KeptKey(f, change.column)) != 0;
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
    panel_->SetSummary(Q(n == 0 ? Format(txt::ReconcileEqual.In(lang), folder)
                                : Format(txt::ReconcileSummary.In(lang), folder,
                                         Format(txt::ReconcileFindings.In(lang, n), n).c_str())));
    panel_->SetEntries(entries, current);
}

void ReconcileCommands::Refresh() {
    if (!real_ || c_.model.CompareMarksCurrent()) return;
    panel_->RelistLater(pending_, [this](int current) {
        Recompute();
        Show(current);
    });
}

void ReconcileCommands::TableReplaced() {
    if (real_) ClearClick();
}

void ReconcileCommands::ClearClick() {
    real_.reset();
    pending_ = false;
    findings_.clear();
    kept_.clear();
    c_.model.SetCompareMarks({});
    if (ShowMoves) ShowMoves({});
    panel_->SetEntries({}, 0);
    panel_->SetSummary({});
    dock_->hide();
}

void ReconcileCommands::Take(const std::vector<std::pair<int, int>>& choices) {
    if (!real_ || choices.empty()) return;
    if (pending_) Recompute();
    // A finding chosen whole and one of its fields as well: the whole one.
    std::vector<std::pair<int, int>> takes;
    int first = int(findings_.size());
    for (const auto& [entry, column] : choices) {
        if (entry < 0 || std::size_t(entry) >= findings_.size()) continue;
        if (findings_[std::size_t(entry)].changes.empty()) continue; // nothing to take
        first = std::min(first, entry);
        takes.emplace_back(entry, column);
    }
    std::set<int> entries;
    for (const auto& take : takes)
        entries.insert(take.first);
    const int count = int(entries.size());
    if (takes.empty()) {
        c_.ui.Beep();
        return;
    }
    {
        SessionStep step(c_.session, orvane::Step(txt::StepTakeRealWorld, count));
        RecordGridModel::Reset reset(c_.model);
        TakeRealWorld(c_.session.Table, findings_, takes);
    }
    c_.view.ShowRows(false);
    Recompute();
    Show(first);
    if (CheckTable) CheckTable();
}

void ReconcileCommands::TakeKind() {
    const int current = panel_->CurrentEntry();
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
        kept_.insert(KeptKey(findings_[std::size_t(entry)], column));
    }
    Recompute();
    Show(first);
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
