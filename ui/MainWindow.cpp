#include "ui/MainWindow.h"

#include "database/DbdFile.h"
#include "exchange/DexFile.h"
#include "platform/Cp1252.h"
#include "settings/Memo.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "table/Search.h"
#include "table/ValueDisplay.h"
#include "ui/commands/CommandLineFiles.h"
#include "ui/commands/CompareCommands.h"
#include "ui/commands/DirectWriteCommands.h"
#include "ui/commands/EditionCommands.h"
#include "ui/commands/ExchangeCommands.h"
#include "ui/commands/FileCommands.h"
#include "ui/commands/OptionsCommands.h"
#include "ui/commands/PrintCommands.h"
#include "ui/commands/ReconcileCommands.h"
#include "ui/commands/SearchCommands.h"
#include "ui/commands/ToolsCommands.h"
#include "ui/commands/UndoCommands.h"
#include "ui/dialogs/ArchiveViewer.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/grid/DefinitionsPage.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"
#include "ui/map/CheckPanel.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/QtText.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace orvane {

namespace {

constexpr int kFlagWidths[4] = {45, 45, 50, 50};
constexpr int kRowHeight = 21;
// Rows sampled to size a field column (never the whole table).
constexpr int kWidthSampleRows = 200;

QLabel* InfoLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(p);
    return label;
}

} // namespace

TForm_main::TForm_main(SessionState& session, UserInteraction& ui, BusyIndicator* busy,
                       std::string iniPath, QWidget* parent)
    : QMainWindow(parent), session_(session), ui_(ui), busy_(busy), iniPath_(std::move(iniPath)),
      boundary_(ui, [this] { return lang(); }) {
    setObjectName("TForm_main");
    captions_.Title(this, txt::MainCaption, Captions::kUnsavedMark);
    resize(766, 509);

    model_ = new RecordGridModel(session_, this);
    progress_.parent = this;
    const CommandContext context{session_, ui_, busy_, *model_, *this, &progress_};
    files_ = std::make_unique<FileCommands>(context);
    edition_ = std::make_unique<EditionCommands>(context);
    exchange_ = std::make_unique<ExchangeCommands>(context);
    directWrite_ = std::make_unique<DirectWriteCommands>(context);
    search_ = std::make_unique<SearchCommands>(context);
    print_ = std::make_unique<PrintCommands>(context);
    tools_ = std::make_unique<ToolsCommands>(context, this, MemoFilePath(iniPath_));
    options_ = std::make_unique<OptionsCommands>(context, iniPath_, captions_);
    undo_ = std::make_unique<UndoCommands>(context);

    BuildMenu();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    panel3_ = new QWidget(central);
    panel3_->setObjectName("Panel3");
    BuildLeftColumn(panel3_);
    layout->addWidget(panel3_);
    auto* panel4 = new QWidget(central);
    panel4->setObjectName("Panel4");
    auto* right = new QVBoxLayout(panel4);
    right->setContentsMargins(0, 0, 0, 0);
    PageControl = new QTabWidget(panel4);
    PageControl->setObjectName("PageControl");
    right->addWidget(PageControl);
    layout->addWidget(panel4, 1);
    setCentralWidget(central);
    BuildPages();
    compare_ = std::make_unique<CompareCommands>(context, this, captions_);
    compare_->GoToCell = [this](int row, int column) {
        GoToCell(column < 0 ? session_.Table.CurrentColumn() : column, row);
        ShowRowCaptions();
    };
    compare_->CommitEdit = [this] { DataGrid->EndEdit(true); };
    reconcile_ = std::make_unique<ReconcileCommands>(context, this, captions_);
    reconcile_->GoToCell = compare_->GoToCell;
    reconcile_->CommitEdit = compare_->CommitEdit;

    // Status bar: panel 0 the loaded file, panel 1 the coordinate text.
    // Panel 0 is 600 pixels wide, or as wide as its text in the platform's font.
    StatusPanel0 = new QLabel(this);
    StatusPanel0->setMinimumWidth(600);
    StatusPanel1 = new QLabel(this);
    statusBar()->setObjectName("StatusBar");
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);

    // Hints on a yellow background.
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(255, 255, 0));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    WireCommands();
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TForm_main::ApplicationStateChanged);

    FormCreate();
    if (lang() == Lang::French) captions_.Apply(Lang::French); // the menus' mnemonics
    WriteFlagHeadings();
    { RecordGridModel::Reset reset(*model_); }
    FitColumns();
    DataGrid->Heading()->FitHeight(70); // the heading row's height until a load
    panel3_->setFixedWidth(LeftColumnWidth());
    session_.Undo.Reset(session_.Table);
    // After the settings: the viewer speaks the language read.
    Podview = new ArchiveViewer(session_, ui_, busy_, this);
    // The record editor's captions follow the language read too.
    saisie_ = new RecordEditorDialog(session_, ui_, this);
    print_->Attach(this, DataGrid);
}

TForm_main::~TForm_main() {
    // Nothing reaches the commands while the window goes: an open cell
    // editing is dropped, the history no longer calls back.
    DataGrid->EndEdit(false);
    session_.Undo.Changed = nullptr;
}

// --- Layout --------------------------------------------------------------------------

