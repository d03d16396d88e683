#include "ui/grid/DefinitionsPage.h"

#include "database/Template.h"
#include "ui/qt/QtText.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

namespace orvane {

namespace {
constexpr int kRowHeight = 20;
constexpr int kTextMargin = 8; // the style's padding around a cell's text
} // namespace

DefinitionsPage::DefinitionsPage(QWidget* parent) : QTableWidget(0, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setColumnWidth(0, 40);
    setColumnWidth(1, 199);
    // The line column takes the page's width; the user may still narrow it.
    horizontalHeader()->setStretchLastSection(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
}

void DefinitionsPage::Show(const DefinitionPage& page) {
    clearContents();
    setRowCount(int(page.Lines.size()) + 1);
    setItem(0, 1, new QTableWidgetItem(Q(page.Summary)));
    for (std::size_t n = 0; n < page.Lines.size(); ++n) {
        setItem(int(n) + 1, 0, new QTableWidgetItem(QString::number(n + 1)));
        setItem(int(n) + 1, 1, new QTableWidgetItem(CellToQString(page.Lines[n])));
    }
}

bool DefinitionsPage::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.data().toString();
        const int room = visualRect(index).width() - kTextMargin;
        if (index.isValid() && fontMetrics().horizontalAdvance(text) > room)
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QTableWidget::viewportEvent(event);
}

} // namespace orvane
