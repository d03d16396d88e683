// "Vérifier" / "Check": the table's findings listed beside the grid; a
// double click on one goes to its cell.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace orvane {

struct SessionState;

class CheckPanel : public QWidget {
    Q_OBJECT
  public:
    explicit CheckPanel(SessionState& session, QWidget* parent = nullptr);

    // Checks the table and lists what it finds (the panel shows itself).
    void VerifierClick();
    int FindingCount() const;
    QListWidget* List() const { return list_; }

  signals:
    // A finding was chosen: its table cell.
    void cellChosen(int column, int row);

  private:
    SessionState& session_;
    QLabel* heading_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace orvane