void TForm_main::BuildMenu() {
    auto action = [this](QMenu* menu, const char* name, BiText text, QKeySequence keys = {}) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(name);
        a->setShortcut(keys);
        a->setEnabled(false); // until WireCommands gives it a handler
        captions_.Text(a, text);
        return a;
    };
    auto menu = [this](const char* name, BiText title) {
        QMenu* m = menuBar()->addMenu(QString());
        m->setObjectName(name);
        captions_.Title(m, title);
        captions_.Mnemonics(m);
        return m;
    };
    const auto ctrl = [](QKeyCombination key) {
        return QKeySequence(
            QKeyCombination(Qt::ControlModifier | key.keyboardModifiers(), key.key()));
    };
    captions_.Mnemonics(menuBar());

    FichierDBD = menu("FichierDBD", txt::MenuFichierDBD);
    POD_ouvrir = action(FichierDBD, "POD_ouvrir", txt::MenuPodOuvrir, ctrl(Qt::Key_O));
    DBD_ouvrir =
        action(FichierDBD, "DBD_ouvrir", txt::MenuDbdOuvrir, ctrl(Qt::ShiftModifier | Qt::Key_O));
    FichierDBD->addSeparator();
    DBD_Enregistrer_tout =
        action(FichierDBD, "DBD_Enregistrer_tout", txt::MenuDbdEnregistrerTout, ctrl(Qt::Key_S));
    DBD_Enregistrer_select =
        action(FichierDBD, "DBD_Enregistrer_select", txt::MenuDbdEnregistrerSelect);
    FichierDBD->addSeparator();
    POD_ouvrir_ligne = action(FichierDBD, "POD_ouvrir_ligne", Both(txt::MenuPodOuvrirLigne));
    POD_Enregistrer_ligne =
        action(FichierDBD, "POD_Enregistrer_ligne", Both(txt::MenuPodEnregistrerLigne));
    POD_mode_normal = action(FichierDBD, "POD_mode_normal", Both(txt::MenuPodModeNormal));
    FichierDBD->addSeparator();
    Quitter = action(FichierDBD, "Quitter", txt::MenuQuitter, ctrl(Qt::Key_Q));

    FichierDEX = menu("FichierDEX", txt::MenuFichierDEX);
    DEX_ouvrir = action(FichierDEX, "DEX_ouvrir", txt::MenuDexOuvrir);
    FichierDEX->addSeparator();
    DEX_Enregistrer_tout = action(FichierDEX, "DEX_Enregistrer_tout", txt::MenuDexEnregistrerTout);
    DEX_Enregistrer_select =
        action(FichierDEX, "DEX_Enregistrer_select", txt::MenuDexEnregistrerSelect);
    FichierDEX->addSeparator();
    DEX_Ajouter = action(FichierDEX, "DEX_Ajouter", txt::MenuDexAjouter);

    FichierCSV = menu("FichierCSV", txt::MenuFichierCSV);
    CSV_Import = action(FichierCSV, "CSV_Import", txt::MenuCsvImport);
    FichierCSV->addSeparator();
    CSV_Enregistrer_tout = action(FichierCSV, "CSV_Enregistrer_tout", txt::MenuCsvEnregistrerTout);
    CSV_Enregistrer_select =
        action(FichierCSV, "CSV_Enregistrer_select", txt::MenuCsvEnregistrerSelect);
    FichierCSV->addSeparator();
    CSV_Ajouter = action(FichierCSV, "CSV_Ajouter", txt::MenuCsvAjouter);

    Edition = menu("Edition", txt::MenuEdition);
    Annuler = action(Edition, "Annuler", txt::MenuUndo, ctrl(Qt::Key_Z));
    Retablir = action(Edition, "Retablir", txt::MenuRedo, ctrl(Qt::Key_Y));
    Retablir->setShortcuts({ctrl(Qt::Key_Y), ctrl(Qt::ShiftModifier | Qt::Key_Z)});
    connect(Edition, &QMenu::aboutToShow, this, [this] { ShowHistory(); });
    Edition->addSeparator();
    Comparer = action(Edition, "Comparer", txt::MenuCompare);
    DifferenceSuivante =
        action(Edition, "DifferenceSuivante", txt::MenuNextDifference, QKeySequence(Qt::Key_F8));
    DifferencePrecedente = action(Edition, "DifferencePrecedente", txt::MenuPreviousDifference,
                                  QKeySequence(Qt::SHIFT | Qt::Key_F8));
    EffacerComparaison = action(Edition, "EffacerComparaison", txt::MenuClearComparison);
    Edition->addSeparator();
    // Ctrl+Enter: not taken by the line edits (the search box has the focus at start).
    EditRecord = action(Edition, "EditRecord", txt::MenuEditRecord, ctrl(Qt::Key_Return));
    EditRecord->setShortcuts({ctrl(Qt::Key_Return), ctrl(Qt::Key_Enter)});

    Outils = menu("Outils", txt::MenuOutils);
    Extraction_POD = action(Outils, "Extraction_POD", txt::MenuExtractionPod);
    LancerDexImport = action(Outils, "LancerDexImport", Both(txt::MenuLancerDexImport));
    LancerDBImport = action(Outils, "LancerDBImport", txt::MenuLancerDBImport);
    Pournepasoublier = action(Outils, "Pournepasoublier", txt::MenuPournepasoublier);

    Options = menu("Options", txt::MenuOptions);
    Initialisation = action(Options, "Initialisation", txt::MenuInitialisation);
    Langage = action(Options, "Langage", txt::MenuLangage);
    Options->addSeparator();
    Fly11 = action(Options, "Fly11", Both(txt::MenuFly11));
    Fly21 = action(Options, "Fly21", Both(txt::MenuFly21));
    versionGroup_ = new QActionGroup(this);
    versionGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : {Fly11, Fly21}) {
        a->setCheckable(true);
        versionGroup_->addAction(a);
    }

    // "Imprimer" is a command on the menu bar itself.
    Imprimer = menuBar()->addAction(QString());
    Imprimer->setObjectName("Imprimer");
    Imprimer->setShortcut(ctrl(Qt::Key_P));
    Imprimer->setEnabled(false);
    captions_.Text(Imprimer, txt::MenuImprimer);

    Aide = menu("Aide", txt::MenuAide);
    Apropos = action(Aide, "Apropos", txt::MenuApropos);
    AideHTML = action(Aide, "AideHTML", txt::MenuAideHTML, QKeySequence(Qt::Key_F1));
    Outils->addSeparator();
    Verifier = action(Outils, "Verifier", txt::MenuVerifier, QKeySequence(Qt::Key_F7));
    CompareOurAirports = action(Outils, "CompareOurAirports", txt::MenuReconcile);

    // Keyboard commands without a menu item.
    FocusSearch = new QAction(this);
    FocusSearch->setObjectName("FocusSearch");
    FocusSearch->setShortcut(ctrl(Qt::Key_F));
    FindNext = new QAction(this);
    FindNext->setObjectName("FindNext");
    FindNext->setShortcut(QKeySequence(Qt::Key_F3));
    for (QAction* a : {FocusSearch, FindNext}) {
        a->setEnabled(false);
        addAction(a);
    }
}

