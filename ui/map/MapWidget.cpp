#include "ui/map/MapWidget.h"

#include "database/SessionState.h"
#include "database/TableCheck.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"
#include "ui/qt/QtText.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <cstring>

namespace orvane {

namespace {

const QColor kSea(206, 224, 240);
const QColor kLand(240, 236, 222);
const QColor kCoast(150, 150, 140);
const QColor kPoint(25, 70, 160);
const QColor kExported(230, 130, 0);
const QColor kDeleted(210, 20, 20);

QPainterPath ReadLand() {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    QFile file(":/map/land-110m.bin");
    if (!file.open(QIODevice::ReadOnly)) return path;
    const QByteArray data = file.readAll();
    const auto u32 = [&](qsizetype at) {
        std::uint32_t v = 0;
        if (at + 4 <= data.size()) std::memcpy(&v, data.constData() + at, 4);
        return v;
    };
    const auto f32 = [&](qsizetype at) {
        float v = 0;
        std::memcpy(&v, data.constData() + at, 4);
        return static_cast<double>(v);
    };
    if (data.size() < 12 || std::memcmp(data.constData(), "OLND", 4) != 0 || u32(4) != 1)
        return path;
    qsizetype at = 12;
    for (std::uint32_t ring = 0, rings = u32(8); ring < rings; ++ring) {
        const std::uint32_t n = u32(at);
        at += 4;
        if (n == 0 || at + qsizetype(n) * 8 > data.size()) break;
        // y grows southward on the screen.
        path.moveTo(f32(at), -f32(at + 4));
        for (std::uint32_t i = 1; i < n; ++i)
            path.lineTo(f32(at + i * 8), -f32(at + i * 8 + 4));
        path.closeSubpath();
        at += qsizetype(n) * 8;
    }
    return path;
}

int FieldColumnNamed(const RecordTable& t, const char* word) {
    for (int c = kFirstFieldColumn; c < t.ColumnCount(); ++c)
        if (ToLowerAscii(t.Cell(c, 0)).find(word) != std::string::npos) return c;
    return -1;
}

} // namespace

const QPainterPath& MapWidget::Land() {
    static const QPainterPath land = ReadLand();
    return land;
}

MapWidget::MapWidget(SessionState& session, QAbstractItemModel* model, QWidget* parent)
    : QWidget(parent), session_(session) {
    setMouseTracking(false);
    setMinimumSize(200, 150);
    setCursor(Qt::OpenHandCursor);
    view_.SetViewport(width(), height());
    view_.ShowWorld();
    if (model) {
        const auto repaint = [this] { update(); };
        connect(model, &QAbstractItemModel::modelReset, this, repaint);
        connect(model, &QAbstractItemModel::dataChanged, this, repaint);
        connect(model, &QAbstractItemModel::rowsInserted, this, repaint);
        connect(model, &QAbstractItemModel::rowsRemoved, this, repaint);
    }
}

void MapWidget::Refresh() {
    if (points_.BuiltRevision() != session_.Table.Revision())
        points_.Build(session_.Table, session_.DecimalSeparator());
    if (fitPending_ && isVisible()) FitToPoints();
}

const MapPoints& MapWidget::Points() {
    Refresh();
    return points_;
}

void MapWidget::FitToPoints() {
    if (points_.BuiltRevision() != session_.Table.Revision())
        points_.Build(session_.Table, session_.DecimalSeparator());
    fitPending_ = false;
    double west, width, latMin, latMax;
    if (points_.Extent(west, width, latMin, latMax))
        view_.Fit(west, width, latMin, latMax);
    else
        view_.ShowWorld();
}

void MapWidget::FitOnNextShow() {
    fitPending_ = true;
    update();
}

void MapWidget::resizeEvent(QResizeEvent*) {
    view_.SetViewport(width(), height());
}

void MapWidget::paintEvent(QPaintEvent*) {
    Refresh();
    QPainter painter(this);
    Render(painter);
}

void MapWidget::Render(QPainter& painter) {
    const double w = view_.Width(), h = view_.Height();
    painter.fillRect(QRectF(0, 0, w, h), kSea);
    painter.setRenderHint(QPainter::Antialiasing, true);

    // The land in degrees, drawn at each copy of the globe the view reaches.
    const GeoPoint c = view_.Centre();
    const double xs = view_.XScale(), ys = view_.Scale();
    QPen coast(kCoast, 1);
    coast.setCosmetic(true);
    painter.setPen(coast);
    painter.setBrush(kLand);
    const double halfLon = w / 2 / xs;
    const QRectF land = Land().boundingRect(); // rings may run on past 180
    for (int copy = -1; copy <= 1; ++copy) {
        const double shift = 360.0 * copy;
        if (c.lon - halfLon > land.right() + shift || c.lon + halfLon < land.left() + shift)
            continue;
        painter.setTransform(
            QTransform(xs, 0, 0, ys, w / 2 + (shift - c.lon) * xs, h / 2 + c.lat * ys));
        painter.drawPath(Land());
    }
    painter.resetTransform();

    points_.Visible(view_, 8, visible_);
    const int current = session_.Table.CurrentRow();
    const auto colourOf = [](const MapItem& item) {
        return item.deleted ? kDeleted : item.exported ? kExported : kPoint;
    };

    // Runways: a line when it is long enough to show.
    for (std::uint32_t i : visible_) {
        const MapItem& item = points_.Items()[i];
        if (item.endCount < 2) continue;
        const ScreenPoint a = view_.ToScreen(points_.End(item, 0));
        const ScreenPoint b = view_.ToScreen(points_.End(item, 1));
        if (std::abs(a.x - b.x) + std::abs(a.y - b.y) < 3) continue;
        painter.setPen(
            QPen(colourOf(item), std::clamp(ys / 4000, 2.0, 10.0), Qt::SolidLine, Qt::FlatCap));
        for (int e = 1; e < item.endCount; ++e) {
            const ScreenPoint p = view_.ToScreen(points_.End(item, e - 1));
            const ScreenPoint q = view_.ToScreen(points_.End(item, e));
            painter.drawLine(QPointF(p.x, p.y), QPointF(q.x, q.y));
        }
    }

    // Points, one per cell of 3 x 3 pixels: a crowded world view draws each
    // cell once, the marked rows above the others.
    constexpr int kCell = 3;
    const int cw = static_cast<int>(w) / kCell + 1, ch = static_cast<int>(h) / kCell + 1;
    drawn_.assign((static_cast<std::size_t>(cw) * ch + 63) / 64, 0);
    QList<QPointF> groups[3];
    for (int pass = 2; pass >= 0; --pass)
        for (std::uint32_t i : visible_) {
            const MapItem& item = points_.Items()[i];
            const int group = item.deleted ? 2 : item.exported ? 1 : 0;
            if (group != pass) continue;
            for (int e = 0; e < item.endCount; ++e) {
                const ScreenPoint s = view_.ToScreen(points_.End(item, e));
                if (s.x < -4 || s.y < -4 || s.x > w + 4 || s.y > h + 4) continue;
                const int px = std::clamp(static_cast<int>(s.x) / kCell, 0, cw - 1);
                const int py = std::clamp(static_cast<int>(s.y) / kCell, 0, ch - 1);
                const std::size_t bit = static_cast<std::size_t>(py) * cw + px;
                if (drawn_[bit / 64] & (std::uint64_t{1} << (bit % 64))) continue;
                drawn_[bit / 64] |= std::uint64_t{1} << (bit % 64);
                groups[group].append(QPointF(s.x, s.y));
            }
        }
    // Sprites are far cheaper than stroking thousands of round pens.
    const QColor colours[3] = {kPoint, kExported, kDeleted};
    for (int g = 0; g < 3; ++g) {
        QPixmap dot(8, 8);
        dot.fill(Qt::transparent);
        {
            QPainter p(&dot);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(colours[g]);
            p.drawEllipse(QRectF(1, 1, 6, 6));
        }
        for (const QPointF& at : groups[g])
            painter.drawPixmap(QPointF(at.x() - 4, at.y() - 4), dot);
    }

    // The current row: a ring around each of its ends.
    if (const MapItem* item = points_.ItemOfRow(current)) {
        for (int e = 0; e < item->endCount; ++e) {
            const ScreenPoint s = view_.ToScreen(points_.End(*item, e));
            painter.setPen(QPen(Qt::black, 2));
            painter.setBrush(QColor(255, 230, 0));
            painter.drawEllipse(QPointF(s.x, s.y), 7, 7);
            painter.setPen(QPen(colourOf(*item), 6, Qt::SolidLine, Qt::RoundCap));
            painter.drawPoint(QPointF(s.x, s.y));
        }
    }
}

int MapWidget::ItemAt(QPointF at) {
    Refresh();
    return points_.Nearest(view_, {at.x(), at.y()}, 8);
}

QString MapWidget::RowHint(int row) const {
    const RecordTable& t = session_.Table;
    int key = KeyColumn(session_.Fields(), session_.DataType);
    if (key < 0) key = FieldColumnNamed(t, "key");
    if (key < 0) key = FieldColumnNamed(t, "ident");
    const int name =
        FieldColumnNamed(t, "name") >= 0 ? FieldColumnNamed(t, "name") : FieldColumnNamed(t, "nom");
    QStringList lines;
    QString first;
    if (key >= 0) first = CellToQString(t.Cell(key, row));
    if (name >= 0) first += (first.isEmpty() ? "" : " - ") + CellToQString(t.Cell(name, row));
    lines << (first.isEmpty() ? QString::number(row) : first);
    std::vector<std::string_view> titles;
    for (int c = kFirstFieldColumn; c < t.ColumnCount(); ++c)
        titles.push_back(t.Cell(c, 0));
    for (const CoordinateFields& p : FindCoordinatePairs(titles))
        if (auto text = CoordinateText(t.Cell(kFirstFieldColumn + p.latitude, row),
                                       t.Cell(kFirstFieldColumn + p.longitude, row),
                                       session_.DecimalSeparator()))
            lines << Q(*text); // UTF-8
    return lines.join('\n');
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressAt_ = lastDrag_ = event->position().toPoint();
    dragging_ = false;
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    if (!dragging_ && (at - pressAt_).manhattanLength() < 4) return;
    if (!dragging_) setCursor(Qt::ClosedHandCursor);
    dragging_ = true;
    view_.Pan(at.x() - lastDrag_.x(), at.y() - lastDrag_.y());
    lastDrag_ = at;
    update();
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (dragging_) {
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
        return;
    }
    const int item = ItemAt(event->position());
    if (item >= 0) emit rowClicked(points_.Items()[static_cast<std::size_t>(item)].row);
}

void MapWidget::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    view_.ZoomAt({at.x(), at.y()}, std::pow(2.0, event->angleDelta().y() / 240.0));
    update();
    event->accept();
}

bool MapWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int item = ItemAt(help->pos());
        if (item >= 0)
            QToolTip::showText(help->globalPos(),
                               RowHint(points_.Items()[static_cast<std::size_t>(item)].row), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace orvane
