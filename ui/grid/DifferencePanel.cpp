#include "ui/grid/DifferencePanel.h"

#include "ui/qt/Captions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
constexpr int kRowRole = Qt::UserRole + 2;
constexpr int kGoColumnRole = Qt::UserRole + 3; // the column an entry leads to

} // namespace

DifferencePanel::DifferencePanel(QWidget* parent, Captions& captions)
    : QWidget(parent), summary_(new QLabel(this)), list_(new QTreeWidget(this)),
      takeOther_(new QPushButton(this)), keepThis_(new QPushButton(this)),
      clear_(new QPushButton(this)), firstRow_(new QHBoxLayout) {
    setObjectName("DifferencePanel");
    summary_->setObjectName("CompareSummary");
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    list_->setObjectName("DifferenceList");
    list_->setHeaderHidden(true);
    list_->setColumnCount(1);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformRowHeights(true);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);
    takeOther_->setObjectName("TakeOther");
    keepThis_->setObjectName("KeepThis");
    clear_->setObjectName("ClearComparison");
    captions.Text(takeOther_, txt::CompareTakeOther);
    captions.Text(keepThis_, txt::CompareKeepThis);
    captions.Text(clear_, txt::MenuClearComparison);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    firstRow_->addWidget(takeOther_);
    firstRow_->addWidget(keepThis_);
    firstRow_->addStretch(1);
    firstRow_->addWidget(clear_);
    layout->addLayout(firstRow_);

    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Activate(item); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { ShowButtons(); });
    connect(takeOther_, &QPushButton::clicked, this, [this] {
        if (TakeOther) TakeOther(Chosen());
    });
    connect(keepThis_, &QPushButton::clicked, this, [this] {
        if (KeepThis) KeepThis(Chosen());
    });
    connect(clear_, &QPushButton::clicked, this, [this] {
        if (Clear) Clear();
    });
    ShowButtons();
}

void DifferencePanel::SetSummary(const QString& text) {
    summary_->setText(text);
}

void DifferencePanel::SetEntries(const std::vector<Entry>& entries, int current,
                                 const QString& group) {
    const bool groupOpen = group_ && group_->isExpanded();
    list_->setUpdatesEnabled(false);
    list_->clear();
    group_ = nullptr;
    items_.clear();
    items_.reserve(entries.size());
    QList<QTreeWidgetItem*> items;
    items.reserve(int(entries.size()) + 1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        auto* item = new QTreeWidgetItem(QStringList{e.text});
        item->setData(0, kEntryRole, int(i));
        item->setData(0, kColumnRole, -1);
        item->setData(0, kRowRole, e.row);
        item->setData(0, kGoColumnRole, e.column);
        item->setToolTip(0, e.text);
        for (const Field& f : e.fields) {
            auto* child = new QTreeWidgetItem(item, QStringList{f.text});
            child->setData(0, kEntryRole, int(i));
            child->setData(0, kColumnRole, f.column);
            child->setData(0, kRowRole, e.row);
            child->setData(0, kGoColumnRole, f.column);
            child->setToolTip(0, f.text);
        }
        items_.push_back(item);
        if (!e.grouped) {
            items.append(item);
            continue;
        }
        if (!group_) {
            group_ = new QTreeWidgetItem(QStringList{group});
            group_->setData(0, kEntryRole, -1);
            group_->setData(0, kColumnRole, -1);
            group_->setToolTip(0, group);
        }
        group_->addChild(item);
    }
    if (group_) items.append(group_);
    list_->addTopLevelItems(items);
    list_->expandAll();
    if (group_) group_->setExpanded(groupOpen);
    if (!entries.empty() && current >= 0) {
        // Current but not chosen: after an edit or a take the entry in that
        // place is another one, which the buttons must not act on unasked.
        QTreeWidgetItem* item = items_[std::size_t(std::min(current, int(entries.size()) - 1))];
        if (item->parent() == group_ && !groupOpen) item = group_;
        list_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        list_->scrollToItem(item);
    }
    list_->setUpdatesEnabled(true);
    ShowButtons();
}

int DifferencePanel::EntryCount() const {
    return int(items_.size());
}

int DifferencePanel::CurrentEntry() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? item->data(0, kEntryRole).toInt() : -1;
}

void DifferencePanel::RelistLater(bool& pending, std::function<void(int current)> relist) {
    if (pending) return;
    pending = true;
    QTimer::singleShot(0, this, [this, &pending, relist = std::move(relist)] {
        if (pending) relist(CurrentEntry());
    });
}

bool DifferencePanel::Step(int delta) {
    const int count = list_->topLevelItemCount() - (group_ ? 1 : 0);
    if (count <= 0) return false;
    QTreeWidgetItem* at = list_->currentItem();
    while (at && at->parent())
        at = at->parent();
    const int current = at && at != group_ ? list_->indexOfTopLevelItem(at) : -1;
    const int next = current < 0 ? (delta > 0 ? 0 : count - 1) : (current + delta + count) % count;
    QTreeWidgetItem* item = list_->topLevelItem(next);
    list_->setCurrentItem(item);
    list_->scrollToItem(item);
    Activate(item);
    return true;
}

std::vector<DifferencePanel::Choice> DifferencePanel::Chosen() const {
    std::vector<Choice> out;
    for (const QTreeWidgetItem* item : list_->selectedItems()) {
        if (item != group_) {
            out.emplace_back(item->data(0, kEntryRole).toInt(), item->data(0, kColumnRole).toInt());
            continue;
        }
        for (int i = 0; i < group_->childCount(); ++i)
            out.emplace_back(group_->child(i)->data(0, kEntryRole).toInt(), -1);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void DifferencePanel::AddButton(QPushButton* button, bool secondRow) {
    button->setParent(this);
    if (!secondRow) {
        firstRow_->insertWidget(firstRow_->indexOf(keepThis_) + 1, button);
        return;
    }
    if (!secondRow_) {
        // The clear button ends the last row, away from the resolving ones.
        secondRow_ = new QHBoxLayout;
        firstRow_->removeWidget(clear_);
        secondRow_->addStretch(1);
        secondRow_->addWidget(clear_);
        static_cast<QVBoxLayout*>(layout())->addLayout(secondRow_);
    }
    secondRow_->insertWidget(secondRow_->count() - 2, button);
}

void DifferencePanel::Activate(QTreeWidgetItem* item) {
    if (item && item != group_ && GoTo)
        GoTo(item->data(0, kRowRole).toInt(), item->data(0, kGoColumnRole).toInt());
}

void DifferencePanel::ShowButtons() {
    const bool chosen = !list_->selectedItems().isEmpty();
    takeOther_->setEnabled(chosen && (!CanTake || CanTake(Chosen())));
    keepThis_->setEnabled(chosen);
}

} // namespace orvane
