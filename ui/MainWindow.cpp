#include "ui/MainWindow.h"
#include "ui/grid/DifferencePanel.h"
#include <QListView>
#include <QShortcut>
#include <QTreeWidget>

#include "exchange/DexFile.h"
#include "platform/Cp1252.h"
#include "table/Search.h"
#include "table/TableEffect.h"
#include "ui/CommandLineFiles.h"
#include "ui/LeftColumn.h"
#include "ui/RecordPages.h"
#include "ui/commands/BulkEditCommands.h"
#include "ui/commands/CommandFamilies.h"
#include "ui/commands/CompareCommands.h"
#include "ui/commands/DirectWriteCommands.h"
#include "ui/commands/ExchangeCommands.h"
#include "ui/commands/FileCommands.h"
#include "ui/commands/GridCommands.h"
#include "ui/commands/OptionsCommands.h"
#include "ui/commands/PrintCommands.h"
#include "ui/commands/RecentCommands.h"
#include "ui/commands/ReconcileCommands.h"
#include "ui/commands/RowCommands.h"
#include "ui/commands/SearchCommands.h"
#include "ui/commands/ToolsCommands.h"
#include "ui/commands/UndoCommands.h"
#include "ui/commands/ViewCommands.h"
#include "ui/dialogs/ArchiveViewer.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/grid/DefinitionsPage.h"
#include "ui/grid/FilterBar.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"
#include "ui/map/CheckPanel.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/CommandControls.h"
#include "ui/qt/FileStatusLabel.h"
#include "ui/qt/QtText.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace orvane {

MainWindow::MainWindow(SessionState& session, UserInteraction& ui, BusyIndicator* busy,
                       std::string iniPath, QWidget* parent)
    : QMainWindow(parent), session_(session), ui_(ui), busy_(busy), iniPath_(std::move(iniPath)),
      boundary_(ui, [this] { return lang(); }) {
    setObjectName("TForm_main");
    captions_.Title(this, txt::MainCaption, Captions::kUnsavedMark);
    resize(766, 509);
    model_ = new RecordGridModel(session_, this);
    progress_.parent = this;
    commands_ = std::make_unique<CommandFamilies>(
        CommandContext{session_, ui_, busy_, *model_, *this, &progress_}, this, iniPath_,
        captions_);

    BuildCommands();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    leftColumn_ = new LeftColumn(*controls_, commands_->rows->Commands(), captions_, central);
    layout->addWidget(leftColumn_);
    commands_->search->Attach(leftColumn_->Search(), boundary_);
    auto* right = new QWidget(central);
    right->setObjectName("Panel4");
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    pages_ = new RecordPages(session_, model_, captions_, right);
    gridView_ = pages_->Grid();
    rightLayout->addWidget(pages_);
    layout->addWidget(right, 1);
    setCentralWidget(central);

    // Status bar: panel 0 the loaded file, panel 1 the coordinate text.
    filePanel_ = new FileStatusLabel(this);
    coordinatePanel_ = new QLabel(this);
    coordinatePanel_->setObjectName("StatusPanel1");
    statusBar()->setObjectName("StatusBar");
    statusBar()->addWidget(filePanel_);
    statusBar()->addWidget(coordinatePanel_, 1);
    filterPanel_ = new QLabel(this);
    filterPanel_->setObjectName("StatusFilter");
    statusBar()->addPermanentWidget(filterPanel_);
    filterPanel_->hide();
    // Hints on a yellow background.
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(255, 255, 0));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    // The record editor's and the viewer's captions follow the language read.
    commands_->options->ReadSettings();
    ui_.SetLanguage(lang()); // the core's messages, worded where they are shown
    archiveViewer_ = new ArchiveViewer(session_, ui_, busy_, this);
    recordEditor_ = new RecordEditorDialog(session_, ui_, this);
    WireEvents();
    if (lang() == Lang::French) captions_.Apply(Lang::French); // the menus' mnemonics
    session_.WriteFlagHeadings();
    model_->HeadingsChanged();
    { RecordGridModel::Reset reset(*model_); }
    gridView_->FitColumns(session_.Table);
    gridView_->Heading()->FitHeight(70); // the heading row's height until a load
    leftColumn_->FitWidth(lang());
    session_.Undo.Reset(session_.Table);
    commands_->print->Attach(this, gridView_);
    ShowAvailability();
}

