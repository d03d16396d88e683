// The main window: the record grid, the definitions page, the search, edition
// and export boxes on the left, the status bar and the menu. Commands are
// carried out by the command classes (FileCommands, EditionCommands); the
// window wires them to its controls and shows their results.
#pragma once

#include "database/SessionState.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QModelIndex;

namespace orvane {

class EditionCommands;
class FileCommands;
class RecordGridModel;
class RecordGridView;
class TForm_init;
struct LoadOutcome;

class TForm_main : public QMainWindow {
    Q_OBJECT
  public:
    // The settings are read from iniPath during construction (FormCreate).
    TForm_main(SessionState& session, UserInteraction& ui, BusyIndicator* busy, std::string iniPath,
               QWidget* parent = nullptr);
    ~TForm_main() override;

    // The directories dialog, created after this window.
    void SetInitDialog(TForm_init* dialog);

    // Lays the English texts over the French ones (at creation only).
    void English();

    // Loads without a dialog (the work half of the two open commands).
    bool LoadArchive(const std::string& path);
    bool LoadDbd(const std::string& path);

    RecordGridModel* Model() const { return model_; }
    int SearchColumn() const { return searchColumn_; }
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }
    // Heading clicks sort only while this is on (off in direct-write mode).
    void SetSortingAllowed(bool on) { sortingAllowed_ = on; }
    // The table holds changes made since it was loaded or saved whole.
    bool HasUnsavedChanges() const;

    // Controls, under their component names.
    QLabel* FlyVersion = nullptr;
    QGroupBox* gbChercher = nullptr;
    QLabel* lblNom = nullptr;
    QComboBox* cbSrch = nullptr;
    QPushButton* btnChercher1 = nullptr;
    QPushButton* btnChercher2 = nullptr;
    QLineEdit* edOACI = nullptr;
    QPushButton* btnOACI = nullptr;
    QGroupBox* gbEdition = nullptr;
    QPushButton* btnEffacerTout = nullptr;
    QPushButton* btnInserLigne = nullptr;
    QPushButton* bntAjoutFin = nullptr;
    QPushButton* btnSuppSelect = nullptr;
    QPushButton* btnSuppLigne = nullptr;
    QGroupBox* gbExport = nullptr;
    QLabel* lblSelect = nullptr;
    QLabel* lblDelete = nullptr;
    QPushButton* btnSelectionAll = nullptr;
    QPushButton* btnSelectionNone = nullptr;
    QPushButton* btnSelectPart = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* vue_globale = nullptr;
    QWidget* TabSheet2 = nullptr;
    RecordGridView* DataGrid = nullptr;
    QTableWidget* Def_grid = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    QMenu* FichierDBD = nullptr;
    QAction* POD_ouvrir = nullptr;
    QAction* DBD_ouvrir = nullptr;
    QAction* DBD_Enregistrer_tout = nullptr;
    QAction* DBD_Enregistrer_select = nullptr;
    QAction* POD_ouvrir_ligne = nullptr;
    QAction* POD_Enregistrer_ligne = nullptr;
    QAction* POD_mode_normal = nullptr;
    QMenu* FichierDEX = nullptr;
    QAction* DEX_ouvrir = nullptr;
    QAction* DEX_Enregistrer_tout = nullptr;
    QAction* DEX_Enregistrer_select = nullptr;
    QAction* DEX_Ajouter = nullptr;
    QMenu* FichierCSV = nullptr;
    QAction* CSV_Import = nullptr;
    QAction* CSV_Enregistrer_tout = nullptr;
    QAction* CSV_Enregistrer_select = nullptr;
    QAction* CSV_Ajouter = nullptr;
    QMenu* Outils = nullptr;
    QAction* Extraction_POD = nullptr;
    QAction* LancerDexImport = nullptr;
    QAction* LancerDBImport = nullptr;
    QAction* Pournepasoublier = nullptr;
    QMenu* Options = nullptr;
    QAction* Initialisation = nullptr;
    QAction* Langage = nullptr;
    QAction* Fly11 = nullptr;
    QAction* Fly21 = nullptr;
    QAction* Imprimer = nullptr;
    QMenu* Aide = nullptr;
    QAction* Apropos = nullptr;
    QAction* AideHTML = nullptr;

