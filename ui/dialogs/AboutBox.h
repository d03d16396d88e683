// The about box: the version line and a short notice, in a fixed frame.
#pragma once

#include "settings/Texts.h"
#include "ui/qt/Captions.h"

#include <QDialog>

namespace orvane {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(Lang lang, QWidget* parent = nullptr);

  private:
    Captions captions_;
};

// The box's text: the version line, then the notice.
QString AboutText(Lang lang);

} // namespace orvane