MainWindow::~MainWindow() {
    // Nothing reaches the commands while the window goes: an open cell
    // editing is dropped, the history no longer calls back.
    gridView_->EndEdit(false);
    session_.Undo.Changed = nullptr;
    session_.Changed = nullptr;
    session_.TableReplaced = nullptr;
    model_->RunEdit = nullptr;
}

// The menus, then each family's rows in the families' order.
void MainWindow::BuildCommands() {
    controls_ = std::make_unique<CommandControls>(this, captions_, boundary_);
    for (const MenuEntry& menu : CommandFamilies::Menus())
        controls_->AddMenu(menu);
    connect(menuBar()->findChild<QMenu*>("Edition"), &QMenu::aboutToShow, this,
            [this] { ShowHistory(); });
    commands_->tools->ShowArchiveViewer = [this] { archiveViewer_->exec(); };
    commands_->Quit = [this] { close(); };
    commands_->Check = [this] { // F7 on another page too: the findings show beside the grid
        pages_->ShowRecords();
        pages_->Check()->CheckWholeTable();
    };
    const std::vector<CommandTable> tables = commands_->Tables();
    for (const CommandTable& table : tables) {
        controls_->Add(table);
        // The recent files come right after the opens (the first table's rows).
        if (&table == &tables.front())
            controls_->AddSubmenu(Place::DbdMenu, CommandFamilies::RecentMenu());
    }
    auto* versions = new QActionGroup(this);
    versions->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const char* name : {"Fly11", "Fly21"}) {
        controls_->Item(name)->setCheckable(true);
        versions->addAction(controls_->Item(name));
    }
    commands_->options->SetLanguageItem(controls_->Item("Langage"));
    controls_->Item("CopierTitres")->setCheckable(true);
    std::vector<QAction*> recentItems;
    for (std::size_t i = 1; i <= kRecentFilesKept; ++i)
        recentItems.push_back(controls_->Item("Recent" + std::to_string(i)));
    commands_->recent->SetItems(std::move(recentItems), menuBar()->findChild<QMenu*>("Recents"),
                                controls_->Item("RouvrirDernier"));
    commands_->view->SetItems({controls_->Item("VoirVerification"),
                               controls_->Item("VoirComparaison"), controls_->Item("VoirMondeReel"),
                               controls_->Item("VoirCarte")});
    connect(menuBar()->findChild<QMenu*>("Affichage"), &QMenu::aboutToShow, this,
            [this] { commands_->view->ShowMarks(); });
}

void MainWindow::WireViewPanels() {
    ViewCommands& view = *commands_->view;
    CheckPanel* check = pages_->Check();
    view.Of(ViewCommands::Check) = {[check] { return !check->isHidden(); }, commands_->Check,
                                    [check] { check->hide(); }};
    const auto dock = [](QDockWidget* d, std::function<void()> start) {
        // Closing the panel ends its comparison, as its own close button does.
        return ViewCommands::Panel{[d] { return !d->isHidden(); }, std::move(start),
                                   [d] { d->close(); }};
    };
    view.Of(ViewCommands::Comparison) =
        dock(commands_->compare->Dock(), [this] { commands_->compare->CompareWithClick(); });
    view.Of(ViewCommands::RealWorld) = dock(commands_->reconcile->Dock(), [this] {
        commands_->reconcile->CompareWithRealWorldClick();
    });
    MapWidget* map = pages_->Map();
    view.Of(ViewCommands::Map) = {
        [this, map] { return pages_->isTabVisible(pages_->indexOf(map)); },
        [this, map] {
            pages_->setTabVisible(pages_->indexOf(map), true);
            pages_->setCurrentWidget(map);
        },
        [this, map] { pages_->setTabVisible(pages_->indexOf(map), false); }};
    view.ShowMarks();
}

