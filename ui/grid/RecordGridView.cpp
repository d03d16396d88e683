#include "ui/grid/RecordGridView.h"

#include "table/RecordTable.h"
#include "ui/qt/QtText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <string_view>

namespace orvane {

namespace {
constexpr int kFlagWidths[4] = {45, 45, 50, 50};
constexpr int kRowHeight = 21;
// Rows sampled to size a field column (never the whole table).
constexpr int kWidthSampleRows = 200;
constexpr int kTextMargin = 8; // left and right padding of a heading's text
constexpr int kArrowWidth = 9; // the sort arrow's width
constexpr int kArrowRoom = kArrowWidth + 4;
} // namespace

SortArrowHeader::SortArrowHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    connect(this, &QHeaderView::sortIndicatorChanged, this,
            [this](int logicalIndex, Qt::SortOrder) { WidenForArrow(logicalIndex); });
}

void SortArrowHeader::WidenForArrow(int logicalIndex) {
    if (!model() || logicalIndex < 0 || logicalIndex >= count() || !isSortIndicatorShown()) return;
    int longest = 0;
    const QString text = model()->headerData(logicalIndex, orientation()).toString();
    for (const QString& word :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        longest = std::max(longest, fontMetrics().horizontalAdvance(word));
    // The style draws the label with a margin of its own on each side.
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const int needed = longest + margin + kTextMargin + kArrowRoom;
    if (sectionSize(logicalIndex) < needed) resizeSection(logicalIndex, needed);
}

bool SortArrowHeader::Sorted(int logicalIndex) const {
    return isSortIndicatorShown() && sortIndicatorSection() == logicalIndex;
}

QRect SortArrowHeader::TextRect(const QRect& section, int logicalIndex) const {
    QRect r = section.adjusted(kTextMargin / 2, 0, -kTextMargin / 2, 0);
    if (Sorted(logicalIndex)) r.setRight(r.right() - kArrowRoom);
    return r;
}

void SortArrowHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->sortIndicator = QStyleOptionHeader::None; // drawn by paintSection
}

void SortArrowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    initStyleOptionForIndex(&opt, logicalIndex);
    opt.rect = rect;
    const QPointF origin = painter->brushOrigin();
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    QStyleOptionHeader label = opt;
    label.rect = TextRect(rect, logicalIndex);
    style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
    if (Sorted(logicalIndex)) {
        const int h = kArrowWidth / 2 + 1;
        const int x = rect.right() - kTextMargin / 2 - kArrowWidth;
        const int y = rect.center().y() - h / 2;
        QPolygon arrow;
        if (sortIndicatorOrder() == Qt::AscendingOrder)
            arrow << QPoint(x, y + h) << QPoint(x + kArrowWidth, y + h)
                  << QPoint(x + kArrowWidth / 2, y);
        else
            arrow << QPoint(x, y) << QPoint(x + kArrowWidth, y)
                  << QPoint(x + kArrowWidth / 2, y + h);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(opt.palette.color(QPalette::ButtonText));
        painter->drawPolygon(arrow);
    }
    painter->restore();
    painter->setBrushOrigin(origin);
}

WrapHeaderView::WrapHeaderView(QWidget* parent) : SortArrowHeader(parent) {
    setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    setTextElideMode(Qt::ElideNone);
    setSectionsClickable(true);
    setHighlightSections(false);
}

QSize WrapHeaderView::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (!model()) return size;
    const QString text = model()->headerData(logicalIndex, orientation()).toString();
    const int width =
        std::max(10, TextRect(QRect(0, 0, sectionSize(logicalIndex), 10), logicalIndex).width());
    const QRect r = fontMetrics().boundingRect(QRect(0, 0, width, 10000),
                                               Qt::AlignCenter | Qt::TextWordWrap, text);
    size.setHeight(std::max(size.height(), r.height() + 6));
    return size;
}

void WrapHeaderView::FitHeight(int minimum) {
    int h = minimum;
    if (model())
        for (int c = 0; c < count(); ++c)
            h = std::max(h, sectionSizeFromContents(c).height());
    height_ = h;
    updateGeometry();
    // QTableView lays out its header from sizeHint on geometry updates.
    if (auto* view = qobject_cast<QTableView*>(parentWidget())) view->updateGeometry();
    resize(width(), h);
}