void TForm_main::BuildLeftColumn(QWidget* panel) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(4);

    FlyVersion = new QLabel(Q(txt::FlyVersionUnknown), panel);
    FlyVersion->setObjectName("FlyVersion");
    FlyVersion->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FlyVersion->setAlignment(Qt::AlignCenter);
    QFont bold = FlyVersion->font();
    bold.setBold(true);
    FlyVersion->setFont(bold);
    QPalette blue = FlyVersion->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    FlyVersion->setPalette(blue);
    column->addWidget(FlyVersion);

    // Group box captions in yellow (a dark yellow, readable on the
    // platform's light window colour).
    auto group = [this, panel](const char* name, BiText caption) {
        auto* g = new QGroupBox(panel);
        g->setObjectName(name);
        g->setStyleSheet(QStringLiteral("QGroupBox#%1::title { color: #b08800; }").arg(name));
        captions_.Title(g, caption);
        return g;
    };
    auto button = [this](QWidget* parent, const char* name, BiText text) {
        auto* b = new QPushButton(parent);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setEnabled(false); // until WireCommands gives it a handler
        captions_.Text(b, text);
        return b;
    };
    auto box = [](QGroupBox* g) {
        auto* l = new QVBoxLayout(g);
        l->setContentsMargins(4, 2, 4, 4);
        l->setSpacing(3);
        return l;
    };

    gbChercher = group("gbChercher", txt::GbChercher);
    auto* find = box(gbChercher);
    lblNom = InfoLabel(gbChercher, "lblNom");
    captions_.Text(lblNom, txt::LblNomUndefined);
    find->addWidget(lblNom);
    cbSrch = new QComboBox(gbChercher);
    cbSrch->setObjectName("cbSrch");
    cbSrch->setEditable(true);
    find->addWidget(cbSrch);
    auto* findButtons = new QHBoxLayout;
    findButtons->setSpacing(3);
    btnChercher1 = button(gbChercher, "btnChercher1", txt::BtnChercher1);
    btnChercher2 = button(gbChercher, "btnChercher2", txt::BtnChercher2);
    findButtons->addWidget(btnChercher1);
    findButtons->addWidget(btnChercher2);
    find->addLayout(findButtons);
    auto* icao = new QHBoxLayout;
    icao->setSpacing(3);
    edOACI = new QLineEdit(gbChercher);
    edOACI->setObjectName("edOACI");
    edOACI->setMaxLength(5); // index keys have up to 5 characters
    btnOACI = button(gbChercher, "btnOACI", txt::BtnOACI);
    icao->addWidget(edOACI, 1);
    icao->addWidget(btnOACI);
    find->addLayout(icao);
    // 110 pixels as designed, or what the platform's font needs.
    gbChercher->setFixedHeight(std::max(110, gbChercher->sizeHint().height()));
    column->addWidget(gbChercher);

    gbEdition = group("gbEdition", txt::GbEdition);
    auto* edit = box(gbEdition);
    btnEffacerTout = button(gbEdition, "btnEffacerTout", txt::BtnEffacerTout);
    btnInserLigne = button(gbEdition, "btnInserLigne", txt::BtnInserLigne);
    btnAjoutFin = button(gbEdition, "bntAjoutFin", txt::BtnAjoutFin);
    btnSuppSelect = button(gbEdition, "btnSuppSelect", txt::BtnSuppSelect);
    btnSuppLigne = button(gbEdition, "btnSuppLigne", txt::BtnSuppLigne);
    for (QPushButton* b : {btnEffacerTout, btnInserLigne, btnAjoutFin, btnSuppSelect, btnSuppLigne})
        edit->addWidget(b);
    column->addWidget(gbEdition);

    gbExport = group("gbExport", Both(txt::GbExport));
    auto* exp = box(gbExport);
    lblSelect = InfoLabel(gbExport, "lblSelect");
    lblDelete = InfoLabel(gbExport, "lblDelete");
    exp->addWidget(lblSelect);
    exp->addWidget(lblDelete);
    btnSelectionAll = button(gbExport, "btnSelectionAll", txt::BtnSelectionAll);
    btnSelectionNone = button(gbExport, "btnSelectionNone", txt::BtnSelectionNone);
    btnSelectPart = button(gbExport, "btnSelectPart", txt::BtnSelectPart);
    for (QPushButton* b : {btnSelectionAll, btnSelectionNone, btnSelectPart})
        exp->addWidget(b);
    column->addWidget(gbExport);
    column->addStretch(1);
}

void TForm_main::BuildPages() {
    vue_globale = new QWidget;
    vue_globale->setObjectName("vue_globale");
    auto* records = new QVBoxLayout(vue_globale);
    records->setContentsMargins(0, 0, 0, 0);
    DataGrid = new RecordGridView(vue_globale);
    DataGrid->setObjectName("DataGrid");
    DataGrid->setModel(model_);
    BuildMapAndCheck(records);
    PageControl->addTab(vue_globale, QString());
    captions_.Tab(PageControl, vue_globale, txt::TabVueGlobale);

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    auto* defs = new QHBoxLayout(TabSheet2);
    defs->setContentsMargins(0, 0, 0, 0);
    Def_grid = new DefinitionsPage(TabSheet2);
    Def_grid->setObjectName("Def_grid");
    defs->addWidget(Def_grid); // the whole page: long lines read in full
    PageControl->addTab(TabSheet2, QString());
    captions_.Tab(PageControl, TabSheet2, txt::TabDefinitions);
    PageControl->addTab(Carte, QString());
    captions_.Tab(PageControl, Carte, txt::TabCarte);
    PageControl->setCurrentIndex(0);
    // The map's keys work as soon as its page shows.
    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        if (PageControl->currentWidget() == Carte) Carte->setFocus(Qt::TabFocusReason);
    });
}

// --- Wiring ----------------------------------------------------------------------------

