#include "ui/map/CheckPanel.h"

#include "database/SessionState.h"
#include "database/TableCheck.h"
#include "ui/qt/QtText.h"

#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane {

namespace {
constexpr int kRowRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
} // namespace

CheckPanel::CheckPanel(SessionState& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName("CheckPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("×"));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    top->addWidget(heading_, 1);
    top->addWidget(close);
    layout->addLayout(top);
    list_ = new QListWidget(this);
    list_->setObjectName("CheckList");
    list_->setWordWrap(true);
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        emit cellChosen(item->data(kColumnRole).toInt(), item->data(kRowRole).toInt());
    });
    hide();
}

void CheckPanel::VerifierClick() {
    const Lang lang = session_.Language_();
    const char sep = session_.DecimalSeparator();
    const std::vector<Finding> findings =
        CheckTable(session_.Table, session_.Fields(), session_.DataType, sep);
    list_->clear();
    for (const Finding& f : findings) {
        auto* item = new QListWidgetItem(
            Q(FindingText(f, session_.Table, session_.Fields(), sep, lang)), list_);
        item->setData(kRowRole, f.row);
        item->setData(kColumnRole, f.column);
    }
    heading_->setText(findings.empty() ? Q(txt::CheckNothing.In(lang))
                                       : Q(Format(txt::CheckHeading.In(lang),
                                                  static_cast<int>(findings.size()))));
    show();
}

int CheckPanel::FindingCount() const {
    return list_->count();
}

} // namespace orvane
