#include "ui/MainWindow.h"
#include "ui/qt/QtText.h"

#include "database/DbdFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "settings/Texts.h"
#include "table/ValueDisplay.h"
#include "ui/commands/EditionCommands.h"
#include "ui/commands/FileCommands.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"

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
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

namespace {

constexpr int kFlagWidths[4] = {45, 45, 50, 50};
constexpr int kRowHeight = 21;
constexpr int kDefRowHeight = 20;
// Rows sampled to size a field column (never the whole table).
constexpr int kWidthSampleRows = 200;

QLabel* InfoLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(p);
    return label;
}

} // namespace

TForm_main::TForm_main(SessionState& session, UserInteraction& ui, BusyIndicator* busy,
                       std::string iniPath, QWidget* parent)
    : QMainWindow(parent), session_(session), ui_(ui), busy_(busy), iniPath_(std::move(iniPath)) {
    setObjectName("TForm_main");
    setWindowTitle(Q(txt::MainCaption.fr));
    resize(766, 509);

    model_ = new RecordGridModel(session_, this);
    files_ = std::make_unique<FileCommands>(session_, ui_, busy_);
    edition_ = std::make_unique<EditionCommands>(session_, ui_, *model_);

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

    // The flag headings are written once, at creation.
    session_.Table.SetCell(kColNumber, 0, kHeadingNumber);
    session_.Table.SetCell(kColModif, 0, Utf8ToCp1252(txt::HeadingModif.fr));
    session_.Table.SetCell(kColSuppr, 0, "Suppr");
    session_.Table.SetCell(kColExport, 0, "Export");

    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TForm_main::ApplicationStateChanged);

    FormCreate();
    model_->BeginReset();
    model_->EndReset();
    FitColumns();
    DataGrid->Heading()->FitHeight(70); // the heading row's height until a load
    panel3_->setFixedWidth(LeftColumnWidth());
    SyncViewToTable();
    savedRevision_ = session_.Table.Revision();
}

TForm_main::~TForm_main() = default;