void TForm_main::WireCommands() {
    // A command chosen while a cell is being typed into works on what the cell shows.
    boundary_.SetBeforeCommand([this] { DataGrid->EndEdit(true); });
    const CommandBoundary& b = boundary_;
    // Menu items.
    b.Wire(POD_ouvrir, [this] { files_->POD_ouvrirClick(); });
    b.Wire(DBD_ouvrir, [this] { files_->DBD_ouvrirClick(); });
    b.Wire(DBD_Enregistrer_tout, [this] { files_->DBD_Enregistrer_toutClick(); });
    b.Wire(DBD_Enregistrer_select, [this] { files_->DBD_Enregistrer_selectClick(); });
    b.Wire(Quitter, [this] { close(); });
    b.Wire(Initialisation, [this] { options_->InitialisationClick(); });
    b.Wire(Langage, [this] { options_->LangageClick(Langage); });
    b.Wire(Fly11, [this] { options_->Fly11Click(); });
    b.Wire(Fly21, [this] { options_->Fly21Click(); });
    b.Wire(Imprimer, [this] { print_->ImprimerClick(); });
    b.Wire(FocusSearch, [this] {
        cbSrch->setFocus(Qt::ShortcutFocusReason);
        cbSrch->lineEdit()->selectAll();
    });
    // Edition and Export boxes.
    b.Wire(btnEffacerTout, [this] { edition_->btnEffacerToutClick(); });
    b.Wire(btnInserLigne, [this] { edition_->btnInserLigneClick(); });
    b.Wire(btnAjoutFin, [this] { edition_->bntAjoutFinClick(); });
    b.Wire(btnSuppSelect, [this] { edition_->btnSuppSelectClick(); });
    b.Wire(btnSuppLigne, [this] { edition_->btnSuppLigneClick(); });
    b.Wire(btnSelectionAll, [this] { edition_->btnSelectionAllClick(); });
    b.Wire(btnSelectionNone, [this] { edition_->btnSelectionNoneClick(); });
    b.Wire(btnSelectPart, [this] { edition_->btnSelectPartClick(); });
    // DEX and CSV menus, direct write, archive viewer.
    exchange_->LeaveDirectWrite = [this] { directWrite_->Leave(); };
    b.Wire(DEX_ouvrir, [this] { exchange_->DEX_ouvrirClick(); });
    b.Wire(DEX_Enregistrer_tout, [this] { exchange_->DEX_Enregistrer_toutClick(); });
    b.Wire(DEX_Enregistrer_select, [this] { exchange_->DEX_Enregistrer_selectClick(); });
    b.Wire(DEX_Ajouter, [this] { exchange_->DEX_AjouterClick(); });
    b.Wire(CSV_Import, [this] { exchange_->CSV_ImportClick(); });
    b.Wire(CSV_Enregistrer_tout, [this] { exchange_->CSV_Enregistrer_toutClick(); });
    b.Wire(CSV_Enregistrer_select, [this] { exchange_->CSV_Enregistrer_selectClick(); });
    b.Wire(CSV_Ajouter, [this] { exchange_->CSV_AjouterClick(); });
    b.Wire(POD_ouvrir_ligne,
           [this] { directWrite_->POD_ouvrir_ligneClick([this] { files_->POD_ouvrirClick(); }); });
    b.Wire(POD_Enregistrer_ligne, [this] { directWrite_->POD_Enregistrer_ligneClick(); });
    b.Wire(POD_mode_normal, [this] { directWrite_->POD_mode_normalClick(); });
    b.Wire(Extraction_POD, [this] { Podview->exec(); });
    // Find box, tools and help.
    b.Wire(btnChercher1, [this] { search_->btnChercher1Click(); });
    b.Wire(btnChercher2, [this] { search_->btnChercher2Click(); });
    b.Wire(btnOACI, [this] { search_->btnOACIClick(); });
    b.Wire(FindNext, [this] { search_->FindNextClick(); });
    search_->Attach({cbSrch, btnChercher1, btnChercher2, lblNom, edOACI, btnOACI}, b);
    b.Wire(LancerDBImport, [this] { tools_->LancerDBImportClick(); });
    b.Wire(LancerDexImport, [this] { tools_->LancerDexImportClick(); });
    b.Wire(Pournepasoublier, [this] { tools_->PournepasoublierClick(); });
    b.Wire(Apropos, [this] { tools_->AproposClick(); });
    b.Wire(AideHTML, [this] { tools_->AideHTMLClick(); });
    b.Wire(Verifier, [this] {
        PageControl->setCurrentWidget(vue_globale); // F7 on another page too
        Verification->VerifierClick();
    });
    CommandBoundary::SetAvailable(Verifier, true);
    connect(Carte, &MapWidget::rowClicked, this, [this](int row) {
        boundary_.Run([&] { GoToCell(session_.Table.CurrentColumn(), row); });
    });
    connect(Verification, &CheckPanel::cellChosen, this,
            [this](int column, int row) { boundary_.Run([&] { GoToCell(column, row); }); });
    connect(Verification, &CheckPanel::cellShown, this,
            [this](int column, int row) { boundary_.Run([&] { GoToCell(column, row, false); }); });
    connect(DataGrid->selectionModel(), &QItemSelectionModel::currentChanged, Carte,
            [this] { Carte->update(); });
    // Undo and redo: rows may come back in another order than the arrow says.
    const auto undone = [this] {
        rowsSorted_ = false;
        ShowSortArrow();
    };
    b.Wire(Annuler, [this, undone] {
        undo_->UndoClick();
        undone();
    });
    b.Wire(Retablir, [this, undone] {
        undo_->RedoClick();
        undone();
    });
    session_.Undo.Changed = [this] { ShowHistory(); };
    b.Wire(Comparer, [this] {
        reconcile_->TableReplaced(); // one comparison at a time colours the grid
        compare_->CompareWithClick();
    });
    b.Wire(CompareOurAirports, [this] { reconcile_->CompareWithRealWorldClick(); });
    reconcile_->Started = [this] { compare_->TableReplaced(); };
    reconcile_->ShowMoves = [this](auto moves) { Carte->SetMoveLines(std::move(moves)); };
    reconcile_->CheckTable = [this] { Verification->VerifierClick(); };
    b.Wire(DifferenceSuivante, [this] { compare_->NextDifferenceClick(); });
    b.Wire(DifferencePrecedente, [this] { compare_->PreviousDifferenceClick(); });
    b.Wire(EffacerComparaison, [this] { compare_->ClearClick(); });
    compare_->SetItems({DifferenceSuivante, DifferencePrecedente, EffacerComparaison});
    b.Wire(EditRecord, [this] { DataGridDblClick(); });

    // Enabled at start: every control that has a command, but the saves
    // (a load enables them) and the direct-write items (their mode does).
    for (QAction* a : {POD_ouvrir,
                       DBD_ouvrir,
                       POD_ouvrir_ligne,
                       Quitter,
                       DEX_ouvrir,
                       CSV_Import,
                       Extraction_POD,
                       LancerDexImport,
                       LancerDBImport,
                       Pournepasoublier,
                       Initialisation,
                       Langage,
                       Fly11,
                       Fly21,
                       Imprimer,
                       Apropos,
                       AideHTML,
                       FocusSearch,
                       FindNext,
                       Comparer,
                       CompareOurAirports,
                       EditRecord})
        CommandBoundary::SetAvailable(a, true);
    for (QPushButton* button : panel3_->findChildren<QPushButton*>())
        CommandBoundary::SetAvailable(button, true);

    // Grid events.
    auto run = [this](auto command) { boundary_.Run(command); };
    connect(DataGrid, &RecordGridView::cellPressed, this,
            [=, this] { run([this] { edition_->DataGridMouseDown(); }); });
    connect(DataGrid, &RecordGridView::deletePressed, this, [=, this] {
        run([this] { edition_->EmptyCells(DataGrid->selectionModel()->selectedIndexes()); });
    });
    connect(DataGrid, &QAbstractItemView::clicked, this, [=, this](const QModelIndex& index) {
        run([&] { DataGridClickCell(index.column(), RecordGridModel::TableRow(index)); });
    });
    connect(DataGrid, &QAbstractItemView::entered, this,
            [=, this](const QModelIndex& index) { run([&] { DataGridGridHint(index); }); });
    connect(DataGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [=, this](int column) { run([&] { DataGridHeadingClick(column); }); });
    connect(DataGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [=, this](const QModelIndex& current) { run([&] { CurrentChanged(current); }); });
    connect(DataGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [=, this] { run([this] { SelectionChanged(); }); });
    connect(Def_grid, &QTableWidget::cellDoubleClicked, this,
            [=, this] { run([this] { Def_gridDblClick(); }); });
    connect(DataGrid, &QAbstractItemView::doubleClicked, this,
            [=, this] { run([this] { DataGridDblClick(); }); });
    // The table's current cell wins after anything that reset the grid.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { SyncViewToTable(); });
}

