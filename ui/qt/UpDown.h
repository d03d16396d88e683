// An up/down arrow pair beside a text box, as the classic counter control:
// each click (held down: repeated) asks for one step up or down. The box
// and the counter's position are the owner's business.
#pragma once

#include <QWidget>

class QToolButton;

namespace orvane {

class UpDown : public QWidget {
    Q_OBJECT
  public:
    explicit UpDown(QWidget* parent = nullptr);
    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

  signals:
    void stepped(int delta); // +1 or -1

  private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace orvane