void TForm_main::BuildMenu() {
    auto action = [this](QMenu* menu, const char* name, const char* text, auto slot,
                         bool enabled = true) {
        QAction* a = menu->addAction(Q(text));
        a->setObjectName(name);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenuBar* bar = menuBar();
    FichierDBD = bar->addMenu(Q(txt::MenuFichierDBD.fr));
    FichierDBD->setObjectName("FichierDBD");
    POD_ouvrir =
        action(FichierDBD, "POD_ouvrir", txt::MenuPodOuvrir.fr, &TForm_main::POD_ouvrirClick);
    DBD_ouvrir =
        action(FichierDBD, "DBD_ouvrir", txt::MenuDbdOuvrir.fr, &TForm_main::DBD_ouvrirClick);
    FichierDBD->addSeparator();
    DBD_Enregistrer_tout =
        action(FichierDBD, "DBD_Enregistrer_tout", txt::MenuDbdEnregistrerTout.fr,
               &TForm_main::DBD_Enregistrer_toutClick, false);
    DBD_Enregistrer_select =
        action(FichierDBD, "DBD_Enregistrer_select", txt::MenuDbdEnregistrerSelect.fr,
               &TForm_main::DBD_Enregistrer_selectClick, false);
    FichierDBD->addSeparator();
    POD_ouvrir_ligne = action(FichierDBD, "POD_ouvrir_ligne", txt::MenuPodOuvrirLigne,
                              &TForm_main::POD_ouvrir_ligneClick);
    POD_Enregistrer_ligne =
        action(FichierDBD, "POD_Enregistrer_ligne", txt::MenuPodEnregistrerLigne,
               &TForm_main::POD_Enregistrer_ligneClick, false);
    POD_mode_normal = action(FichierDBD, "POD_mode_normal", txt::MenuPodModeNormal,
                             &TForm_main::POD_mode_normalClick, false);

    FichierDEX = bar->addMenu(Q(txt::MenuFichierDEX.fr));
    FichierDEX->setObjectName("FichierDEX");
    DEX_ouvrir =
        action(FichierDEX, "DEX_ouvrir", txt::MenuDexOuvrir.fr, &TForm_main::DEX_ouvrirClick);
    FichierDEX->addSeparator();
    DEX_Enregistrer_tout =
        action(FichierDEX, "DEX_Enregistrer_tout", txt::MenuDexEnregistrerTout.fr,
               &TForm_main::DEX_Enregistrer_toutClick, false);
    DEX_Enregistrer_select =
        action(FichierDEX, "DEX_Enregistrer_select", txt::MenuDexEnregistrerSelect.fr,
               &TForm_main::DEX_Enregistrer_selectClick, false);
    FichierDEX->addSeparator();
    DEX_Ajouter = action(FichierDEX, "DEX_Ajouter", txt::MenuDexAjouter.fr,
                         &TForm_main::DEX_AjouterClick, false);

    FichierCSV = bar->addMenu(Q(txt::MenuFichierCSV.fr));
    FichierCSV->setObjectName("FichierCSV");
    CSV_Import =
        action(FichierCSV, "CSV_Import", txt::MenuCsvImport.fr, &TForm_main::CSV_ImportClick);
    FichierCSV->addSeparator();
    CSV_Enregistrer_tout =
        action(FichierCSV, "CSV_Enregistrer_tout", txt::MenuCsvEnregistrerTout.fr,
               &TForm_main::CSV_Enregistrer_toutClick, false);
    CSV_Enregistrer_select =
        action(FichierCSV, "CSV_Enregistrer_select", txt::MenuCsvEnregistrerSelect.fr,
               &TForm_main::CSV_Enregistrer_selectClick, false);
    FichierCSV->addSeparator();
    CSV_Ajouter = action(FichierCSV, "CSV_Ajouter", txt::MenuCsvAjouter.fr,
                         &TForm_main::CSV_AjouterClick, false);

    Outils = bar->addMenu(Q(txt::MenuOutils.fr));
    Outils->setObjectName("Outils");
    Extraction_POD = action(Outils, "Extraction_POD", txt::MenuExtractionPod.fr,
                            &TForm_main::Extraction_PODClick);
    LancerDexImport = action(Outils, "LancerDexImport", txt::MenuLancerDexImport,
                             &TForm_main::LancerDexImportClick);
    LancerDBImport = action(Outils, "LancerDBImport", txt::MenuLancerDBImport.fr,
                            &TForm_main::LancerDBImportClick);
    Pournepasoublier = action(Outils, "Pournepasoublier", txt::MenuPournepasoublier.fr,
                              &TForm_main::PournepasoublierClick);

    Options = bar->addMenu(Q(txt::MenuOptions.fr));
    Options->setObjectName("Options");
    Initialisation = action(Options, "Initialisation", txt::MenuInitialisation.fr,
                            &TForm_main::InitialisationClick);
    Langage = action(Options, "Langage", txt::MenuLangage.fr, &TForm_main::LangageClick);
    Options->addSeparator();
    Fly11 = action(Options, "Fly11", txt::MenuFly11, &TForm_main::Fly11Click);
    Fly21 = action(Options, "Fly21", txt::MenuFly21, &TForm_main::Fly21Click);
    versionGroup_ = new QActionGroup(this);
    versionGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : {Fly11, Fly21}) {
        a->setCheckable(true);
        versionGroup_->addAction(a);
    }

    // "Imprimer" is a command on the menu bar itself.
    Imprimer = bar->addAction(Q(txt::MenuImprimer.fr));
    Imprimer->setObjectName("Imprimer");
    connect(Imprimer, &QAction::triggered, this, &TForm_main::ImprimerClick);

    Aide = bar->addMenu(Q(txt::MenuAide.fr));
    Aide->setObjectName("Aide");
    Apropos = action(Aide, "Apropos", txt::MenuApropos.fr, &TForm_main::AproposClick);
    AideHTML = action(Aide, "AideHTML", txt::MenuAideHTML.fr, &TForm_main::AideHTMLClick);
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
    auto group = [panel](const char* name, const QString& caption) {
        auto* g = new QGroupBox(caption, panel);
        g->setObjectName(name);
        g->setStyleSheet(QStringLiteral("QGroupBox#%1::title { color: #b08800; }").arg(name));
        return g;
    };
    auto button = [this](QWidget* parent, const char* name, const char* text, auto slot) {
        auto* b = new QPushButton(Q(text), parent);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };

    gbChercher = group("gbChercher", Q(txt::GbChercher.fr));
    auto* find = new QVBoxLayout(gbChercher);
    find->setContentsMargins(4, 2, 4, 4);
    find->setSpacing(3);
    lblNom = InfoLabel(gbChercher);
    lblNom->setObjectName("lblNom");
    lblNom->setText(Q(txt::LblNomUndefined.fr));
    find->addWidget(lblNom);
    cbSrch = new QComboBox(gbChercher);
    cbSrch->setObjectName("cbSrch");
    cbSrch->setEditable(true);
    find->addWidget(cbSrch);
    auto* findButtons = new QHBoxLayout;
    findButtons->setSpacing(3);
    btnChercher1 =
        button(gbChercher, "btnChercher1", txt::BtnChercher1.fr, &TForm_main::btnChercher1Click);
    btnChercher2 =
        button(gbChercher, "btnChercher2", txt::BtnChercher2.fr, &TForm_main::btnChercher2Click);
    findButtons->addWidget(btnChercher1);
    findButtons->addWidget(btnChercher2);
    find->addLayout(findButtons);
    auto* icao = new QHBoxLayout;
    icao->setSpacing(3);
    edOACI = new QLineEdit(gbChercher);
    edOACI->setObjectName("edOACI");
    edOACI->setMaxLength(4);
    btnOACI = button(gbChercher, "btnOACI", txt::BtnOACI.fr, &TForm_main::btnOACIClick);
    icao->addWidget(edOACI, 1);
    icao->addWidget(btnOACI);
    find->addLayout(icao);
    // 110 pixels as designed, or what the platform's font needs.
    gbChercher->setFixedHeight(std::max(110, gbChercher->sizeHint().height()));
    column->addWidget(gbChercher);

    gbEdition = group("gbEdition", Q(txt::GbEdition.fr));
    auto* edit = new QVBoxLayout(gbEdition);
    edit->setContentsMargins(4, 2, 4, 4);
    edit->setSpacing(3);
    btnEffacerTout = button(gbEdition, "btnEffacerTout", txt::BtnEffacerTout.fr,
                            &TForm_main::btnEffacerToutClick);
    btnInserLigne =
        button(gbEdition, "btnInserLigne", txt::BtnInserLigne.fr, &TForm_main::btnInserLigneClick);
    bntAjoutFin =
        button(gbEdition, "bntAjoutFin", txt::BntAjoutFin.fr, &TForm_main::bntAjoutFinClick);
    btnSuppSelect =
        button(gbEdition, "btnSuppSelect", txt::BtnSuppSelect.fr, &TForm_main::btnSuppSelectClick);
    btnSuppLigne =
        button(gbEdition, "btnSuppLigne", txt::BtnSuppLigne.fr, &TForm_main::btnSuppLigneClick);
    for (QPushButton* b : {btnEffacerTout, btnInserLigne, bntAjoutFin, btnSuppSelect, btnSuppLigne})
        edit->addWidget(b);
    column->addWidget(gbEdition);

    gbExport = group("gbExport", Q(txt::GbExport));
    auto* exp = new QVBoxLayout(gbExport);
    exp->setContentsMargins(4, 2, 4, 4);
    exp->setSpacing(3);
    lblSelect = InfoLabel(gbExport);
    lblSelect->setObjectName("lblSelect");
    lblDelete = InfoLabel(gbExport);
    lblDelete->setObjectName("lblDelete");
    exp->addWidget(lblSelect);
    exp->addWidget(lblDelete);
    btnSelectionAll = button(gbExport, "btnSelectionAll", txt::BtnSelectionAll.fr,
                             &TForm_main::btnSelectionAllClick);
    btnSelectionNone = button(gbExport, "btnSelectionNone", txt::BtnSelectionNone.fr,
                              &TForm_main::btnSelectionNoneClick);
    btnSelectPart =
        button(gbExport, "btnSelectPart", txt::BtnSelectPart.fr, &TForm_main::btnSelectPartClick);
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
    records->addWidget(DataGrid);
    PageControl->addTab(vue_globale, Q(txt::TabVueGlobale.fr));

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    auto* defs = new QHBoxLayout(TabSheet2);
    defs->setContentsMargins(0, 0, 0, 0);
    Def_grid = new QTableWidget(0, 2, TabSheet2);
    Def_grid->setObjectName("Def_grid");
    Def_grid->horizontalHeader()->hide();
    Def_grid->verticalHeader()->hide();
    Def_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Def_grid->verticalHeader()->setDefaultSectionSize(kDefRowHeight);
    Def_grid->setColumnWidth(0, 40);
    Def_grid->setColumnWidth(1, 199);
    Def_grid->setFixedWidth(320);
    Def_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Def_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Def_grid->setWordWrap(false);
    defs->addWidget(Def_grid);
    defs->addStretch(1);
    PageControl->addTab(TabSheet2, Q(txt::TabDefinitions.fr));
    PageControl->setCurrentIndex(0);

    connect(DataGrid, &RecordGridView::cellPressed, this, &TForm_main::DataGridMouseDown);
    connect(DataGrid, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        DataGridClickCell(index.column(), RecordGridModel::TableRow(index));
    });
    connect(DataGrid, &QAbstractItemView::doubleClicked, this, &TForm_main::DataGridDblClick);
    connect(DataGrid, &QAbstractItemView::entered, this, &TForm_main::DataGridGridHint);
    connect(DataGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TForm_main::DataGridHeadingClick);
    connect(DataGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { CurrentChanged(current); });
    connect(DataGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectionChanged(); });
    connect(Def_grid, &QTableWidget::cellDoubleClicked, this, [this] { Def_gridDblClick(); });
}