// --- Start-up ------------------------------------------------------------------------

void TForm_main::FormCreate() {
    if (!StartupRead(session_, iniPath_)) {
        session_.FirstRunDone = false;
        return; // French, no version mark, "Fly! version ?", no archive filter
    }
    if (lang() == Lang::English) English();
    MarkVersion(session_.SimulatorVersion);
    ShowVersion(session_.SimulatorVersion);
    session_.OpenFilter = OpenFilterFor(session_.SimulatorVersion, lang());
}

void TForm_main::English() {
    captions_.Apply(Lang::English);
    WriteFlagHeadings();
}

// "n°", "Modif", "Suppr", "Export": at creation and with every load (a
// "Tout effacer" empties them with the rest).
void TForm_main::WriteFlagHeadings() {
    RecordTable& t = session_.Table;
    const std::uint64_t before = t.Revision();
    t.SetCell(kColNumber, 0, kHeadingNumber);
    t.SetCell(kColModif, 0, Utf8ToCp1252(txt::HeadingModif.In(lang())));
    t.SetCell(kColSuppr, 0, "Suppr");
    t.SetCell(kColExport, 0, "Export");
    session_.Undo.Adopt(t, before); // the headings are no step to take back
    model_->HeadingsChanged();
}

void TForm_main::SetInitDialog(DirectoriesDialog* dialog) {
    init_ = dialog;
    options_->SetInitDialog(dialog);
    if (!init_) return;
    init_->MarkVersion = [this](int v) { MarkVersion(v); };
    init_->ShowVersion = [this](int v) { ShowVersion(v); };
}

void TForm_main::MarkVersion(int version) {
    Fly11->setChecked(version == 1);
    Fly21->setChecked(version == 2);
}

void TForm_main::ShowVersion(int version) {
    FlyVersion->setText(version == 0 ? Q(txt::FlyVersionUnknown)
                                     : Q(Format(txt::FlyVersionFormat, version)));
}

bool TForm_main::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && activationCounts_ && !inFirstRunCheck_) {
        activationCounts_ = false;
        // After the activation is handled, so the notice opens over a shown window.
        QTimer::singleShot(0, this, [this] { boundary_.Run([this] { FormActivate(); }); });
    }
    return QMainWindow::event(e);
}

void TForm_main::ApplicationStateChanged(Qt::ApplicationState state) {
    // Coming back from another program counts as an activation again.
    if (state != Qt::ApplicationActive && !inFirstRunCheck_) activationCounts_ = true;
}

void TForm_main::FormActivate() {
    if (session_.FirstRunDone || inFirstRunCheck_) return;
    inFirstRunCheck_ = true;
    ui_.ShowMessage(MessageKind::Warning, txt::FirstRunNotice.In(lang()));
    if (init_) init_->exec();
    inFirstRunCheck_ = false;
    activationCounts_ = false;
    firstRunChecked_ = true;
    if (!filesAfterFirstRun_.empty()) OpenFiles(std::exchange(filesAfterFirstRun_, {}));
}

void TForm_main::closeEvent(QCloseEvent* e) {
    if (!MayReplaceTable()) {
        e->ignore();
        return;
    }
    // A record written into the archive may reach the disk only at its close.
    session_.ReleaseArchive(ui_);
    e->accept();
}

// --- What the commands show ------------------------------------------------------------

bool TForm_main::HasUnsavedChanges() const {
    return !session_.Undo.IsClean(session_.Table);
}

bool TForm_main::MayReplaceTable() {
    // In direct-write mode the rows changed and not written yet are named;
    // any other change gets the plain question.
    DataGrid->EndEdit(true); // the question counts the text being typed
    if (model_->TrackingUnwritten() && !model_->UnwrittenRows().empty())
        return directWrite_->MayDropUnwritten();
    return !HasUnsavedChanges() || ui_.Confirm(txt::UnsavedChanges.In(lang()));
}

