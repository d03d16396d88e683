// "Vérifier" / "Check": the table's findings listed beside the grid. The
// list follows the table's edits while it shows; moving through it with the
// arrows or a click shows each finding's cell in the grid, Enter or a double
// click goes to the cell.
#pragma once

#include "database/TableCheck.h"

#include <QWidget>

class QAbstractItemModel;
class QLabel;
class QListView;
class QModelIndex;

namespace orvane {

struct SessionState;
class FindingsModel;

class CheckPanel : public QWidget {
    Q_OBJECT
  public:
    // `table` is the grid's model, whose changes the list follows.
    CheckPanel(SessionState& session, QAbstractItemModel* table, QWidget* parent = nullptr);

    // Checks the table and lists what it finds (the panel shows itself, and
    // keeps its place in the list when it was showing already).
    void CheckWholeTable();
    int FindingCount() const;
    QString Heading() const;
    QListView* List() const { return list_; }
    // The text of the finding at a place in the list.
    QString FindingAt(int index) const;

  signals:
    // A finding was chosen (Enter or a double click): its table cell.
    void cellChosen(int column, int row);
    // The list's current finding moved: its cell, to show without leaving the list.
    void cellShown(int column, int row);
    // Escape closed the panel: the focus goes back to the grid.
    void closed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TableReset();
    void CellsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                      const QList<int>& roles);
    void CheckAll();
    // Lists the checker's findings again; the current finding stays, or the
    // one after it when it was fixed.
    void ShowFindings();
    void Choose(const QModelIndex& index);

    SessionState& session_;
    TableChecker checker_;
    QLabel* heading_ = nullptr;
    QListView* list_ = nullptr;
    FindingsModel* findings_ = nullptr;
    bool relisting_ = false; // the list's current moves without the user
};

} // namespace orvane