// --- Start-up ------------------------------------------------------------------------

void TForm_main::FormCreate() {
    if (!StartupRead(session_, iniPath_)) {
        session_.FirstRunDone = false;
        return; // French, no version mark, "Fly! version ?", no archive filter
    }
    if (lang() == Lang::English) English();
    MarkVersion(session_.SimulatorVersion);
    const Lang l = lang();
    session_.OpenFilter = txt::OpenFilterAll.In(l);
    ShowVersion(session_.SimulatorVersion);
    if (session_.SimulatorVersion == 1)
        session_.OpenFilter = txt::OpenFilterFly1.In(l);
    else if (session_.SimulatorVersion == 2)
        session_.OpenFilter = txt::OpenFilterFly2.In(l);
}

void TForm_main::English() {
    const Lang e = Lang::English;
    setWindowTitle(Q(txt::MainCaption.In(e)));
    FichierDBD->setTitle(Q(txt::MenuFichierDBD.In(e)));
    POD_ouvrir->setText(Q(txt::MenuPodOuvrir.In(e)));
    DBD_ouvrir->setText(Q(txt::MenuDbdOuvrir.In(e)));
    DBD_Enregistrer_tout->setText(Q(txt::MenuDbdEnregistrerTout.In(e)));
    DBD_Enregistrer_select->setText(Q(txt::MenuDbdEnregistrerSelect.In(e)));
    FichierDEX->setTitle(Q(txt::MenuFichierDEX.In(e)));
    DEX_ouvrir->setText(Q(txt::MenuDexOuvrir.In(e)));
    DEX_Enregistrer_tout->setText(Q(txt::MenuDexEnregistrerTout.In(e)));
    DEX_Enregistrer_select->setText(Q(txt::MenuDexEnregistrerSelect.In(e)));
    DEX_Ajouter->setText(Q(txt::MenuDexAjouter.In(e)));
    FichierCSV->setTitle(Q(txt::MenuFichierCSV.In(e)));
    CSV_Import->setText(Q(txt::MenuCsvImport.In(e)));
    CSV_Enregistrer_tout->setText(Q(txt::MenuCsvEnregistrerTout.In(e)));
    CSV_Enregistrer_select->setText(Q(txt::MenuCsvEnregistrerSelect.In(e)));
    CSV_Ajouter->setText(Q(txt::MenuCsvAjouter.In(e)));
    Outils->setTitle(Q(txt::MenuOutils.In(e)));
    Extraction_POD->setText(Q(txt::MenuExtractionPod.In(e)));
    LancerDBImport->setText(Q(txt::MenuLancerDBImport.In(e)));
    Pournepasoublier->setText(Q(txt::MenuPournepasoublier.In(e)));
    Options->setTitle(Q(txt::MenuOptions.In(e)));
    Initialisation->setText(Q(txt::MenuInitialisation.In(e)));
    Langage->setText(Q(txt::MenuLangage.In(e)));
    PageControl->setTabText(PageControl->indexOf(vue_globale), Q(txt::TabVueGlobale.In(e)));
    PageControl->setTabText(PageControl->indexOf(TabSheet2), Q(txt::TabDefinitions.In(e)));
    Aide->setTitle(Q(txt::MenuAide.In(e)));
    Apropos->setText(Q(txt::MenuApropos.In(e)));
    AideHTML->setText(Q(txt::MenuAideHTML.In(e)));
    Imprimer->setText(Q(txt::MenuImprimer.In(e)));
    gbChercher->setTitle(Q(txt::GbChercher.In(e)));
    gbEdition->setTitle(Q(txt::GbEdition.In(e)));
    lblNom->setText(Q(txt::LblNomUndefined.In(e)));
    btnChercher1->setText(Q(txt::BtnChercher1.In(e)));
    btnChercher2->setText(Q(txt::BtnChercher2.In(e)));
    btnEffacerTout->setText(Q(txt::BtnEffacerTout.In(e)));
    btnInserLigne->setText(Q(txt::BtnInserLigne.In(e)));
    bntAjoutFin->setText(Q(txt::BntAjoutFin.In(e)));
    btnSuppSelect->setText(Q(txt::BtnSuppSelect.In(e)));
    btnSuppLigne->setText(Q(txt::BtnSuppLigne.In(e)));
    btnSelectionAll->setText(Q(txt::BtnSelectionAll.In(e)));
    btnSelectionNone->setText(Q(txt::BtnSelectionNone.In(e)));
    btnSelectPart->setText(Q(txt::BtnSelectPart.In(e)));
    btnOACI->setText(Q(txt::BtnOACI.In(e)));
    session_.Table.SetCell(kColModif, 0, Utf8ToCp1252(txt::HeadingModif.In(e)));
    model_->HeadingsChanged();
}

