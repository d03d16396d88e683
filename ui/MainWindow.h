// The main window: it builds its layout (the record grid, the definitions
// page, the search, edition and export boxes on the left, the status bar
// and the menu) and wires each control to its command class in commands/.
// It shows what the commands report (EditorView) and handles the grid's own
// events: cell clicks, hints, heading sorts.
#pragma once

#include "database/DirectWrite.h"
#include "ui/Captions.h"
#include "ui/commands/CommandContext.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtProgress.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class QModelIndex;

namespace orvane {

class CompareCommands;
class ReconcileCommands;
class DirectWriteCommands;
class DefinitionsPage;
class EditionCommands;
class ExchangeCommands;
class FileCommands;
class OptionsCommands;
class PrintCommands;
class RecordGridModel;
class RecordGridView;
class SearchCommands;
class DirectoriesDialog;
class ArchiveViewer;
class RecordEditorDialog;
class ToolsCommands;
class MapWidget;
class CheckPanel;
class UndoCommands;

class TForm_main : public QMainWindow, private EditorView {
    Q_OBJECT
  public:
    // The settings are read from iniPath during construction (FormCreate).
    TForm_main(SessionState& session, UserInteraction& ui, BusyIndicator* busy, std::string iniPath,
               QWidget* parent = nullptr);
    ~TForm_main() override;

    // The directories dialog, created after this window.
    void SetInitDialog(DirectoriesDialog* dialog);

    // Lays the English texts over the French ones (at creation only).
    void English();

    // Loads without a dialog (the work half of the two open commands).
    bool LoadArchive(const std::string& path);
    bool LoadDbd(const std::string& path);
    // Files named on the command line, opened as their menu commands do;
    // on a first run, once the first-run check has set up the folders.
    void OpenFiles(const std::vector<std::string>& paths);

    RecordGridModel* Model() const { return model_; }
    const Captions& Texts() const { return captions_; }
    int SearchColumn() const;
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
    QPushButton* btnAjoutFin = nullptr; // component "bntAjoutFin"
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
    DefinitionsPage* Def_grid = nullptr;
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
    QAction* Quitter = nullptr;
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
    // Keyboard only: Ctrl+F to the search box, F3 the next hit.
    QAction* FocusSearch = nullptr;
    QAction* FindNext = nullptr;
    // The archive viewer of "Extraction POD", shown modally.
    ArchiveViewer* Podview = nullptr;
    // How soon the progress dialogs of long work show.
    ProgressSettings& Progress() { return progress_; }
    EditMode Mode() const;

    // Grid events.
    void DataGridClickCell(int column, int row);
    void DataGridGridHint(const QModelIndex& index);
    void DataGridHeadingClick(int column);
    void Def_gridDblClick();
    // The record editor on the current row, modal.
    void DataGridDblClick();
    // Start-up: the first-run check, run when the window becomes active.
    void FormActivate();
    void ApplicationStateChanged(Qt::ApplicationState state);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenu();
    void BuildLeftColumn(QWidget* panel);
    void BuildPages();
    void WireCommands();
    void FormCreate();
    void WriteFlagHeadings();

    // EditorView.
    void ShowLoad(const LoadOutcome& outcome) override;
    void ShowRows(bool refitColumns) override;
    void ShowSelection(bool selectLabel, bool deleteLabel, bool menus) override;
    void MarkSaved() override;
    bool MayReplaceTable() override;
    void ShowVersion(int version) override;
    void MarkVersion(int version) override;
    void ShowImport(const ImportOutcome& outcome) override;
    void ShowNote(const std::string& text) override;
    void ShowMode(const EditModeView& mode) override;
    // The add items stay out of reach in direct-write mode.
    void ApplyModeToAdds();
    void ShowSearchHit(const SearchHit& hit) override;
    void ScrollToRow(int tableRow) override;
    void ShowSavedState();
    void ShowStatus(const std::string& status);
    void ShowStatusCount();

    void FitColumns();
    void ShowSortArrow();
    void SyncViewToTable();
    void CurrentChanged(const QModelIndex& current);
    void SelectionChanged();
    // After a search hit, the hit's own captions.
    void ShowRowCaptions(const SearchHit* hit = nullptr);
    void ApplyPanel(int action, const std::string& text);
    int LeftColumnWidth() const;

    Lang lang() const { return session_.Language_(); }

    SessionState& session_;
    UserInteraction& ui_;
    BusyIndicator* busy_;
    std::string iniPath_;
    CommandBoundary boundary_;
    Captions captions_;
    DirectoriesDialog* init_ = nullptr;
    RecordGridModel* model_ = nullptr;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<EditionCommands> edition_;
    std::unique_ptr<ExchangeCommands> exchange_;
    std::unique_ptr<DirectWriteCommands> directWrite_;
    std::unique_ptr<SearchCommands> search_;
    std::unique_ptr<PrintCommands> print_;
    std::unique_ptr<ToolsCommands> tools_;
    std::unique_ptr<OptionsCommands> options_;
    QActionGroup* versionGroup_ = nullptr;
    QWidget* panel3_ = nullptr;

    int sortColumn_ = 4;
    bool sortAscending_ = true;
    bool sortingAllowed_ = true;
    bool rowsSorted_ = false; // by a heading click since the load
    // The first-run check runs when the window becomes active coming from
    // outside the program (its first showing included), never when it comes
    // back from the program's own notice or dialog.
    bool activationCounts_ = true;
    bool inFirstRunCheck_ = false;
    bool firstRunChecked_ = false; // once in this run
    std::vector<std::string> filesAfterFirstRun_;
    ProgressSettings progress_;
    EditModeView modeView_;
    // Panel 0's text around its record count (none: no count in it).
    QString statusBefore_, statusAfter_;
    bool statusHasCount_ = false;

  public:
    RecordEditorDialog* Saisie() const { return saisie_; }
    PrintCommands* Printing() const { return print_.get(); }

  private:
    RecordEditorDialog* saisie_ = nullptr; // the record editor, one for the whole run

  public:
    // The map page and the check's findings beside the grid.
    MapWidget* Carte = nullptr;
    CheckPanel* Verification = nullptr;
    QAction* Verifier = nullptr;
    // Makes a cell current on the Records page; the grid takes the focus unless
    // the caller keeps it (the findings list while it is walked through).
    void GoToCell(int column, int row, bool focusGrid = true);

    // "Edition": undo and redo of the table's changes.
    QMenu* Edition = nullptr;
    QAction* Annuler = nullptr;
    QAction* Retablir = nullptr;
    QAction* Comparer = nullptr;
    QAction* DifferenceSuivante = nullptr;   // F8
    QAction* DifferencePrecedente = nullptr; // Shift+F8
    QAction* EffacerComparaison = nullptr;
    QAction* EditRecord = nullptr; // the record editor on the current row (Ctrl+Enter)
    void ShowHistory();
    CompareCommands* Compare() const { return compare_.get(); }
    // "Outils": the table beside the real world (OurAirports).
    QAction* CompareOurAirports = nullptr;
    ReconcileCommands* RealWorld() const { return reconcile_.get(); }

  private:
    void BuildMapAndCheck(QVBoxLayout* records);
    std::unique_ptr<UndoCommands> undo_;
    std::unique_ptr<CompareCommands> compare_;
    std::unique_ptr<ReconcileCommands> reconcile_;
};

} // namespace orvane
