// The about box: the version line and a short notice, in a fixed frame.
#pragma once

#include "settings/Texts.h"
#include "ui/Captions.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orvane {

class TForm_about : public QDialog {
    Q_OBJECT
  public:
    explicit TForm_about(Lang lang, QWidget* parent = nullptr);

    QPlainTextEdit* Memo = nullptr;
    QPushButton* btnFermer = nullptr;

  private:
    Captions captions_;
};

// The box's text: the version line, then the notice.
QString AboutText(Lang lang);

} // namespace orvane
