// The record editor: the table's current row as field lines on three pages of
// 29 fields (title, type, width, value), the checks while a value is typed and
// when its editing ends, the byte and coordinate entry dialogs a mouse press
// opens, the carry back into the table ("Fermer") and the print of a page.
// The rules are RecordEditor's (forms/); this window draws its lines and
// forwards each event. One editor for the whole run, opened modal.
#pragma once

#include "database/SessionState.h"
#include "forms/RecordEditor.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QSet>
#include <QTableWidget>

#include <functional>

class QStackedWidget;
class QTabBar;

namespace orvane {

class ByteEntryDialog;
class CoordinateDialog;

// One page: a heading row and 29 field rows of four columns; only the value
// column of a field row can be edited.
class EditorPageGrid : public QTableWidget {
    Q_OBJECT
  public:
    EditorPageGrid(int page, QWidget* parent = nullptr);
    int Page() const { return page_; }
    // The value cell's editor while one is open.
    QLineEdit* OpenEditor() const { return editor_; }
    // Ends an open editing as if the user left the cell.
    void CommitEdit();
    // Ends an open editing as Escape in the cell does: the cell keeps its text.
    bool RevertEdit();
    // While a message about the value being typed is shown, the editor stays
    // open: the box takes the focus, and that focus loss is no end of editing.
    void HoldEditor(bool on) { held_ += on ? 1 : -1; }
    bool EditorHeld() const { return held_ > 0; }

    // The editing of a value ends: gives the value to keep.
    std::function<QString(int row, const QString& entered, const QString& now)> Validate;
    // The editing was abandoned (Escape): the cell keeps its text.
    std::function<void(int row)> Reverted;
    // An editor opened on a value (to watch its keys).
    std::function<void(QLineEdit* editor)> EditorOpened;

  signals:
    // After a press of any button on a cell, once the press made it current.
    void pressed(Qt::MouseButton button);
    // F4 on a row: its entry dialog, as a right click opens it.
    void entryKeyPressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class ValueDelegate;
    int page_;
    QPointer<QLineEdit> editor_;
    int held_ = 0;
};

class RecordEditorDialog : public QDialog {
    Q_OBJECT
  public:
    RecordEditorDialog(SessionState& session, UserInteraction& ui, QWidget* parent = nullptr);
    ~RecordEditorDialog() override;

    RecordEditor& Editor() { return editor_; }
    ByteEntryDialog* ByteDialog() const { return byteDialog_; }
    CoordinateDialog* CoordinatesDialog() const { return coordinateDialog_; }
    EditorPageGrid* Grid(int page) const { return grids_[page - 1]; }
    EditorPageGrid* CurrentGrid() const { return Grid(editor_.CurrentPage); }
    // In direct-write mode the fields the write leaves alone are read only,
    // as in the grid: a change there would never reach the archive.
    void SetProtectedFields(bool on) { protectFields_ = on; }

    // A tab chosen (index from 0): open editings end first.
    void ShowPage(int index);
    // "Fermer": the values into the table row, or the line to correct.
    void CarryBack();
    // "Imprimer": the page shown, on the printer the user chooses.
    void PrintPage();
    // A mouse press on a page (the press already made its cell current):
    // the row's entry dialog, if it has one.
    void OpenEntryDialog(EditorPageGrid* grid, Qt::MouseButton button);
    // Escape, "Annuler" or the window closed: an open cell editing ends
    // first (the editor stays); changed values are lost only when the user
    // says so.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLayout* BuildTopRow();
    // Page p's grid: designed sizes, widened where the platform's font needs it.
    EditorPageGrid* BuildPage(int p);
    void WirePage(EditorPageGrid* grid);
    void Fill();
    void Draw(int page);
    void DrawAll();
    // The value column as wide as the longest value shown or the dialog's
    // top row, within the screen, the same on every page.
    void FitValueColumn();
    // A value cut by its column shows whole in its tooltip.
    void ShowWhole(QTableWidgetItem* item) const;
    // A check's reaction: the value (in the open editor when it is still
    // there, the cursor kept), its notice, back to the row.
    void React(EditorPageGrid* grid, int row, const CheckResult& result,
               const QPointer<QLineEdit>& open);
    // A check's notice, the grid's editor held open while it shows; with
    // focusGrid the page takes the focus after it (its editor closes next).
    void Notify(EditorPageGrid* grid, const EditorNotice& notice, bool focusGrid = false);
    void CommitEdits();
    bool IsProtected(const EditorLine& line) const;

    SessionState& session_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
    RecordEditor editor_;
    QTabBar* tabs_ = nullptr;
    EditorPageGrid* grids_[kEditorPages] = {};
    QStackedWidget* pages_ = nullptr;
    QLayout* topRow_ = nullptr;
    bool protectFields_ = false;
    // The keys pressed in the open cell editor and not yet released.
    QSet<int> keysDown_;
    ByteEntryDialog* byteDialog_ = nullptr;
    CoordinateDialog* coordinateDialog_ = nullptr;
};

} // namespace orvane