void MainWindow::WireEvents() {
    // A command chosen while a cell is being typed into works on what the
    // cell shows; after every command, the commands its state allows.
    boundary_.SetBeforeCommand([this] { gridView_->EndEdit(true); });
    boundary_.SetAfterCommand([this] { ShowAvailability(); });
    const auto run = [this](const std::function<void()>& command) { boundary_.Run(command); };
    session_.Undo.Changed = [this] { ShowHistory(); };
    // Whatever command changed the table, its marks show the same way.
    session_.Changed = [this](const TableEffect& effect) {
        statusBar()->clearMessage(); // a note on the previous state no longer holds
        model_->ShowEffect(effect);
        model_->MarksChanged();
        ShowRowCaptions();
        filePanel_->setText(Q(session_.StatusText()));
        if (effect.FlagsMayDiffer()) ShowSelection(true, true);
        if (effect.RowsMoved()) ShowFilterStatus();
        ShowHistory();
    };
    // A load finishes itself in the core; the view starts afresh on its table.
    session_.TableReplaced = [this] { ShowTableReplaced(); };
    model_->RunEdit = run;
    commands_->compare->GoToCell = [this](int row, int column) {
        GoToCell(column < 0 ? session_.Table.CurrentColumn() : column, row);
        ShowRowCaptions();
    };
    commands_->compare->CommitEdit = [this] { gridView_->EndEdit(true); };
    commands_->compare->RunCommand = run;
    commands_->reconcile->RunCommand = run;
    commands_->reconcile->ShowMoves = [this](auto m) { pages_->Map()->SetMoveLines(std::move(m)); };
    commands_->options->AfterFirstRun = [this] {
        activationCounts_ = false;
        if (!filesAfterFirstRun_.empty()) OpenFiles(std::exchange(filesAfterFirstRun_, {}));
        if (std::exchange(reopenAfterFirstRun_, false)) ReopenLastTable();
    };
    commands_->recent->GoToRow = [this](int row) {
        GoToCell(std::max(session_.Table.CurrentColumn(), kFirstFieldColumn), row);
        ShowRowCaptions();
    };
    WireViewPanels();
    commands_->grid->ShowRowCaptions = [this] { ShowRowCaptions(); };
    commands_->bulk->Attach(gridView_, pages_->Filter(), this);
    commands_->bulk->GoToCell = [this](int column, int row) {
        GoToCell(column, row);
        ShowRowCaptions();
    };
    commands_->bulk->FilterShown = [this] { ShowFilterStatus(); };
    // The filter row follows the table's columns.
    connect(model_, &QAbstractItemModel::modelReset, pages_->Filter(), [this] {
        if (!pages_->Filter()->isHidden()) pages_->Filter()->ColumnsChanged();
    });
    commands_->grid->Attach({gridView_, pages_->Definitions(), coordinatePanel_, recordEditor_},
                            run);
    connect(gridView_, &RecordGridView::cellPressed, this,
            [=, this] { run([this] { commands_->rows->DataGridMouseDown(); }); });
    connect(gridView_, &RecordGridView::deletePressed, this, [=, this] {
        run([this] {
            commands_->rows->EmptyCells(gridView_->selectionModel()->selectedIndexes());
        });
    });
    connect(pages_->Map(), &MapWidget::rowClicked, this, [=, this](int row) {
        run([=, this] { GoToCell(session_.Table.CurrentColumn(), row); });
    });
    connect(pages_->Check(), &CheckPanel::cellChosen, this,
            [=, this](int column, int row) { run([=, this] { GoToCell(column, row); }); });
    connect(pages_->Check(), &CheckPanel::cellShown, this,
            [=, this](int column, int row) { run([=, this] { GoToCell(column, row, false); }); });
    connect(pages_->Check(), &CheckPanel::closed, gridView_, [this] { gridView_->setFocus(); });
    // F6 / Shift+F6: the focus goes round the grid and the panels shown
    // beside it, as in other desktop programs.
    for (const bool back : {false, true}) {
        auto* cycle = new QShortcut(
            back ? QKeySequence(Qt::SHIFT | Qt::Key_F6) : QKeySequence(Qt::Key_F6), this);
        cycle->setContext(Qt::WindowShortcut);
        connect(cycle, &QShortcut::activated, this, [this, back] { CyclePanels(back); });
    }
    connect(gridView_->selectionModel(), &QItemSelectionModel::currentChanged, pages_->Map(),
            [this] { pages_->Map()->update(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &MainWindow::ApplicationStateChanged);
}

void MainWindow::CyclePanels(bool back) {
    std::vector<QWidget*> stops{gridView_};
    if (pages_->Check()->isVisible()) stops.push_back(pages_->Check()->List());
    for (DifferencePanel* panel : {commands_->compare->Panel(), commands_->reconcile->Panel()})
        if (panel->isVisible()) stops.push_back(panel->List());
    // From a panel's list, the next stop; from anywhere else (a button, the
    // search box), the grid first.
    const QWidget* focus = QApplication::focusWidget();
    const std::size_t n = stops.size();
    std::size_t next = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (focus && (focus == stops[i] || stops[i]->isAncestorOf(focus)))
            next = (i + (back ? n - 1 : 1)) % n;
    if (next == 0) pages_->ShowRecords();
    stops[next]->setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::SetInitDialog(DirectoriesDialog* dialog) {
    init_ = dialog;
    commands_->options->SetInitDialog(dialog);
    if (!init_) return;
    init_->MarkVersion = [this](int v) { MarkVersion(v); };
    init_->ShowVersion = [this](int v) { ShowVersion(v); };
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && activationCounts_ &&
        !commands_->options->InFirstRunCheck()) {
        activationCounts_ = false;
        // After the activation is handled, so the notice opens over a shown window.
        QTimer::singleShot(
            0, this, [this] { boundary_.Run([this] { commands_->options->FirstRunCheck(); }); });
    }
    return QMainWindow::event(e);
}

void MainWindow::ApplicationStateChanged(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive && !commands_->options->InFirstRunCheck())
        activationCounts_ = true;
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The question's Save may fail: the error shows, and the window stays.
    bool may = false;
    boundary_.Run([&] {
        may = MayReplaceTable();
        if (may) commands_->recent->Closing(session_.Table.CurrentRow());
    });
    if (!may) {
        e->ignore();
        return;
    }
    // A record written into the archive may reach the disk only at its close.
    session_.ReleaseArchive(ui_);
    e->accept();
}

void MainWindow::OpenFiles(const std::vector<std::string>& paths) {
    // Without settings no template can be found yet: the first-run check
    // (on the window's activation) asks for the folders first.
    if (!session_.FirstRunDone && init_ && !commands_->options->FirstRunChecked()) {
        filesAfterFirstRun_ = paths;
        return;
    }
    CommandLineFiles opener({session_, ui_, busy_, *model_, *this, &progress_}, *commands_->files,
                            *commands_->exchange);
    opener.ShowArchiveEntries = [this](const std::string& path) {
        // Once shown: showing the viewer empties its list.
        QTimer::singleShot(0, archiveViewer_, [this, path] {
            boundary_.Run([&] { archiveViewer_->OpenArchive(path); });
        });
        archiveViewer_->exec();
    };
    opener.ShowDefinitions = [this] { pages_->ShowDefinitions(); };
    boundary_.Run([&] { opener.Open(paths); });
}

void MainWindow::ReopenLastTable() {
    if (!session_.FirstRunDone && init_ && !commands_->options->FirstRunChecked()) {
        reopenAfterFirstRun_ = true;
        return;
    }
    boundary_.Run([this] { commands_->recent->ReopenLast(); });
}

void MainWindow::GoToCell(int column, int row, bool focusGrid) {
    RecordTable& t = session_.Table;
    if (row < 1 || row >= t.RowCount()) return;
    t.SetCurrentCell(std::clamp(column, 0, t.ColumnCount() - 1), row);
    pages_->ShowRecords();
    commands_->grid->SyncViewToTable();
    if (focusGrid) gridView_->setFocus();
}

EditorState MainWindow::State() const {
    const RecordTable& t = session_.Table;
    EditorState s;
    s.tableLoaded = tableLoaded_;
    s.dbdLoaded = dbdLoaded_;
    s.directWrite = Mode() == EditMode::DirectWrite;
    s.selectedCount = t.SelectedCount;
    s.canUndo = session_.Undo.CanUndo(t);
    s.canRedo = session_.Undo.CanRedo(t);
    s.comparing = commands_->compare->Active();
    return s;
}

void MainWindow::ShowAvailability() {
    controls_->ShowAvailable(State());
    commands_->view->ShowMarks();
}

void MainWindow::ShowLoad(const LoadOutcome& outcome) {
    if (outcome.templateLoaded) pages_->Definitions()->Show(outcome.definitions);
    if (outcome.templateLoaded || outcome.loaded) gridView_->FitColumns(session_.Table);
    if (!outcome.loaded) return;
    tableLoaded_ = dbdLoaded_ = true;
    model_->MarksChanged();
    ShowSelection(true, true);
}

void MainWindow::ShowImport(const ImportOutcome& outcome) {
    if (outcome.templateLoaded) pages_->Definitions()->Show(outcome.definitions);
    if (outcome.templateLoaded || outcome.tableChanged) gridView_->FitColumns(session_.Table);
    // The counters were recounted, whatever became of the import.
    if (!outcome.selectLabel.empty()) leftColumn_->ShowSelectLabel(Q(outcome.selectLabel));
    if (!outcome.deleteLabel.empty()) leftColumn_->ShowDeleteLabel(Q(outcome.deleteLabel));
    if (!outcome.tableChanged) return;
    tableLoaded_ = true;
    // An opened file is the table as saved (TableReplaced); added rows are
    // a change.
    if (!outcome.templateLoaded) {
        // The table stays the file it was; the file added is a note.
        pages_->Map()->FitOnNextShow();
        filePanel_->setText(Q(session_.StatusText()));
        commands_->grid->RowsUnsorted();
        ShowRowCaptions();
    }
}

// Another table is in (its load finished itself in the core): the view
// starts afresh on it.
void MainWindow::ShowTableReplaced() {
    pages_->Map()->FitOnNextShow();
    // The check spoke of the table that went: F7 checks the new one.
    pages_->Check()->hide();
    commands_->TableReplaced();
    filePanel_->setText(Q(session_.StatusText()));
    commands_->recent->Opened(session_.Source);
    coordinatePanel_->clear(); // the coordinates of a row of the table before
    ShowRowCaptions();
    ShowHistory();
}

void MainWindow::ShowRows(bool refitColumns) {
    if (refitColumns) gridView_->FitColumns(session_.Table);
    ShowRowCaptions();
    filePanel_->setText(Q(session_.StatusText()));
    setWindowModified(HasUnsavedChanges());
}

void MainWindow::ShowSelection(bool selectLabel, bool deleteLabel) {
    const SelectionDisplay d = RefreshSelectionDisplay(session_.Table, lang());
    if (selectLabel) leftColumn_->ShowSelectLabel(Q(d.selectLabel));
    if (deleteLabel) leftColumn_->ShowDeleteLabel(Q(d.deleteLabel));
    ShowAvailability();
}

// The row captions name the current row, whatever made it current (a click,
// the keyboard, a search hit, a row operation): the row named is the row
// the delete, insert and direct-write commands act on.
void MainWindow::ShowRowCaptions(const SearchHit* hit) {
    const Lang l = lang();
    const int row = session_.Table.CurrentRow();
    const BiText& insert = hit ? txt::SearchInserLigneN : txt::BtnInserLigneN;
    leftColumn_->ShowRowCaptions(Q(Format(txt::BtnSuppLigneN.In(l), row)),
                                 Q(Format(insert.In(l), row)));
    captions_.SetItemText(controls_->Item("POD_Enregistrer_ligne"),
                          Q(Format(txt::MenuPodEnregistrerLigneN.In(l), row)));
}

int MainWindow::SearchColumn() const {
    return commands_->search->State().SearchColumn;
}

// Where the hit is, in the status bar: with every field searched, the
// field that matched.
void MainWindow::ShowSearchHit(const SearchHit& hit) {
    const RecordTable& t = session_.Table;
    const std::string field =
        hit.column < t.ColumnCount() ? Cp1252ToUtf8(t.Cell(hit.column, 0)) : std::string();
    const bool shown = commands_->grid->ShowFoundRow(hit.row);
    if (shown) ShowRowCaptions(&hit);
    ShowNote(Format((shown ? txt::SearchHitNote : txt::SearchHitHidden).In(lang()), hit.row,
                    field.c_str()));
}

// "n of N rows shown" while the filter hides some.
void MainWindow::ShowFilterStatus() {
    if (!session_.Filtering()) {
        filterPanel_->hide();
        return;
    }
    filterPanel_->setText(Q(Format(txt::FilterShown.In(lang()), int(session_.KeptRows().size()),
                                   std::max(session_.Table.RowCount() - 1, 0))));
    filterPanel_->setToolTip(Q(txt::FilterActsOn.In(lang())));
    filterPanel_->show();
}

void MainWindow::ScrollToRow(int tableRow) {
    commands_->grid->ScrollToRow(tableRow);
}

EditMode MainWindow::Mode() const {
    return session_.Mode;
}

void MainWindow::ShowNote(const std::string& text) {
    statusBar()->showMessage(Q(text), 15000);
}

void MainWindow::ShowMode(EditMode mode) {
    // The session cleared the steps: rows written in direct-write mode are
    // in the archive, so no step taken before or during it may be undone.
    const bool direct = mode == EditMode::DirectWrite;
    leftColumn_->ShowEditionBox(!direct);
    commands_->grid->SetDirectWrite(direct);
    ShowHistory();
}

void MainWindow::ShowVersion(int version) {
    leftColumn_->ShowVersion(version);
}

void MainWindow::MarkVersion(int version) {
    controls_->Item("Fly11")->setChecked(version == 1);
    controls_->Item("Fly21")->setChecked(version == 2);
}

bool MainWindow::HasUnsavedChanges() const {
    return session_.HasUnsavedChanges();
}

bool MainWindow::MayReplaceTable() {
    gridView_->EndEdit(true); // the question counts the text being typed
    // The question's Save is the Save command's: to the file's DBD, or where
    // the user says when the table has none yet.
    return session_.MayReplaceTable(ui_, [this] { return commands_->exchange->SaveTable(); });
}

// The table or its history changed: the comparison follows, the undo items
// name their steps, and the title's unsaved mark follows the saved state (a
// change sets it; a save, a load, a write of the last unwritten row or an
// undo back to the saved point clears it).
void MainWindow::ShowHistory() {
    if (commands_) commands_->TableChanged();
    if (controls_)
        commands_->undo->ShowItems(controls_->Item("Annuler"), controls_->Item("Retablir"),
                                   captions_);
    ShowTitle();
    setWindowModified(HasUnsavedChanges());
    ShowAvailability();
}

void MainWindow::ShowTitle() {
    const std::string title = session_.WindowTitle();
    if (!title.empty()) setWindowTitle(Q(title));
}

} // namespace orvane