void TForm_main::SetInitDialog(TForm_init* dialog) {
    init_ = dialog;
    if (!init_) return;
    init_->MarkVersion = [this](int v) { MarkVersion(v); };
    init_->ShowVersion = [this](int v) { ShowVersion(v); };
}

void TForm_main::MarkVersion(int version) {
    if (version == 1)
        Fly11->setChecked(true);
    else if (version == 2)
        Fly21->setChecked(true);
}

void TForm_main::ShowVersion(int version) {
    FlyVersion->setText(Q(Format(txt::FlyVersionFormat, version)));
}

bool TForm_main::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && activationCounts_ && !inFirstRunCheck_) {
        activationCounts_ = false;
        // After the activation is handled, so the notice opens over a shown window.
        QTimer::singleShot(0, this, &TForm_main::FormActivate);
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
}

// --- Options -----------------------------------------------------------------------

void TForm_main::InitialisationClick() {
    if (init_) init_->exec();
}

void TForm_main::LangageClick() {
    Run([&] {
        const bool toEnglish = Langage->text().contains(QStringLiteral("English"));
        LanguageWrite(iniPath_, toEnglish);
        Langage->setText(toEnglish ? Q(txt::MenuLangage.en) : Q(txt::MenuLangage.fr));
        ui_.ShowMessage(MessageKind::Warning, txt::RestartForLanguage);
    });
}