void TForm_main::MarkSaved() {
    session_.Undo.MarkClean(session_.Table);
}

void TForm_main::ShowHistory() {
    if (compare_) compare_->Refresh(); // the table changed: the comparison follows
    if (reconcile_) reconcile_->Refresh();
    if (undo_ && Annuler)
        undo_->ShowItems(Annuler, Retablir, !modeView_.editionGroupVisible, captions_);
    ShowSavedState();
}

// The title's mark follows the table's saved state: a change sets it; a
// save, a load, a write of the last unwritten row or an undo back to the
// saved point clears it.
void TForm_main::ShowSavedState() {
    setWindowModified(HasUnsavedChanges());
}

// Panel 0 names the file loaded; its record count is the table's own, kept
// up to date as rows come and go.
void TForm_main::ShowStatus(const std::string& status) {
    const QString text = Q(status);
    const QRegularExpression count(
        QStringLiteral("\\d+(?= %1)")
            .arg(QRegularExpression::escape(Q(txt::RecordsWord.In(lang())))));
    const QRegularExpressionMatch m = count.match(text);
    statusBefore_ = m.hasMatch() ? text.left(m.capturedStart()) : text;
    statusAfter_ = m.hasMatch() ? text.mid(m.capturedEnd()) : QString();
    statusHasCount_ = m.hasMatch();
    ShowStatusCount();
}

void TForm_main::ShowStatusCount() {
    if (!statusHasCount_) {
        StatusPanel0->setText(statusBefore_);
        return;
    }
    StatusPanel0->setText(
        statusBefore_ + QString::number(std::max(session_.Table.RowCount() - 1, 0)) + statusAfter_);
}

void TForm_main::ScrollToRow(int tableRow) {
    if (tableRow < 1 || tableRow > model_->rowCount()) return;
    const int column = std::clamp(session_.Table.CurrentColumn(), 0, model_->columnCount() - 1);
    DataGrid->scrollTo(model_->index(tableRow - 1, column));
}

bool TForm_main::LoadArchive(const std::string& path) {
    return files_->LoadArchive(path);
}

bool TForm_main::LoadDbd(const std::string& path) {
    return files_->LoadDbd(path);
}

void TForm_main::OpenFiles(const std::vector<std::string>& paths) {
    // Without settings no template can be found yet: the first-run check
    // (on the window's activation) asks for the folders first.
    if (!session_.FirstRunDone && init_ && !firstRunChecked_) {
        filesAfterFirstRun_ = paths;
        return;
    }
    CommandLineFiles opener({session_, ui_, busy_, *model_, *this, &progress_}, *files_,
                            *exchange_);
    opener.ShowArchiveEntries = [this](const std::string& path) {
        // Once shown: showing the viewer empties its list.
        QTimer::singleShot(0, Podview,
                           [this, path] { boundary_.Run([&] { Podview->OpenArchive(path); }); });
        Podview->exec();
    };
    opener.ShowDefinitions = [this] { PageControl->setCurrentWidget(TabSheet2); };
    boundary_.Run([&] { opener.Open(paths); });
}

void TForm_main::ShowLoad(const LoadOutcome& outcome) {
    if (outcome.templateLoaded) Def_grid->Show(outcome.definitions);
    if (outcome.loaded) WriteFlagHeadings();
    if (outcome.templateLoaded || outcome.loaded) FitColumns();
    if (!outcome.loaded) return;
    Carte->FitOnNextShow();
    if (compare_) compare_->TableReplaced();
    if (reconcile_) reconcile_->TableReplaced();
    session_.Undo.Reset(session_.Table); // a load starts a new history
    ShowStatus(outcome.status);
    search_->TableLoaded();
    for (QAction* a : {DBD_Enregistrer_tout, DBD_Enregistrer_select, DEX_Enregistrer_tout,
                       DEX_Enregistrer_select, DEX_Ajouter, CSV_Enregistrer_tout,
                       CSV_Enregistrer_select, CSV_Ajouter})
        CommandBoundary::SetAvailable(a, true);
    ApplyModeToAdds();
    directWrite_->TableLoaded();
    ShowSelection(true, true, false);
    rowsSorted_ = false; // rows in file order
    ShowSortArrow();
    ShowRowCaptions();
    MarkSaved();
}

void TForm_main::ShowRows(bool refitColumns) {
    if (refitColumns) FitColumns();
    ShowRowCaptions();
    ShowStatusCount();
    ShowSavedState();
}

void TForm_main::ShowSelection(bool selectLabel, bool deleteLabel, bool menus) {
    const SelectionDisplay d = RefreshSelectionDisplay(session_.Table, lang());
    if (selectLabel) lblSelect->setText(Q(d.selectLabel));
    if (deleteLabel) lblDelete->setText(Q(d.deleteLabel));
    if (menus)
        for (QAction* a : {DBD_Enregistrer_select, DEX_Enregistrer_select, CSV_Enregistrer_select})
            CommandBoundary::SetAvailable(a, d.selectionCommandsEnabled);
}

// The row captions name the current row, whatever made it current (a click,
// the keyboard, a search hit, a row operation): the row named is the row
// the delete, insert and direct-write commands act on.
void TForm_main::ShowRowCaptions(const SearchHit* hit) {
    const Lang l = lang();
    const int row = session_.Table.CurrentRow();
    btnSuppLigne->setText(Q(hit ? hit->deleteCaption : Format(txt::BtnSuppLigneN.In(l), row)));
    btnInserLigne->setText(Q(hit ? hit->insertCaption : Format(txt::BtnInserLigneN.In(l), row)));
    captions_.SetItemText(
        POD_Enregistrer_ligne,
        Q(hit ? hit->writeCaption : Format(txt::MenuPodEnregistrerLigneN.In(l), row)));
}

int TForm_main::SearchColumn() const {
    return search_->State().SearchColumn;
}

