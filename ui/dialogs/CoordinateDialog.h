// The latitude and longitude entry: a coordinate pair in degrees, minutes and
// seconds with hemisphere letters. The split, the range checks while typing
// and the pair computed on "Fermer" are CoordinateEntry's (forms/); this
// window shows its texts and its notices. Escape and the window's close box
// are Cancel. One dialog for the whole run.
#pragma once

#include "forms/CoordinateEntry.h"
#include "platform/UserInteraction.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

class QComboBox;
class QGridLayout;
class QLayout;
class QLineEdit;

namespace orvane {

class CoordinateDialog : public QDialog {
    Q_OBJECT
  public:
    CoordinateDialog(Lang lang, char decimalSeparator, UserInteraction& ui,
                     QWidget* parent = nullptr);

    // The caller sets Latitude and Longitude (seconds of arc) before showing
    // it, and reads them back after OK.
    CoordinateEntry& Entry() { return entry_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // One row: the caption, the hemisphere box, degrees, minutes, seconds.
    void BuildRow(QGridLayout* grid, bool latitude);
    QLayout* BuildButtons();
    void WireFields();
    void Fill();
    void AcceptValues();
    void ShowTexts();
    QLineEdit* Field(CoordinateField field) const { return fields_[int(field)]; }

    Lang lang_;
    char sep_;
    UserInteraction& ui_;
    CommandBoundary boundary_;
    Captions captions_;
    CoordinateEntry entry_;
    QComboBox* latHemisphere_ = nullptr;
    QComboBox* lonHemisphere_ = nullptr;
    QLineEdit* fields_[6] = {}; // by CoordinateField
};

} // namespace orvane
