#include "ui/qt/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace orvane {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto button = [this, layout](Qt::ArrowType arrow, int delta) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(17, 11);
        connect(b, &QToolButton::clicked, this, [this, delta] { emit stepped(delta); });
        layout->addWidget(b);
        return b;
    };
    up_ = button(Qt::UpArrow, +1);
    down_ = button(Qt::DownArrow, -1);
}

} // namespace orvane