// The found row becomes current (its last cell) and is selected whole; the
// grid scrolls to it and keeps its horizontal place, so the columns the
// user was reading stay in view.
void TForm_main::ShowSearchHit(const SearchHit& hit) {
    const int across = DataGrid->horizontalScrollBar()->value();
    SyncViewToTable();
    const int r = hit.row - 1;
    if (r < 0 || r >= model_->rowCount()) return;
    DataGrid->selectionModel()->select(
        QItemSelection(model_->index(r, 0), model_->index(r, model_->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    DataGrid->horizontalScrollBar()->setValue(across);
    ShowRowCaptions(&hit);
}

// Flag columns as designed ("n°" as wide as the table's largest row
// number); a field column as wide as its longest title word or the widest
// of its first rows, within limits.
void TForm_main::FitColumns() {
    const RecordTable& t = session_.Table;
    const QFontMetrics fm(DataGrid->font());
    const QFontMetrics hfm(DataGrid->horizontalHeader()->font());
    const QString largestNumber(QString::number(std::max(t.RowCount() - 1, 1)).size(), '0');
    for (int c = 0; c < t.ColumnCount(); ++c) {
        // A flag column keeps its designed width unless its heading needs more
        // in the platform's font ("Change" does).
        int w = c < kFirstFieldColumn ? kFlagWidths[c] : 40;
        for (const QString& word :
             CellToQString(t.Cell(c, 0)).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            w = std::max(w, hfm.horizontalAdvance(word) + 14);
        if (c == kColNumber) w = std::max(w, fm.horizontalAdvance(largestNumber) + 12);
        if (c < kFirstFieldColumn) {
            DataGrid->setColumnWidth(c, w);
            continue;
        }
        // Measuring a text shapes it, which is slow: only the longest few of
        // the sampled texts are measured.
        std::array<std::string_view, 3> longest{};
        const int last = std::min(t.RowCount() - 1, kWidthSampleRows);
        for (int r = 1; r <= last; ++r) {
            std::string_view text = t.Cell(c, r);
            for (auto& kept : longest)
                if (text.size() > kept.size()) std::swap(text, kept);
        }
        for (const auto& text : longest)
            w = std::max(w, fm.horizontalAdvance(CellToQString(text)) + 12);
        DataGrid->setColumnWidth(c, std::min(w, 260));
    }
    DataGrid->Heading()->FitHeight(kRowHeight);
}

// --- Grid events -------------------------------------------------------------------

void TForm_main::ApplyPanel(int action, const std::string& text) {
    switch (static_cast<PanelAction>(action)) {
    case PanelAction::Set:
        StatusPanel1->setText(Q(text));
        break;
    case PanelAction::Clear:
        StatusPanel1->clear();
        break;
    case PanelAction::Leave:
        break;
    }
}

void TForm_main::DataGridGridHint(const QModelIndex& index) {
    if (!index.isValid()) return;
    const HintResult r = GridHint(session_.Table, index.column(), RecordGridModel::TableRow(index),
                                  session_.Display);
    ApplyPanel(int(r.panel), r.panelText);
}

void TForm_main::DataGridClickCell(int column, int row) {
    const RecordTable& t = session_.Table;
    if (row > 0) {
        const HintResult r = ClickPanel(t, column, row, session_.Display);
        ApplyPanel(int(r.panel), r.panelText);
    }
    if (column < kFirstFieldColumn) return;
    if (column - 3 < Def_grid->rowCount()) Def_grid->setCurrentCell(column - 3, 1);
    const auto& fields = session_.Fields();
    const std::size_t field = std::size_t(column - kFirstFieldColumn);
    search_->FieldCellClicked(column, field < fields.size() ? CellToQString(fields[field].Title)
                                                            : QString());
}

void TForm_main::DataGridHeadingClick(int column) {
    DataGridClickCell(column, 0);
    if (sortingAllowed_ && session_.Table.RowCount() >= 3) {
        if (column != sortColumn_) {
            sortColumn_ = column;
            sortAscending_ = true;
        } else {
            sortAscending_ = !sortAscending_;
        }
        BusyScope busy(busy_);
        SessionStep step(session_,
                         {txt::StepSort, 0, Cp1252ToUtf8(session_.Table.Cell(column, 0))});
        model_->Sort(column, sortAscending_);
        rowsSorted_ = true;
    }
    // The arrow shows the order the rows are in, not the header's own guess.
    ShowSortArrow();
}

void TForm_main::ShowSortArrow() {
    DataGrid->Heading()->setSortIndicator(
        rowsSorted_ ? sortColumn_ : -1, sortAscending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The arrow takes room from its heading's text, which may wrap once more.
    if (rowsSorted_) DataGrid->Heading()->FitHeight(kRowHeight);
}

void TForm_main::Def_gridDblClick() {
    const int column = Def_grid->currentRow() + 3;
    if (column < 0 || column >= session_.Table.ColumnCount()) return;
    session_.Table.SetCurrentColumn(column);
    SyncViewToTable();
}

// The table's current cell and the view's follow each other.
void TForm_main::SyncViewToTable() {
    const RecordTable& t = session_.Table;
    const int row = t.CurrentRow() - 1;
    const int col = t.CurrentColumn();
    if (row < 0 || row >= model_->rowCount() || col < 0 || col >= model_->columnCount()) return;
    const QModelIndex index = model_->index(row, col);
    DataGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    DataGrid->scrollTo(index);
}

void TForm_main::CurrentChanged(const QModelIndex& current) {
    if (!current.isValid()) return;
    session_.Table.SetCurrentCell(current.column(), RecordGridModel::TableRow(current));
    // Making a cell current collapses the table's rectangle onto it; a drag
    // moves the current cell while it stretches the rectangle, so the view's
    // rectangle is laid back.
    SelectionChanged();
    ShowRowCaptions();
}

void TForm_main::SelectionChanged() {
    const QItemSelection selection = DataGrid->selectionModel()->selection();
    RecordTable& t = session_.Table;
    if (selection.isEmpty()) {
        t.SetSelection({t.CurrentColumn(), t.CurrentRow(), t.CurrentColumn(), t.CurrentRow()});
        return;
    }
    CellRect rect{selection.first().left(), selection.first().top() + 1, selection.first().right(),
                  selection.first().bottom() + 1};
    for (const QItemSelectionRange& range : selection) {
        rect.left = std::min(rect.left, range.left());
        rect.right = std::max(rect.right, range.right());
        rect.top = std::min(rect.top, range.top() + 1);
        rect.bottom = std::max(rect.bottom, range.bottom() + 1);
    }
    t.SetSelection(rect);
}

void TForm_main::DataGridDblClick() {
    RecordTable& t = session_.Table;
    const int row = t.CurrentRow();
    if (row < 1 || row >= t.RowCount() || !saisie_) return;
    const std::uint64_t before = t.Revision();
    if (saisie_->exec() != QDialog::Accepted) return;
    // "Fermer" wrote the row and its flags and recounted the selection.
    if (t.Revision() != before) model_->RowChanged(row);
    ShowSelection(true, false, true);
}

int TForm_main::LeftColumnWidth() const {
    // 135 pixels as designed, or what the longest caption needs in the
    // platform's font (the row captions grow with the row number).
    int w = 135;
    const QFontMetrics fm(btnInserLigne->font());
    const Lang l = lang();
    for (const QString& text :
         {Q(Format(txt::BtnInserLigneN.In(l), 999999)), Q(Format(txt::BtnSuppLigneN.In(l), 999999)),
          btnEffacerTout->text(), btnAjoutFin->text(), btnSuppSelect->text(),
          btnSelectionAll->text(), btnSelectionNone->text(), btnSelectPart->text(),
          Q(Format(txt::SelectLabel.In(l, 999999), 999999)),
          Q(Format(txt::DeleteLabel.In(l, 999999), 999999))})
        w = std::max(w, fm.horizontalAdvance(text) + 36);
    return w;
}

// --- Exchange files and direct write ---------------------------------------------------

EditMode TForm_main::Mode() const {
    return directWrite_->Mode();
}

void TForm_main::ShowImport(const ImportOutcome& outcome) {
    if (outcome.templateLoaded) Def_grid->Show(outcome.definitions);
    if (outcome.templateLoaded || outcome.tableChanged) FitColumns();
    const ExchangeMenuItems& on = outcome.enable;
    const std::pair<QAction*, bool> items[] = {{DEX_Enregistrer_tout, on.DEX_Enregistrer_tout},
                                               {DEX_Enregistrer_select, on.DEX_Enregistrer_select},
                                               {DEX_Ajouter, on.DEX_Ajouter},
                                               {CSV_Enregistrer_tout, on.CSV_Enregistrer_tout},
                                               {CSV_Enregistrer_select, on.CSV_Enregistrer_select},
                                               {CSV_Ajouter, on.CSV_Ajouter}};
    for (const auto& [action, enable] : items)
        if (enable) CommandBoundary::SetAvailable(action, true);
    ApplyModeToAdds();
    // The counters were recounted, whatever became of the import.
    if (!outcome.selectLabel.empty()) lblSelect->setText(Q(outcome.selectLabel));
    if (!outcome.deleteLabel.empty()) lblDelete->setText(Q(outcome.deleteLabel));
    if (!outcome.tableChanged) return;
    Carte->FitOnNextShow();
    ShowStatus(outcome.status);
    if (outcome.templateLoaded) search_->TableLoaded();
    rowsSorted_ = false;
    ShowSortArrow();
    ShowRowCaptions();
    // An opened file is the table as saved; added rows are a change.
    if (outcome.templateLoaded && compare_) compare_->TableReplaced();
    if (outcome.templateLoaded && reconcile_) reconcile_->TableReplaced();
    if (outcome.templateLoaded) session_.Undo.Reset(session_.Table);
}

void TForm_main::ShowNote(const std::string& text) {
    statusBar()->showMessage(Q(text), 15000);
}

void TForm_main::ShowMode(const EditModeView& mode) {
    // Rows written in direct-write mode are in the archive: no step taken
    // before or during that mode may be undone after it.
    const bool modeChanged = mode.editionGroupVisible != modeView_.editionGroupVisible;
    modeView_ = mode;
    if (modeChanged) session_.Undo.Clear(session_.Table);
    ShowHistory();
    gbEdition->setVisible(mode.editionGroupVisible);
    SetSortingAllowed(mode.headingSortEnabled);
    CommandBoundary::SetAvailable(POD_Enregistrer_ligne, mode.writeRowEnabled);
    CommandBoundary::SetAvailable(POD_mode_normal, mode.normalModeEnabled);
    // Back in the normal mode the adds come back once a table is loaded.
    const bool loaded = session_.CurrentPod != nullptr;
    CommandBoundary::SetAvailable(DEX_Ajouter, mode.dexAddEnabled && loaded);
    CommandBoundary::SetAvailable(CSV_Ajouter, mode.csvAddEnabled && loaded);
    // In direct-write mode the row edited is the row to write: Enter stays
    // on it, and the fields the write leaves alone cannot be edited.
    model_->SetDirectWrite(mode.writeRowEnabled);
    if (saisie_) saisie_->SetProtectedFields(mode.writeRowEnabled);
    DataGrid->SetMoveDownOnEnter(!mode.writeRowEnabled);
}

void TForm_main::ApplyModeToAdds() {
    if (!modeView_.dexAddEnabled) CommandBoundary::SetAvailable(DEX_Ajouter, false);
    if (!modeView_.csvAddEnabled) CommandBoundary::SetAvailable(CSV_Ajouter, false);
}

// --- Map and check ------------------------------------------------------------------

void TForm_main::BuildMapAndCheck(QVBoxLayout* records) {
    auto* split = new QSplitter(Qt::Horizontal, vue_globale);
    split->addWidget(DataGrid);
    Verification = new CheckPanel(session_, model_, split);
    split->addWidget(Verification);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    records->addWidget(split);
    Carte = new MapWidget(session_, model_);
    Carte->setObjectName("Carte");
    captions_.Text(Carte->FitAllAction(), txt::MapFitAll);
    captions_.Text(Carte->CentreAction(), txt::MapCentre);
    captions_.Text(Carte->ZoomInAction(), txt::MapZoomIn);
    captions_.Text(Carte->ZoomOutAction(), txt::MapZoomOut);
}

void TForm_main::GoToCell(int column, int row, bool focusGrid) {
    RecordTable& t = session_.Table;
    if (row < 1 || row >= t.RowCount()) return;
    t.SetCurrentCell(std::clamp(column, 0, t.ColumnCount() - 1), row);
    PageControl->setCurrentWidget(vue_globale);
    SyncViewToTable();
    if (focusGrid) DataGrid->setFocus();
}

} // namespace orvane
