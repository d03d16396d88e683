// The print range window: the first and last row and the number of field
// columns to print, "Imprimer sélection" and "Imprimer tout". Created once
// and reused: the row boxes keep their values between uses. The rules are
// PrintSelection and PrintAllQuestion (forms/Pagination); printing itself is
// the caller's Print.
#pragma once

#include "database/SessionState.h"
#include "forms/Pagination.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace orvane {

class PrintRangeDialog : public QDialog {
    Q_OBJECT
  public:
    PrintRangeDialog(SessionState& session, UserInteraction& ui, QWidget* parent = nullptr);

    // Prints a range of the table.
    std::function<void(const PrintRange&)> Print;

    // The column count box's value before a showing.
    void PresetColumnCount(int columns);
    // "Imprimer sélection": the rows and columns of the boxes.
    void PrintChosenRange();
    // "Imprimer tout", after a question.
    void PrintAll();

  private:
    QLayout* BuildBoxes();
    QLayout* BuildButtons();

    SessionState& session_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
    QLineEdit* firstRow_ = nullptr;
    QLineEdit* lastRow_ = nullptr;
    QLineEdit* columnCount_ = nullptr;
};

} // namespace orvane
