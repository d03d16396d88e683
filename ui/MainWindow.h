// The main window: it lays out the record grid, the definitions and map
// pages, the find, edition and export boxes on the left, the status bar and
// the menu, builds its menu items and buttons from the command families'
// tables (commands/) and wires them through its error boundary. After every
// command it shows what the commands report (EditorView) and which commands
// the editor's state makes available.
#pragma once

#include "ui/EditorView.h"
#include "ui/commands/CommandContext.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtProgress.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QLabel;

namespace orvane {

class CommandControls;
struct CommandFamilies;
class CompareCommands;
class GridCommands;
class FileStatusLabel;
class LeftColumn;
class PrintCommands;
class RecordGridModel;
class RecordGridView;
class RecordPages;
class DirectoriesDialog;
class ArchiveViewer;
class RecordEditorDialog;

class MainWindow : public QMainWindow, private EditorView {
    Q_OBJECT
  public:
    // The settings are read from iniPath during construction.
    MainWindow(SessionState& session, UserInteraction& ui, BusyIndicator* busy, std::string iniPath,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The directories dialog, created after this window.
    void SetInitDialog(DirectoriesDialog* dialog);
    // Files named on the command line, opened as their menu commands do;
    // on a first run, once the first-run check has set up the folders.
    void OpenFiles(const std::vector<std::string>& paths);
    // Started without a file: the last table, at its last row, when the
    // option says so (on a first run, once the folders are set up).
    void ReopenLastTable();
    // Makes a cell current on the Records page; the grid takes the focus unless
    // the caller keeps it (the findings list while it is walked through).
    void GoToCell(int column, int row, bool focusGrid = true);
    // The table holds changes made since it was loaded or saved whole.
    bool HasUnsavedChanges() const;
    // Coming back from another program counts as an activation again.
    void ApplicationStateChanged(Qt::ApplicationState state);

    RecordGridModel* Model() const { return model_; }
    // How soon the progress dialogs of long work show.
    ProgressSettings& Progress() { return progress_; }
    EditMode Mode() const;
    int SearchColumn() const;
    // The command families (tests reach their work halves through them).
    CommandFamilies& Commands() const { return *commands_; }
    RecordEditorDialog* RecordEditor() const { return recordEditor_; }
    ArchiveViewer* PodViewer() const { return archiveViewer_; }

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildCommands();
    void WireEvents();

    // EditorView.
    void ShowLoad(const LoadOutcome& outcome) override;
    void ShowRows(bool refitColumns) override;
    void ShowSelection(bool selectLabel, bool deleteLabel) override;
    bool MayReplaceTable() override;
    void ShowVersion(int version) override;
    void MarkVersion(int version) override;
    void ShowImport(const ImportOutcome& outcome) override;
    void ShowNote(const std::string& text) override;
    void ShowMode(EditMode mode) override;
    void ShowSearchHit(const SearchHit& hit) override;
    void ScrollToRow(int tableRow) override;

    // What the editor's state makes available, on every command's control.
    EditorState State() const;
    void ShowAvailability();
    // F6: the focus to the next (previous) of the grid and the panels shown.
    void CyclePanels(bool back);
    void ShowHistory();
    void ShowFilterStatus();
    void ShowTableReplaced();
    // The title names the file being edited (the program's caption before any).
    void ShowTitle();
    // The View menu's panels, wired to its items.
    void WireViewPanels();
    // After a search hit, the hit's own captions.
    void ShowRowCaptions(const SearchHit* hit = nullptr);
    Lang lang() const { return session_.Language_(); }

    SessionState& session_;
    UserInteraction& ui_;
    BusyIndicator* busy_;
    std::string iniPath_;
    CommandBoundary boundary_;
    Captions captions_;
    ProgressSettings progress_;
    RecordGridModel* model_ = nullptr;
    std::unique_ptr<CommandFamilies> commands_;

    std::unique_ptr<CommandControls> controls_;
    DirectoriesDialog* init_ = nullptr;
    ArchiveViewer* archiveViewer_ = nullptr;
    RecordEditorDialog* recordEditor_ = nullptr; // one for the whole run

    LeftColumn* leftColumn_ = nullptr;
    RecordPages* pages_ = nullptr;
    RecordGridView* gridView_ = nullptr;
    FileStatusLabel* filePanel_ = nullptr; // status panel 0: the file loaded
    QLabel* coordinatePanel_ = nullptr;    // status panel 1
    QLabel* filterPanel_ = nullptr;        // "n of N rows shown" while filtering

    bool tableLoaded_ = false;
    bool dbdLoaded_ = false;
    // The first-run check runs when the window becomes active coming from
    // outside the program (its first showing included), never when it comes
    // back from the program's own notice or dialog.
    bool activationCounts_ = true;
    std::vector<std::string> filesAfterFirstRun_;
    bool reopenAfterFirstRun_ = false;
};

} // namespace orvane
