// The print range window: the first and last row and the number of field
// columns to print, "Imprimer sélection" and "Imprimer tout". Created once
// and reused: the row boxes keep their values between uses. The rules are
// the core's (PrintSelection, PrintAllQuestion); printing itself is the
// caller's Print.
#pragma once

#include "database/SessionState.h"
#include "forms/Pagination.h"
#include "ui/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

class UpDown;

class TformPrint : public QDialog {
    Q_OBJECT
  public:
    TformPrint(SessionState& session, UserInteraction& ui, QWidget* parent = nullptr);

    // Prints a range of the table.
    std::function<void(const PrintRange&)> Print;

    QLabel* lblPrem = nullptr;
    QLineEdit* edPLigne = nullptr;
    UpDown* UpDown1 = nullptr;
    QLabel* lblDer = nullptr;
    QLineEdit* edDLigne = nullptr;
    UpDown* UpDown2 = nullptr;
    QLabel* lblCol = nullptr;
    QLineEdit* edMaxiCol = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* btnPrintSel = nullptr;
    QPushButton* btnPrintAll = nullptr;
    QPushButton* Button1 = nullptr;

    void btnPrintSelClick();
    void btnPrintAllClick();

  private:
    SessionState& session_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
};

} // namespace orvane
