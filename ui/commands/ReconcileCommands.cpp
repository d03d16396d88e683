#include "ui/commands/ReconcileCommands.h"

#include "database/DbdFile.h"
#include "database/TableCheck.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/LocaleInfo.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"
#include "ui/commands/UndoCommands.h"
#include "ui/grid/DifferencePanel.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/qt/Captions.h"
#include "ui/qt/QtText.h"

#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace orvane {

namespace {

// The rows over the list: the distance a move must pass, then the filters.
QWidget* ControlsRows(QSpinBox* threshold, QComboBox* kinds, QComboBox* countries,
                      Captions& captions) {
    auto* rows = new QWidget;
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto row = [&](std::initializer_list<std::pair<BiText, QWidget*>> fields) {
        auto* line = new QHBoxLayout;
        for (const auto& [text, field] : fields) {
            auto* label = new QLabel(rows);
            captions.Text(label, text);
            label->setBuddy(field);
            line->addWidget(label);
            line->addWidget(field);
        }
        line->addStretch(1);
        layout->addLayout(line);
    };
    threshold->setObjectName("ReconcileThreshold");
    threshold->setRange(0, 100000);
    threshold->setSingleStep(100);
    threshold->setValue(500);
    row({{txt::ReconcileThreshold, threshold}});
    kinds->setObjectName("ReconcileKindFilter");
    countries->setObjectName("ReconcileCountryFilter");
    for (QComboBox* box : {kinds, countries})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row({{txt::ReconcileKindFilter, kinds}, {txt::ReconcileCountryFilter, countries}});
    return rows;
}

} // namespace

ReconcileCommands::ReconcileCommands(CommandContext context, QMainWindow* window,
                                     Captions& captions)
    : c_(context), threshold_(new QSpinBox), kindFilter_(new QComboBox),
      countryFilter_(new QComboBox), takeKind_(new QPushButton), add_(new QPushButton),
      dock_(window, captions, "ReconcilePanel", txt::ReconcilePanel,
            ControlsRows(threshold_, kindFilter_, countryFilter_, captions)) {
    DifferencePanel* panel = dock_.Panel();
    panel->setObjectName("ReconcileFindings");
    // The panel's buttons say what they take here; "take all of this kind"
    // beside them (not by the dock's close button), the add on a row of its own.
    if (auto* take = panel->findChild<QPushButton*>("TakeOther"))
        captions.Text(take, txt::ReconcileTake);
    takeKind_->setObjectName("ReconcileTakeKind");
    captions.Text(takeKind_, txt::ReconcileTakeKind);
    panel->AddButton(takeKind_, false);
    add_->setObjectName("ReconcileAdd");
    captions.Text(add_, txt::ReconcileAdd);
    panel->AddButton(add_, true);
    dock_.Recompute = [this] { Recompute(); };
    dock_.Show = [this](int current) { Show(current); };
    dock_.Ended = [this] {
        real_.reset();
        findings_.clear();
        shown_.clear();
        c_.model.SetCompareMarks({});
        if (ShowMoves) ShowMoves({});
        c_.view.ShowSelection(false, false); // what the end makes available
    };
    panel->GoTo = [this](int row, int column) {
        Run([=, this] {
            if (GoToCell && row > 0) GoToCell(row, column);
        });
    };
    const auto first = [](const auto& choices) { return choices.empty() ? -1 : choices[0].first; };
    panel->TakeOther = [this, first](const auto& choices) {
        Run([&] { Take(choices, first(choices)); });
    };
    panel->KeepThis = [this, first](const auto& choices) {
        Run([&] { Keep(choices, first(choices)); });
    };
    panel->Clear = [this] { Run([this] { ClearClick(); }); };
    // Findings that are no values ("not in the table", "not in the real
    // world") have nothing to take.
    panel->CanTake = [this](const std::vector<DifferencePanel::Choice>& choices) {
        for (const auto& [finding, column] : OfFindings(choices))
            if (!findings_[std::size_t(finding)].changes.empty()) return true;
        return false;
    };
    QObject::connect(takeKind_, &QPushButton::clicked, dock_.Dock(),
                     [this] { Run([this] { TakeKind(); }); });
    QObject::connect(add_, &QPushButton::clicked, dock_.Dock(), [this, first] {
        Run([&] {
            const auto choices = dock_.Panel()->Chosen();
            Add(choices, first(choices));
        });
    });
    QObject::connect(threshold_, &QSpinBox::valueChanged, dock_.Dock(),
                     [this] { dock_.Relist(dock_.Panel()->CurrentEntry()); });
    QObject::connect(kindFilter_, &QComboBox::activated, dock_.Dock(), [this](int index) {
        const int kind = kindFilter_->itemData(index).toInt();
        kind_ = kind < 0 ? std::nullopt : std::optional(ReconcileKind(kind));
        dock_.Relist(-1);
    });
    QObject::connect(countryFilter_, &QComboBox::activated, dock_.Dock(), [this](int index) {
        country_ = countryFilter_->itemData(index).toString().toStdString();
        dock_.Relist(-1);
    });
    QTreeWidget* list = panel->List();
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, dock_.Dock(),
                     [this] { ShowOwnButtons(); });
    QObject::connect(list, &QTreeWidget::currentItemChanged, dock_.Dock(),
                     [this] { ShowOwnButtons(); });
}