QSize WrapHeaderView::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    s.setHeight(height_);
    return s;
}

RecordGridView::RecordGridView(QWidget* parent) : QTableView(parent) {
    heading_ = new WrapHeaderView(this);
    setHorizontalHeader(heading_);
    verticalHeader()->hide(); // no fixed column
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(21);
    verticalHeader()->setMinimumSectionSize(10);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSortingEnabled(false); // headings sort through the window's rule
    setWordWrap(false);
    setMouseTracking(true); // hover hints and status text
    // A double click belongs to the record editor: typing or F2 edits.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A hint belongs to the cell under the mouse: it goes when the cells move.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [] { QToolTip::hideText(); });
    heading_->setSortIndicatorShown(true);
    heading_->setSortIndicator(-1, Qt::AscendingOrder); // none until a sort
}

void RecordGridView::mousePressEvent(QMouseEvent* event) {
    const bool onCell = indexAt(event->position().toPoint()).isValid();
    QTableView::mousePressEvent(event);
    if (onCell) emit cellPressed();
}

void RecordGridView::keyPressEvent(QKeyEvent* event) {
    if (state() != EditingState) {
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            emit deletePressed();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (moveDownOnEnter_) MoveDown();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

bool RecordGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool editing = QTableView::edit(index, trigger, event);
    // F2 goes on with the text, as in a spreadsheet; typing replaces it.
    if (editing && trigger == EditKeyPressed)
        if (auto* line = qobject_cast<QLineEdit*>(indexWidget(index))) {
            line->deselect();
            line->end(false);
        }
    return editing;
}

void RecordGridView::keyboardSearch(const QString& search) {
    if (!search.isEmpty()) QApplication::beep();
}

void RecordGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    // Enter in an editor: the text is committed, the next row's cell comes next.
    if (hint == QAbstractItemDelegate::SubmitModelCache && moveDownOnEnter_) MoveDown();
}

void RecordGridView::EndEdit(bool commit) {
    if (!Editing()) return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return;
    if (commit) commitData(editor);
    QTableView::closeEditor(editor, commit ? QAbstractItemDelegate::NoHint
                                           : QAbstractItemDelegate::RevertModelCache);
}

void RecordGridView::MoveDown() {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() + 1 >= model()->rowCount()) return;
    setCurrentIndex(model()->index(current.row() + 1, current.column()));
}

void RecordGridView::FitColumns(const RecordTable& t) {
    const QFontMetrics fm(font());
    const QFontMetrics hfm(horizontalHeader()->font());
    const QString largestNumber(QString::number(std::max(t.RowCount() - 1, 1)).size(), '0');
    for (int c = 0; c < t.ColumnCount(); ++c) {
        // A flag column keeps its designed width unless its heading needs more
        // in the platform's font ("Change" does).
        int w = c < kFirstFieldColumn ? kFlagWidths[c] : 40;
        for (const QString& word :
             CellToQString(t.Cell(c, 0)).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            w = std::max(w, hfm.horizontalAdvance(word) + 14);
        if (c == kColNumber) w = std::max(w, fm.horizontalAdvance(largestNumber) + 12);
        if (c < kFirstFieldColumn) {
            setColumnWidth(c, w);
            continue;
        }
        // Measuring a text shapes it, which is slow: only the longest few of
        // the sampled texts are measured.
        std::array<std::string_view, 3> longest{};
        const int last = std::min(t.RowCount() - 1, kWidthSampleRows);
        for (int r = 1; r <= last; ++r) {
            std::string_view text = t.Cell(c, r);
            for (auto& kept : longest)
                if (text.size() > kept.size()) std::swap(text, kept);
        }
        for (const auto& text : longest)
            w = std::max(w, fm.horizontalAdvance(CellToQString(text)) + 12);
        setColumnWidth(c, std::min(w, 260));
    }
    heading_->WidenForArrow(heading_->sortIndicatorSection()); // an arrow kept through a refit
    heading_->FitHeight(kRowHeight);
}

void RecordGridView::ShowSortArrow(int column, bool ascending) {
    heading_->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The arrow takes room from its heading's text, which may wrap once more.
    if (column >= 0) heading_->FitHeight(kRowHeight);
}

} // namespace orvane