void TForm_main::Fly11Click() {
    SelectVersion(session_, 1);
    ShowVersion(1);
    MarkVersion(1);
}

void TForm_main::Fly21Click() {
    SelectVersion(session_, 2);
    ShowVersion(2);
    MarkVersion(2);
}

// --- Commands ----------------------------------------------------------------------

void TForm_main::Run(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        ui_.ShowMessage(MessageKind::Error, e.what());
    }
}

bool TForm_main::HasUnsavedChanges() const {
    return session_.Table.Revision() != savedRevision_;
}

bool TForm_main::MayReplaceTable() {
    return !HasUnsavedChanges() || ui_.Confirm(txt::UnsavedChanges.In(lang()));
}

bool TForm_main::ApplyLoad(const std::function<LoadOutcome()>& load) {
    LoadOutcome outcome;
    model_->BeginReset();
    try {
        outcome = load();
    } catch (...) {
        model_->EndReset();
        SyncViewToTable();
        throw;
    }
    model_->EndReset();
    if (outcome.templateLoaded) ShowDefinitions(outcome);
    if (outcome.templateLoaded || outcome.loaded) FitColumns();
    if (outcome.loaded) {
        StatusPanel0->setText(Q(outcome.status));
        for (QAction* a : {DBD_Enregistrer_tout, DBD_Enregistrer_select, DEX_Enregistrer_tout,
                           DEX_Enregistrer_select, DEX_Ajouter, CSV_Enregistrer_tout,
                           CSV_Enregistrer_select, CSV_Ajouter})
            a->setEnabled(true);
        ShowSelection(true, true, false);
        savedRevision_ = session_.Table.Revision();
    }
    SyncViewToTable();
    return outcome.loaded;
}

