// The byte value entry: one value in hexadecimal, in decimal with a 0-255
// counter, as a character or as yes/no. The views and the result are the
// core's ByteEntry; this window forwards each control's event to it and
// shows its views again. One dialog for the whole run.
#pragma once

#include "forms/ByteEntry.h"
#include "platform/UserInteraction.h"
#include "ui/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

class UpDown;

class TForm_Hexa : public QDialog {
    Q_OBJECT
  public:
    TForm_Hexa(Lang lang, UserInteraction& ui, QWidget* parent = nullptr);

    // The record editor presets it before each showing and reads ResultText after OK.
    ByteEntry& Entry() { return entry_; }

    QLabel* lblLibelle = nullptr;
    QLabel* lblhexa = nullptr;
    QLineEdit* edhexa = nullptr;
    QWidget* pnAlpha = nullptr; // the panel of the other inputs
    QLabel* lbldec = nullptr;
    QLineEdit* edDecimal = nullptr;
    UpDown* updown = nullptr; // component "UpDown"
    QLabel* lblalpha = nullptr;
    QComboBox* cbAlpha = nullptr;
    QLabel* lblYN = nullptr;
    QCheckBox* cbYN = nullptr;
    QGroupBox* RadioGroup = nullptr;
    QRadioButton* RadioItems[4] = {};
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // Copies the core's views into the controls.
    void ShowViews();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormActivate();
    void btnOKClick();
    // Runs a core event, then shows the views.
    template <typename F> void Then(F&& step);

    Lang lang_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
    ByteEntry entry_;
    QButtonGroup* modes_ = nullptr;
};

} // namespace orvane
