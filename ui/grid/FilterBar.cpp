#include "ui/grid/FilterBar.h"

#include "ui/grid/RecordGridView.h"
#include "ui/qt/QtText.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

namespace orvane {

FilterBar::FilterBar(RecordGridView* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
    setObjectName("FilterBar");
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(300);
    connect(pause_, &QTimer::timeout, this, &FilterBar::Emit);
    QHeaderView* heading = grid_->horizontalHeader();
    connect(heading, &QHeaderView::sectionResized, this, &FilterBar::Place);
    connect(heading, &QHeaderView::sectionMoved, this, &FilterBar::Place);
    connect(heading, &QHeaderView::geometriesChanged, this, &FilterBar::Place);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FilterBar::Place);
    setFixedHeight(QLineEdit().sizeHint().height());
    hide();
}

void FilterBar::SetHint(const QString& hint) {
    hint_ = hint;
    for (QLineEdit* box : boxes_) {
        box->setToolTip(hint_);
        box->setPlaceholderText(QStringLiteral("…"));
    }
}

QLineEdit* FilterBar::Box(int column) const {
    return column >= 0 && std::size_t(column) < boxes_.size() ? boxes_[std::size_t(column)]
                                                              : nullptr;
}

void FilterBar::ColumnsChanged() {
    const int columns = grid_->model() ? grid_->model()->columnCount() : 0;
    while (int(boxes_.size()) > columns) {
        delete boxes_.back();
        boxes_.pop_back();
    }
    while (int(boxes_.size()) < columns) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Filter%1").arg(boxes_.size()));
        box->setClearButtonEnabled(true);
        box->setToolTip(hint_);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, pause_, qOverload<>(&QTimer::start));
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (text.isEmpty()) pause_->start(); // the clear button
        });
        connect(box, &QLineEdit::returnPressed, this, &FilterBar::Emit);
        boxes_.push_back(box);
        box->show();
    }
    Place();
}

void FilterBar::Clear() {
    pause_->stop();
    for (QLineEdit* box : boxes_)
        box->clear();
    pause_->stop();
}

void FilterBar::FocusColumn(int column) {
    if (QLineEdit* box = Box(column)) {
        grid_->scrollTo(grid_->model()->index(std::max(grid_->currentIndex().row(), 0), column));
        Place();
        box->setFocus(Qt::ShortcutFocusReason);
        box->selectAll();
    }
}

void FilterBar::Place() {
    if (isHidden()) return;
    const QHeaderView* heading = grid_->horizontalHeader();
    // The grid's cells start right of its row numbers and frame (the bar
    // and the grid meet in their window).
    const int left = grid_->viewport()->mapTo(window(), QPoint(0, 0)).x() -
                     mapTo(window(), QPoint(0, 0)).x();
    const int right = left + grid_->viewport()->width();
    for (std::size_t c = 0; c < boxes_.size(); ++c) {
        QLineEdit* box = boxes_[c];
        const int x = left + heading->sectionViewportPosition(int(c));
        const int w = heading->sectionSize(int(c));
        const bool visible = !heading->isSectionHidden(int(c)) && x + w > left && x < right;
        box->setVisible(visible);
        if (!visible) continue;
        const int from = std::max(x, left), to = std::min(x + w, right);
        box->setGeometry(from, 0, to - from, height());
    }
}

void FilterBar::Emit() {
    pause_->stop();
    std::map<int, std::string> conditions;
    for (std::size_t c = 0; c < boxes_.size(); ++c) {
        const QString text = boxes_[c]->text();
        if (!text.isEmpty()) conditions[int(c)] = S(text);
    }
    if (ConditionsChanged) ConditionsChanged(conditions);
}

bool FilterBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (Left) Left();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FilterBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Place();
}

} // namespace orvane