bool TForm_main::LoadArchive(const std::string& path) {
    StatusPanel0->clear();
    return ApplyLoad([&] { return files_->LoadArchive(path); });
}

bool TForm_main::LoadDbd(const std::string& path) {
    return ApplyLoad([&] { return files_->LoadDbd(path); });
}

void TForm_main::POD_ouvrirClick() {
    Run([&] {
        if (!MayReplaceTable()) return;
        if (auto path = files_->ChooseArchive()) LoadArchive(*path);
    });
}

void TForm_main::DBD_ouvrirClick() {
    Run([&] {
        if (!MayReplaceTable()) return;
        if (auto path = files_->ChooseDbd()) LoadDbd(*path);
    });
}

void TForm_main::DBD_Enregistrer_toutClick() {
    Run([&] {
        if (auto path = files_->ChooseSaveTarget()) {
            files_->Save(*path, false);
            savedRevision_ = session_.Table.Revision();
        }
    });
}

void TForm_main::DBD_Enregistrer_selectClick() {
    // A saved selection is not the whole table: the unsaved mark stays.
    Run([&] {
        if (auto path = files_->ChooseSaveTarget()) files_->Save(*path, true);
    });
}

void TForm_main::closeEvent(QCloseEvent* e) {
    if (MayReplaceTable())
        e->accept();
    else
        e->ignore();
}

void TForm_main::ShowDefinitions(const LoadOutcome& outcome) {
    const auto& page = outcome.definitions;
    Def_grid->clearContents();
    Def_grid->setRowCount(int(page.Lines.size()) + 1);
    Def_grid->setItem(0, 1, new QTableWidgetItem(Q(page.Summary)));
    for (std::size_t n = 0; n < page.Lines.size(); ++n) {
        Def_grid->setItem(int(n) + 1, 0, new QTableWidgetItem(QString::number(n + 1)));
        auto* line = new QTableWidgetItem(CellToQString(page.Lines[n]));
        // The column keeps its designed width; a long line reads in full
        // in its hint.
        line->setToolTip(line->text());
        Def_grid->setItem(int(n) + 1, 1, line);
    }
}

// Flag columns as designed; a field column as wide as its longest title word
// or the widest of its first rows, within limits.
void TForm_main::FitColumns() {
    const RecordTable& t = session_.Table;
    const QFontMetrics fm(DataGrid->font());
    const QFontMetrics hfm(DataGrid->horizontalHeader()->font());
    for (int c = 0; c < t.ColumnCount(); ++c) {
        // A flag column keeps its designed width unless its heading needs more
        // in the platform's font ("Change" does).
        int w = c < kFirstFieldColumn ? kFlagWidths[c] : 40;
        for (const QString& word :
             CellToQString(t.Cell(c, 0)).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            w = std::max(w, hfm.horizontalAdvance(word) + 14);
        if (c < kFirstFieldColumn) {
            DataGrid->setColumnWidth(c, w);
            continue;
        }
        const int last = std::min(t.RowCount() - 1, kWidthSampleRows);
        for (int r = 1; r <= last; ++r)
            w = std::max(w, fm.horizontalAdvance(CellToQString(t.Cell(c, r))) + 12);
        DataGrid->setColumnWidth(c, std::min(w, 260));
    }
    DataGrid->Heading()->FitHeight(kRowHeight);
}

// --- Selection display -------------------------------------------------------------

void TForm_main::SetSelectionCommands(bool enabled) {
    for (QAction* a : {DBD_Enregistrer_select, DEX_Enregistrer_select, CSV_Enregistrer_select})
        a->setEnabled(enabled);
}

void TForm_main::ShowSelection(bool selectLabel, bool deleteLabel, bool menus) {
    const SelectionDisplay d = edition_->Display();
    if (selectLabel) lblSelect->setText(Q(d.selectLabel));
    if (deleteLabel) lblDelete->setText(Q(d.deleteLabel));
    if (menus) SetSelectionCommands(d.selectionCommandsEnabled);
}

// --- Edition and Export boxes ------------------------------------------------------

void TForm_main::btnEffacerToutClick() {
    Run([&] {
        if (edition_->EraseAll()) {
            FitColumns();
            SyncViewToTable();
        }
    });
}

void TForm_main::btnInserLigneClick() {
    Run([&] {
        edition_->InsertLine();
        SyncViewToTable();
    });
}

void TForm_main::bntAjoutFinClick() {
    Run([&] {
        edition_->AppendLine();
        SyncViewToTable();
    });
}

void TForm_main::btnSuppSelectClick() {
    Run([&] {
        if (edition_->DeleteSelection()) SyncViewToTable();
    });
}

void TForm_main::btnSuppLigneClick() {
    Run([&] {
        if (edition_->DeleteLine()) SyncViewToTable();
    });
}

void TForm_main::btnSelectionAllClick() {
    Run([&] {
        if (edition_->SelectAll()) ShowSelection(true, false, true);
    });
}

void TForm_main::btnSelectionNoneClick() {
    Run([&] {
        if (edition_->SelectNone()) ShowSelection(true, true, true);
    });
}

void TForm_main::btnSelectPartClick() {
    Run([&] {
        if (edition_->SelectPart()) ShowSelection(true, false, true);
    });
}

// --- Grid events -------------------------------------------------------------------

void TForm_main::DataGridMouseDown() {
    if (edition_->ToggleAtCurrentCell()) ShowSelection(true, true, true);
}

void TForm_main::DataGridDblClick() {
    // The record editor opens here in a later version.
}

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
    const Lang l = lang();
    if (column - 3 < Def_grid->rowCount()) Def_grid->setCurrentCell(column - 3, 1);
    const auto& fields = session_.Fields();
    const std::size_t field = std::size_t(column - kFirstFieldColumn);
    lblNom->setText(field < fields.size() ? CellToQString(fields[field].Title) : QString());
    searchColumn_ = column;
    btnChercher1->setText(Q(txt::BtnChercher1.In(l)));
    btnSuppLigne->setText(Q(Format(txt::BtnSuppLigneN.In(l), row)));
    btnInserLigne->setText(Q(Format(txt::BtnInserLigneN.In(l), row)));
    POD_Enregistrer_ligne->setText(Q(Format(txt::MenuPodEnregistrerLigneN.In(l), row)));
}