ReconcileCommands::~ReconcileCommands() = default;

void ReconcileCommands::Run(const std::function<void()>& command) {
    RunCommand ? RunCommand(command) : command();
}

CommandTable ReconcileCommands::Commands() {
    return {
        {"CompareOurAirports",
         txt::MenuReconcile,
         Place::ToolsMenu,
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
    std::vector<RealDataFile> files = RealDataFilesFor(s.DataType);
    if (files.empty()) {
        c_.ui.ShowMessage(MessageKind::Warning, Format(txt::ReconcileNoCounterpart.In(lang),
                                                       Cp1252ToUtf8(s.DataType).c_str()));
        return;
    }
    const auto folder = c_.ui.PickFolder(txt::ReconcileFolderTitle.In(lang), FolderToOffer());
    if (!folder) return;
    if (CommitEdit) CommitEdit();
    // An airport added from the real world brings its runways and
    // frequencies, when the folder holds their files.
    if (s.DataType == "AIRPORT")
        for (const RealDataFile more : {RealDataFile::Runways, RealDataFile::Frequencies})
            if (FileExists(ResolvePathCase(JoinPath(*folder, RealDataFileName(more)))))
                files.push_back(more);
    // Read before anything ends: a missing file or a bad line leaves the
    // editor as it was (the error shows at the command boundary).
    columns_ = FindReconcileColumns(s.Table, s.DataType);
    auto real = std::make_unique<RealWorldData>(ReadRealWorldData(*folder, files));
    if (Started) Started();
    real_ = std::move(real);
    read_ = {files.begin(), files.end()};
    lastFolder_ = *folder;
    folderName_ = FileNameOf(*folder);
    if (folderName_.empty()) folderName_ = *folder;
    kind_.reset();
    country_.clear();
    dock_.Begin();
    std::string warnings;
    for (const Message& warning : real_->warnings)
        warnings += (warnings.empty() ? "" : "\n") + warning.In(lang);
    if (!warnings.empty()) c_.ui.ShowMessage(MessageKind::Warning, warnings);
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
    ShowFilters();
    ReconcileFilter filter;
    if (kind_) filter.kinds = {*kind_};
    if (!country_.empty()) filter.countries = {country_};
    shown_ = FilterFindings(findings_, filter);
    // The places the table lacks go last, collapsed, unless they are what
    // the user asked to see.
    const bool group = kind_ != ReconcileKind::Missing;
    int grouped = 0;
    std::vector<DifferencePanel::Entry> entries;
    entries.reserve(shown_.size());
    for (const int i : shown_) {
        const ReconcileFinding& f = findings_[std::size_t(i)];
        DifferencePanel::Entry entry;
        std::string line = ReconcileLine(f, t, columns_, lang);
        const std::string others = ReconcileAlternativesText(f, lang);
        if (!others.empty()) line += " (" + others + ")";
        entry.text = Q(line);
        entry.row = f.row;
        entry.grouped = group && ReconcileKindRank(f.kind) == 2;
        grouped += entry.grouped;
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
    std::string count = Format(txt::ReconcileFindings.In(lang, n), n);
    if (shown_.size() != findings_.size())
        count = Format(txt::ReconcileShown.In(lang), int(shown_.size()), count.c_str());
    std::string summary = n == 0 ? Format(txt::ReconcileEqual.In(lang), folder)
                                 : Format(txt::ReconcileSummary.In(lang), folder, count.c_str());
    // The count of each kind, in the order the list gives them.
    const ReconcileCounts counts = CountByKind(findings_);
    std::string line;
    for (int rank = 0; rank < 3; ++rank)
        for (int k = 0; k < kReconcileKindCount; ++k)
            if (counts[std::size_t(k)] > 0 && ReconcileKindRank(ReconcileKind(k)) == rank)
                line +=
                    (line.empty() ? "" : ", ") +
                    Format(txt::ReconcileCountItem.In(lang),
                           ReconcileKindName(ReconcileKind(k)).In(lang), counts[std::size_t(k)]);
    if (!line.empty()) summary += "\n" + line;
    dock_.Panel()->SetSummary(Q(summary));
    dock_.Panel()->SetEntries(entries, current,
                              Q(Format(txt::ReconcileMissingGroup.In(lang, grouped), grouped)));
    ShowOwnButtons();
}

// The filters' lists: every kind and country found, with its count; the
// one chosen stays, with a count of 0 when none is left.
void ReconcileCommands::ShowFilters() {
    const Lang lang = c_.lang();
    const int n = int(findings_.size());
    kindFilter_->clear();
    kindFilter_->addItem(Q(Format(txt::ReconcileAllKinds.In(lang), n)), -1);
    const ReconcileCounts counts = CountByKind(findings_);
    for (int rank = 0; rank < 3; ++rank)
        for (int k = 0; k < kReconcileKindCount; ++k) {
            const auto kind = ReconcileKind(k);
            if (ReconcileKindRank(kind) != rank || (counts[std::size_t(k)] == 0 && kind_ != kind))
                continue;
            kindFilter_->addItem(
                Q(Format(txt::ReconcileFilterItem.In(lang), ReconcileKindName(kind).In(lang),
                         counts[std::size_t(k)])),
                k);
            if (kind_ == kind) kindFilter_->setCurrentIndex(kindFilter_->count() - 1);
        }
    std::map<std::string, int> countries;
    for (const ReconcileFinding& f : findings_)
        if (!f.country.empty()) ++countries[ToUpperAscii(f.country)];
    if (!country_.empty()) countries.try_emplace(ToUpperAscii(country_), 0);
    countryFilter_->clear();
    countryFilter_->addItem(Q(Format(txt::ReconcileAllCountries.In(lang), n)), QString());
    for (const auto& [country, count] : countries) {
        countryFilter_->addItem(
            Q(Format(txt::ReconcileFilterItem.In(lang), country.c_str(), count)), Q(country));
        if (EqualsIgnoreCaseAscii(country, country_))
            countryFilter_->setCurrentIndex(countryFilter_->count() - 1);
    }
}

// "Take all of this kind" when the current finding holds a value; the add
// when a place the table lacks is chosen and rows may be added.
void ReconcileCommands::ShowOwnButtons() {
    const DifferencePanel& panel = *dock_.Panel();
    const auto current = OfFindings({{panel.CurrentEntry(), -1}});
    takeKind_->setEnabled(!current.empty() &&
                          !findings_[std::size_t(current.front().first)].changes.empty());
    bool missing = false;
    if (c_.session.MayMoveRows())
        for (const auto& [finding, column] : OfFindings(panel.Chosen()))
            missing = missing || findings_[std::size_t(finding)].kind == ReconcileKind::Missing;
    add_->setEnabled(missing);
}

std::vector<std::pair<int, int>>
ReconcileCommands::OfFindings(const std::vector<std::pair<int, int>>& choices) const {
    std::vector<std::pair<int, int>> out;
    for (const auto& [entry, column] : choices)
        if (entry >= 0 && std::size_t(entry) < shown_.size() &&
            std::size_t(shown_[std::size_t(entry)]) < findings_.size())
            out.emplace_back(shown_[std::size_t(entry)], column);
    return out;
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

void ReconcileCommands::Take(const std::vector<std::pair<int, int>>& choices, int current) {
    if (!real_ || choices.empty()) return;
    dock_.BringUpToDate();
    // A finding chosen whole and one of its fields as well: the whole one.
    std::vector<std::pair<int, int>> takes;
    // In direct-write mode the fields the write leaves alone (a move's
    // coordinates) are left out, and said.
    const SessionState& s = c_.session;
    std::set<std::pair<int, int>> leftOut; // a finding chosen whole and its fields too
    std::string leftField;
    for (const auto& [entry, column] : OfFindings(choices)) {
        const ReconcileFinding& f = findings_[std::size_t(entry)];
        if (f.changes.empty()) continue; // nothing to take
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
    std::set<int> entries, rows;
    for (const auto& take : takes) {
        entries.insert(take.first);
        rows.insert(findings_[std::size_t(take.first)].row);
    }
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
    dock_.Relist(current);
    if (CheckFindsIn(rows) && CheckTable) CheckTable();
}

// Every finding of the current one's kind the filters show; more than one
// row changed is asked first.
void ReconcileCommands::TakeKind() {
    const auto current = OfFindings({{dock_.Panel()->CurrentEntry(), -1}});
    if (!real_ || current.empty()) {
        c_.ui.Beep();
        return;
    }
    dock_.BringUpToDate();
    const ReconcileKind kind = findings_[std::size_t(current.front().first)].kind;
    std::vector<std::pair<int, int>> all;
    std::set<int> rows;
    for (std::size_t entry = 0; entry < shown_.size(); ++entry) {
        const ReconcileFinding& f = findings_[std::size_t(shown_[entry])];
        if (f.kind != kind || f.changes.empty()) continue;
        all.emplace_back(int(entry), -1);
        rows.insert(f.row);
    }
    const Lang lang = c_.lang();
    if (rows.size() > 1 &&
        !c_.ui.Confirm(Format(txt::ReconcileTakeKindConfirm.In(lang), int(all.size()),
                              ReconcileKindName(kind).In(lang), int(rows.size()))))
        return;
    Take(all, dock_.Panel()->CurrentEntry());
}

void ReconcileCommands::Keep(const std::vector<std::pair<int, int>>& choices, int current) {
    if (!real_) return;
    for (const auto& [finding, column] : OfFindings(choices))
        dock_.Kept().insert(KeptKey(findings_[std::size_t(finding)], column));
    dock_.Relist(current);
}

// The chosen places the table lacks become rows of it: one step, the rows
// marked as any row added (changed, selected for export); an airport's
// runways and frequencies go into DEX files for the RUNWAY and COMM tables.
void ReconcileCommands::Add(const std::vector<std::pair<int, int>>& choices, int current) {
    if (!real_) return;
    SessionState& s = c_.session;
    const Lang lang = c_.lang();
    dock_.BringUpToDate(); // in direct-write mode the session refuses the rows
    std::vector<int> chosen;
    for (const auto& [finding, column] : OfFindings(choices))
        if (findings_[std::size_t(finding)].kind == ReconcileKind::Missing &&
            (chosen.empty() || chosen.back() != finding))
            chosen.push_back(finding);
    if (chosen.empty()) {
        c_.ui.ShowMessage(MessageKind::Information, txt::ReconcileNothingToAdd.In(lang));
        return;
    }
    const std::int32_t stamp = DateCode(SystemStandardUtcOffset());
    std::vector<RealWorldAdded> added;
    {
        RecordGridModel::Reset reset(c_.model);
        s.ChangeTable(orvane::Step(txt::StepAddRealWorld, int(chosen.size())), [&](RecordTable& t) {
            added = AddFromRealWorld(t, s.Fields(), s.DataType, *real_, findings_, chosen,
                                     s.DecimalSeparator(), stamp);
            for (const RealWorldAdded& row : added) {
                t.SetCell(kColModif, row.row, "X");
                t.SetCell(kColSuppr, row.row, "0");
                t.SetCell(kColExport, row.row, "1");
            }
            if (StepName* open = s.Undo.OpenName()) open->number = int(added.size());
            return !added.empty();
        });
    }
    if (added.empty()) return;
    c_.view.ShowRows(false);
    c_.view.ScrollToRow(added.front().row);
    dock_.Relist(current);
    std::set<int> rows;
    for (const RealWorldAdded& row : added)
        rows.insert(row.row);
    if (CheckFindsIn(rows) && CheckTable) CheckTable();
    // Last: a side file that fails (its archive unreadable) shows its error
    // at the command's end, the rows added staying one step to undo.
    if (s.DataType == "AIRPORT") WriteAirportParts(added, stamp);
}

namespace {

// The archive of another data type: beside the loaded one, else the
// simulator's. Empty when there is none.
std::string ArchiveOfType(const SessionState& s, const std::string& type) {
    if (s.CurrentPod && !s.CurrentPod->Path().empty()) {
        const std::string& loaded = s.CurrentPod->Path();
        const std::string beside =
            ResolvePathCase(JoinPath(FolderOf(loaded), type + ToUpperAscii(ExtensionOf(loaded))));
        if (FileExists(beside)) return beside;
    }
    const std::string own = ArchivePathFor(s, type);
    return !own.empty() && FileExists(own) ? own : "";
}

// A file name in folder no file holds yet: stem-TYPE.dex, else stem-TYPE-2.dex…
std::string FreeDexPath(const std::string& folder, const std::string& stem,
                        const std::string& type) {
    std::string path = JoinPath(folder, stem + "-" + type + ".dex");
    for (int n = 2; FileExists(path); ++n)
        path = JoinPath(folder, stem + "-" + type + "-" + std::to_string(n) + ".dex");
    return path;
}

} // namespace

// The runways and frequencies of the airports added, as DEX files in the
// work folder (where DEX Files > Add a DEX starts), named after the first
// airport; a note says where they are.
void ReconcileCommands::WriteAirportParts(const std::vector<RealWorldAdded>& added,
                                          std::int32_t stamp) {
    const SessionState& s = c_.session;
    const Lang lang = c_.lang();
    std::vector<AddedAirport> parts;
    for (const RealWorldAdded& row : added)
        parts.push_back({row.key, real_->airports[row.realIndex]});
    std::string stem;
    for (const char ch : parts.front().airport.ident)
        if (std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == '_') stem += ch;
    if (stem.empty()) stem = "airports";
    if (parts.size() > 1) stem += "+" + std::to_string(parts.size() - 1);
    std::string folder = s.WorkDir;
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(PathFromUtf8(folder), error)) {
        const auto picked = c_.ui.PickFolder(txt::ReconcilePartsHead.In(lang), lastFolder_);
        if (!picked) return;
        folder = *picked;
    }
    std::string note = txt::ReconcilePartsHead.In(lang);
    bool written = false;
    for (const auto& [type, file] : {std::pair{"RUNWAY", RealDataFile::Runways},
                                     std::pair{"COMM", RealDataFile::Frequencies}}) {
        note += "\n";
        const std::string archive = ArchiveOfType(s, type);
        if (!read_.count(file)) {
            note += Format(txt::ReconcilePartsNoFile.In(lang), type, RealDataFileName(file));
        } else if (archive.empty()) {
            note +=
                Format(txt::ReconcilePartsNoArchive.In(lang), type,
                       (std::string(type) + (s.SimulatorVersion == 1 ? ".EPD" : ".POD")).c_str());
        } else {
            const std::string path = FreeDexPath(folder, stem, type);
            const int rows = WriteAirportPartsDex(s, archive, path, *real_, parts, stamp, c_.ui);
            note += rows > 0 ? Format(txt::ReconcilePartsWritten.In(lang, rows), type, rows,
                                      path.c_str())
                             : Format(txt::ReconcilePartsNone.In(lang), type);
            written = written || rows > 0;
        }
    }
    if (written) note += "\n" + std::string(txt::ReconcilePartsHint.In(lang));
    c_.ui.ShowMessage(MessageKind::Information, note);
}

bool ReconcileCommands::CheckFindsIn(const std::set<int>& rows) const {
    const SessionState& s = c_.session;
    for (const Finding& f :
         orvane::CheckTable(s.Table, s.Fields(), s.DataType, s.DecimalSeparator()))
        if (rows.count(f.row) || rows.count(f.firstRow)) return true;
    return false;
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
