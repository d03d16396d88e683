// The latitude and longitude entry: a coordinate pair in degrees, minutes and
// seconds with hemisphere letters. The split, the range checks while typing
// and the pair computed on "Fermer" are the core's CoordinateEntry; this
// window shows its texts and its notices. Escape and the window's close box
// are Cancel. One dialog for the whole run.
#pragma once

#include "forms/CoordinateEntry.h"
#include "platform/UserInteraction.h"
#include "ui/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

class TForm_latlon : public QDialog {
    Q_OBJECT
  public:
    TForm_latlon(Lang lang, char decimalSeparator, UserInteraction& ui, QWidget* parent = nullptr);

    // The caller sets Latitude and Longitude (seconds of arc) before showing
    // it, and reads them back after OK.
    CoordinateEntry& Entry() { return entry_; }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cbLat = nullptr;
    QLineEdit* edDegLat = nullptr;
    QLineEdit* edMinLat = nullptr;
    QLineEdit* edSecLat = nullptr;
    QComboBox* cbLon = nullptr;
    QLineEdit* edDegLon = nullptr;
    QLineEdit* edMinLon = nullptr;
    QLineEdit* edSecLon = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
    void btnOKClick();
    void ShowTexts();
    QLineEdit* Field(CoordinateField field) const;

    Lang lang_;
    char sep_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
    CoordinateEntry entry_;
};

} // namespace orvane