  public slots:
    // DBD files.
    void POD_ouvrirClick();
    void DBD_ouvrirClick();
    void DBD_Enregistrer_toutClick();
    void DBD_Enregistrer_selectClick();
    // Edition and Export boxes.
    void btnEffacerToutClick();
    void btnInserLigneClick();
    void bntAjoutFinClick();
    void btnSuppSelectClick();
    void btnSuppLigneClick();
    void btnSelectionAllClick();
    void btnSelectionNoneClick();
    void btnSelectPartClick();
    // Grid events.
    void DataGridClickCell(int column, int row);
    void DataGridMouseDown();
    void DataGridDblClick();
    void DataGridGridHint(const QModelIndex& index);
    void DataGridHeadingClick(int column);
    void Def_gridDblClick();
    // Options.
    void InitialisationClick();
    void LangageClick();
    void Fly11Click();
    void Fly21Click();
    // Start-up: the first-run check, run when the window becomes active.
    void FormActivate();
    void ApplicationStateChanged(Qt::ApplicationState state);

    // Commands of later work; present in the menu, they do nothing yet.
    void POD_ouvrir_ligneClick() {}
    void POD_Enregistrer_ligneClick() {}
    void POD_mode_normalClick() {}
    void DEX_ouvrirClick() {}
    void DEX_Enregistrer_toutClick() {}
    void DEX_Enregistrer_selectClick() {}
    void DEX_AjouterClick() {}
    void CSV_ImportClick() {}
    void CSV_Enregistrer_toutClick() {}
    void CSV_Enregistrer_selectClick() {}
    void CSV_AjouterClick() {}
    void Extraction_PODClick() {}
    void LancerDexImportClick() {}
    void LancerDBImportClick() {}
    void PournepasoublierClick() {}
    void ImprimerClick() {}
    void AproposClick() {}
    void AideHTMLClick() {}
    void btnChercher1Click() {}
    void btnChercher2Click() {}
    void btnOACIClick() {}

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenu();
    void BuildLeftColumn(QWidget* panel);
    void BuildPages();
    void FormCreate();
    void MarkVersion(int version);
    void ShowVersion(int version);

    // Runs a command; a core error is shown by the general error display and
    // the program carries on.
    void Run(const std::function<void()>& command);
    bool MayReplaceTable();
    bool ApplyLoad(const std::function<LoadOutcome()>& load);
    void ShowDefinitions(const LoadOutcome& outcome);
    void FitColumns();
    void ShowSelection(bool selectLabel, bool deleteLabel, bool menus);
    void SetSelectionCommands(bool enabled);
    void SyncViewToTable();
    void CurrentChanged(const QModelIndex& current);
    void SelectionChanged();
    void ApplyPanel(int action, const std::string& text);
    int LeftColumnWidth() const;

    Lang lang() const { return session_.Language_(); }

    SessionState& session_;
    UserInteraction& ui_;
    BusyIndicator* busy_;
    std::string iniPath_;
    TForm_init* init_ = nullptr;
    RecordGridModel* model_ = nullptr;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<EditionCommands> edition_;
    QActionGroup* versionGroup_ = nullptr;
    QWidget* panel3_ = nullptr;

    int searchColumn_ = -1;
    int sortColumn_ = 4;
    bool sortAscending_ = true;
    bool sortingAllowed_ = true;
    std::uint64_t savedRevision_ = 0;
    bool syncing_ = false;
    // The first-run check runs when the window becomes active coming from
    // outside the program (its first showing included), never when it comes
    // back from the program's own notice or dialog.
    bool activationCounts_ = true;
    bool inFirstRunCheck_ = false;
};

} // namespace orvane
