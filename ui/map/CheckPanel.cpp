#include "ui/map/CheckPanel.h"

#include "database/SessionState.h"
#include "ui/qt/QtText.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

namespace {

// A change to more rows than this is checked again whole: one pass over the
// table costs less than many row-by-row updates.
constexpr int kRowsRecheckedOneByOne = 2000;
constexpr std::size_t kLinesWrapped = 2000;

bool Before(const Finding& a, const Finding& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
}

} // namespace

// The findings as the list shows them; each line's text is made when it is drawn.
class FindingsModel : public QAbstractListModel {
  public:
    explicit FindingsModel(SessionState& session, QObject* parent)
        : QAbstractListModel(parent), session_(session) {}

    void SetFindings(const std::vector<Finding>& findings) {
        beginResetModel();
        findings_ = findings;
        endResetModel();
    }
    const std::vector<Finding>& Findings() const { return findings_; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(findings_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
        const Finding& f = findings_[static_cast<std::size_t>(index.row())];
        return Q(FindingText(f, session_.Table, session_.Fields(), session_.DecimalSeparator(),
                             session_.Language_()));
    }

  private:
    SessionState& session_;
    std::vector<Finding> findings_;
};

CheckPanel::CheckPanel(SessionState& session, QAbstractItemModel* table, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName("CheckPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    heading_ = new QLabel(this);
    heading_->setObjectName("CheckHeading");
    heading_->setWordWrap(true);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("×"));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    top->addWidget(heading_, 1);
    top->addWidget(close);
    layout->addLayout(top);
    findings_ = new FindingsModel(session_, this);
    list_ = new QListView(this);
    list_->setObjectName("CheckList");
    list_->setModel(findings_);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->installEventFilter(this);
    layout->addWidget(list_);
    connect(list_, &QListView::doubleClicked, this, &CheckPanel::Choose);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (relisting_ || !current.isValid()) return;
                const Finding& f = findings_->Findings()[static_cast<std::size_t>(current.row())];
                emit cellShown(f.column, f.row);
            });
    if (table) {
        connect(table, &QAbstractItemModel::modelReset, this, &CheckPanel::TableReset);
        connect(table, &QAbstractItemModel::rowsInserted, this, &CheckPanel::TableReset);
        connect(table, &QAbstractItemModel::rowsRemoved, this, &CheckPanel::TableReset);
        connect(table, &QAbstractItemModel::rowsMoved, this, &CheckPanel::TableReset);
        connect(table, &QAbstractItemModel::layoutChanged, this, &CheckPanel::TableReset);
        connect(table, &QAbstractItemModel::dataChanged, this, &CheckPanel::CellsChanged);
    }
    hide();
}

void CheckPanel::CheckWholeTable() {
    const bool opening = isHidden();
    CheckAll();
    show();
    // Opened beside the grid: wide enough to read a finding's line whole.
    if (auto* split = qobject_cast<QSplitter*>(parentWidget()); opening && split) {
        const int total = split->width();
        const int wide = std::clamp(total / 3, std::min(380, total / 2), total / 2);
        QList<int> sizes = split->sizes();
        if (sizes.size() == 2 && sizes[1] < wide) split->setSizes({total - wide, wide});
    }
    list_->setFocus(Qt::ShortcutFocusReason);
}

void CheckPanel::CheckAll() {
    checker_.CheckAll(session_.Table, session_.Fields(), session_.DataType,
                      session_.DecimalSeparator());
    ShowFindings();
}

void CheckPanel::TableReset() {
    // A closed panel is checked again when F7 shows it.
    if (!isHidden()) CheckAll();
}

void CheckPanel::CellsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                              const QList<int>& roles) {
    if (isHidden() || !topLeft.isValid()) return;
    if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole))
        return; // colours only
    // Grid row n is table row n + 1.
    const int first = topLeft.row() + 1, last = bottomRight.row() + 1;
    if (last - first >= kRowsRecheckedOneByOne) {
        CheckAll();
        return;
    }
    checker_.RecheckRows(session_.Table, first, last);
    ShowFindings();
}

void CheckPanel::ShowFindings() {
    const QModelIndex current = list_->currentIndex();
    const bool hadCurrent = current.isValid();
    Finding was;
    if (hadCurrent) was = findings_->Findings()[static_cast<std::size_t>(current.row())];
    const std::vector<Finding>& now = checker_.Findings();
    relisting_ = true;
    // A list of a few thousand lines at most wraps them, a longer one keeps
    // each to one line (the hint shows it whole) so as not to measure them all.
    const bool wrap = now.size() <= kLinesWrapped;
    list_->setUniformItemSizes(!wrap);
    list_->setWordWrap(wrap);
    findings_->SetFindings(now);
    if (!now.empty()) {
        // The same cell's finding, or the next one in the list.
        const auto at =
            hadCurrent ? std::lower_bound(now.begin(), now.end(), was, Before) : now.begin();
        const int row = static_cast<int>(std::min<std::ptrdiff_t>(
            at - now.begin(), static_cast<std::ptrdiff_t>(now.size()) - 1));
        list_->setCurrentIndex(findings_->index(row));
        list_->scrollTo(findings_->index(row));
    }
    relisting_ = false;
    const Lang lang = session_.Language_();
    const long long n = static_cast<long long>(now.size());
    heading_->setText(n == 0 ? Q(txt::CheckNothing.In(lang))
                             : Q(Format(txt::CheckHeading.In(lang, n), static_cast<int>(n))));
}

void CheckPanel::Choose(const QModelIndex& index) {
    if (!index.isValid()) return;
    const Finding& f = findings_->Findings()[static_cast<std::size_t>(index.row())];
    emit cellChosen(f.column, f.row);
}

bool CheckPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Choose(list_->currentIndex());
            return true;
        }
    }
    // Escape closes the panel, as it closes the comparisons' panels.
    if (watched == list_ && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int CheckPanel::FindingCount() const {
    return findings_->rowCount();
}

QString CheckPanel::Heading() const {
    return heading_->text();
}

QString CheckPanel::FindingAt(int index) const {
    return findings_->data(findings_->index(index), Qt::DisplayRole).toString();
}

} // namespace orvane
