// The byte value entry: one value in hexadecimal, in decimal with a 0-255
// counter, as a character or as yes/no. The views and the result are
// ByteEntry's (forms/); this window forwards each control's event to it and
// shows its views again. One dialog for the whole run.
#pragma once

#include "forms/ByteEntry.h"
#include "platform/UserInteraction.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;

namespace orvane {

class UpDown;

class ByteEntryDialog : public QDialog {
    Q_OBJECT
  public:
    ByteEntryDialog(Lang lang, UserInteraction& ui, QWidget* parent = nullptr);

    // The record editor presets it before each showing and reads ResultText after OK.
    ByteEntry& Entry() { return entry_; }

    // Copies the views of Entry() into the controls.
    void ShowViews();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The panel of the decimal, character and yes/no inputs.
    QWidget* BuildOtherInputs();
    QGroupBox* BuildModes();
    QLayout* BuildLayout(QWidget* otherInputs, QGroupBox* modes);
    void WireInputs();
    void Fill();
    void AcceptValue();
    // Runs a step of the entry, then shows the views.
    template <typename F> void Then(F&& step);

    Lang lang_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
    ByteEntry entry_;
    QLabel* title_ = nullptr;
    QLabel* hexLabel_ = nullptr;
    QLineEdit* hex_ = nullptr;
    QWidget* otherInputs_ = nullptr;
    QLabel* decimalLabel_ = nullptr;
    QLineEdit* decimal_ = nullptr;
    UpDown* counter_ = nullptr;
    QLabel* characterLabel_ = nullptr;
    QComboBox* character_ = nullptr;
    QLabel* yesNoLabel_ = nullptr;
    QCheckBox* yesNo_ = nullptr;
    QGroupBox* modeGroup_ = nullptr;
    QButtonGroup* modes_ = nullptr;
};

} // namespace orvane