void TForm_main::DataGridHeadingClick(int column) {
    DataGridClickCell(column, 0);
    if (!sortingAllowed_ || session_.Table.RowCount() < 3) return;
    if (column != sortColumn_) {
        sortColumn_ = column;
        sortAscending_ = true;
    } else {
        sortAscending_ = !sortAscending_;
    }
    BusyScope busy(busy_);
    model_->Sort(column, sortAscending_);
    SyncViewToTable();
}

void TForm_main::Def_gridDblClick() {
    const int column = Def_grid->currentRow() + 3;
    if (column < 0 || column >= session_.Table.ColumnCount()) return;
    session_.Table.SetCurrentColumn(column);
    SyncViewToTable();
}

// The table's current cell and the view's follow each other; the table's
// wins after anything that reset the grid.
void TForm_main::SyncViewToTable() {
    const RecordTable& t = session_.Table;
    const int row = t.CurrentRow() - 1;
    const int col = t.CurrentColumn();
    if (row < 0 || row >= model_->rowCount() || col < 0 || col >= model_->columnCount()) return;
    syncing_ = true;
    const QModelIndex index = model_->index(row, col);
    DataGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    DataGrid->scrollTo(index);
    syncing_ = false;
}

void TForm_main::CurrentChanged(const QModelIndex& current) {
    if (!current.isValid()) return;
    session_.Table.SetCurrentCell(current.column(), RecordGridModel::TableRow(current));
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

int TForm_main::LeftColumnWidth() const {
    // 135 pixels as designed, or what the longest caption needs in the
    // platform's font (the row captions grow with the row number).
    int w = 135;
    const QFontMetrics fm(btnInserLigne->font());
    const Lang l = lang();
    for (const QString& text :
         {Q(Format(txt::BtnInserLigneN.In(l), 99999)), Q(Format(txt::BtnSuppLigneN.In(l), 99999)),
          btnEffacerTout->text(), bntAjoutFin->text(), btnSuppSelect->text(),
          btnSelectionAll->text(), btnSelectionNone->text(), btnSelectPart->text(),
          Q(Format(txt::SelectLabel.In(l), 99999)), Q(Format(txt::DeleteLabel.In(l), 99999))})
        w = std::max(w, fm.horizontalAdvance(text) + 36);
    return w;
}

} // namespace orvane
