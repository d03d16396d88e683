#include "ui/map/MapWidget.h"

#include "database/RecordConversion.h"
#include "database/SessionState.h"
#include "database/TableCheck.h"
#include "platform/Paths.h"
#include "table/CoordinatePairs.h"
#include "table/ValueDisplay.h"
#include "ui/qt/QtText.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
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
const QColor kMove(150, 0, 170); // a real-world move

// A closing edge the cut of the land into rings made, not a coast: along the
// antimeridian, or along the south pole's edge of Antarctica.
bool IsSeam(QPointF a, QPointF b) {
    const auto onAntimeridian = [](double lon) {
        return std::abs(std::remainder(lon, 360.0)) > 179.999;
    };
    if (onAntimeridian(a.x()) && std::abs(a.x() - b.x()) < 1e-6) return true;
    return a.y() <= -89.999 && b.y() <= -89.999;
}

// The land file's rings, in degrees (x longitude, y latitude northward).
std::vector<std::vector<QPointF>> ReadRings() {
    std::vector<std::vector<QPointF>> rings;
    QFile file(":/map/land-110m.bin");
    if (!file.open(QIODevice::ReadOnly)) return rings;
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
        return rings;
    qsizetype at = 12;
    for (std::uint32_t ring = 0, count = u32(8); ring < count; ++ring) {
        const std::uint32_t n = u32(at);
        at += 4;
        if (n == 0 || at + qsizetype(n) * 8 > data.size()) break;
        std::vector<QPointF>& points = rings.emplace_back();
        for (std::uint32_t i = 0; i < n; ++i)
            points.emplace_back(f32(at + i * 8), f32(at + i * 8 + 4));
        at += qsizetype(n) * 8;
    }
    return rings;
}

// The land to fill (y grows southward on the screen).
QPainterPath ReadLand() {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const std::vector<QPointF>& ring : ReadRings()) {
        path.moveTo(ring[0].x(), -ring[0].y());
        for (std::size_t i = 1; i < ring.size(); ++i)
            path.lineTo(ring[i].x(), -ring[i].y());
        path.closeSubpath();
    }
    return path;
}

// The coasts to stroke: every edge of the rings but the seams.
QPainterPath ReadCoast() {
    QPainterPath path;
    for (const std::vector<QPointF>& ring : ReadRings()) {
        bool drawing = false;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
            if (IsSeam(a, b)) {
                drawing = false;
                continue;
            }
            if (!drawing) path.moveTo(a.x(), -a.y());
            path.lineTo(b.x(), -b.y());
            drawing = true;
        }
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

const QPainterPath& MapWidget::Coast() {
    static const QPainterPath coast = ReadCoast();
    return coast;
}

MapWidget::MapWidget(SessionState& session, QAbstractItemModel* model, QWidget* parent)
    : QWidget(parent), session_(session) {
    setMouseTracking(false);
    setMinimumSize(200, 150);
    setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    BuildTools();
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
    const double halfLon = w / 2 / xs;
    const QRectF land = Land().boundingRect(); // rings may run on past 180
    for (int copy = -1; copy <= 1; ++copy) {
        const double shift = 360.0 * copy;
        if (c.lon - halfLon > land.right() + shift || c.lon + halfLon < land.left() + shift)
            continue;
        painter.setTransform(
            QTransform(xs, 0, 0, ys, w / 2 + (shift - c.lon) * xs, h / 2 + c.lat * ys));
        // The fill without antialiasing: land cut at the antimeridian meets
        // its other half there without a pale line between them; the coast
        // stroked above it smooths the edges.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLand);
        painter.drawPath(Land());
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(coast);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(Coast());
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

    DrawLabels(painter);

    // Moves: a dashed line to where the point belongs, ending in a ring.
    for (const auto& [from, to] : moveLines_) {
        const ScreenPoint a = view_.ToScreen(from), b = view_.ToScreen(to);
        painter.setPen(QPen(kMove, 2, Qt::DashLine));
        painter.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(b.x, b.y), 4, 4);
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
    DrawScaleBar(painter);
}

void MapWidget::SetMoveLines(std::vector<std::pair<GeoPoint, GeoPoint>> lines) {
    moveLines_ = std::move(lines);
    update();
}

void MapWidget::DrawLabels(QPainter& painter) {
    // Beyond this many places in view, the labels would hide the map.
    constexpr std::size_t kMostLabelled = 1500;
    const int column = LabelColumn();
    if (visible_.empty() || visible_.size() > kMostLabelled) return;
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    const QFontMetricsF metrics(font);
    // The current row's label first, then the others in the table's order;
    // a label that would overlap one already placed is left out.
    std::vector<std::uint32_t> order = visible_;
    const MapItem* current = points_.ItemOfRow(session_.Table.CurrentRow());
    std::stable_partition(order.begin(), order.end(),
                          [&](std::uint32_t i) { return &points_.Items()[i] == current; });
    std::vector<QRectF> placed;
    QPainterPath texts;
    const QRectF view(0, 0, view_.Width(), view_.Height());
    const std::vector<int> endColumns = EndLabelColumns();
    const auto place = [&](const QString& label, ScreenPoint at, bool leftward) {
        if (label.isEmpty()) return;
        const double width = metrics.horizontalAdvance(label) + 2;
        const QRectF box(leftward ? at.x - 7 - width : at.x + 7, at.y - metrics.height() / 2, width,
                         metrics.height());
        if (!view.intersects(box)) return;
        if (std::any_of(placed.begin(), placed.end(),
                        [&](const QRectF& other) { return other.intersects(box); }))
            return;
        placed.push_back(box);
        texts.addText(box.left() + 1, box.top() + metrics.ascent(), font, label);
    };
    const auto cell = [&](int column, int row) {
        return CellToQString(TrimCell(session_.Table.Cell(column, row)));
    };
    for (std::uint32_t i : order) {
        const MapItem& item = points_.Items()[i];
        if (item.endCount >= 2 && static_cast<int>(endColumns.size()) >= item.endCount) {
            // Each end its own identifier, outside the line.
            const ScreenPoint a = view_.ToScreen(points_.End(item, 0));
            const ScreenPoint b = view_.ToScreen(points_.End(item, item.endCount - 1));
            place(cell(endColumns[0], item.row), a, a.x < b.x);
            place(cell(endColumns[static_cast<std::size_t>(item.endCount) - 1], item.row), b,
                  b.x < a.x);
        } else if (column >= 0) {
            place(cell(column, item.row), view_.ToScreen(points_.End(item, 0)), false);
        }
    }
    // Dark letters on a light halo, readable on land and sea.
    painter.setPen(QPen(QColor(255, 255, 255, 230), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(texts);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(35, 35, 35));
    painter.drawPath(texts);
}

namespace {
constexpr double kMetresPerDegree = 111195; // a degree of latitude, on the mean sphere
constexpr double kMetresPerNauticalMile = 1852;

// The longest of 1, 2 or 5 times a power of ten that is at most `most`.
double RoundLength(double most) {
    const double unit = std::pow(10.0, std::floor(std::log10(most)));
    for (double k : {5.0, 2.0})
        if (k * unit <= most) return k * unit;
    return unit;
}
} // namespace

double MapWidget::ScaleBarMetres(double pixelsPerDegree, double maxPixels) {
    return RoundLength(kMetresPerDegree / pixelsPerDegree * maxPixels);
}

QString MapWidget::DistanceText(double metres) {
    return metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000)
                          : QStringLiteral("%1 m").arg(metres);
}

void MapWidget::DrawScaleBar(QPainter& painter) {
    // North-south distances are true everywhere on the map, and east-west
    // ones too once zoomed in past the world views.
    constexpr double kMostPixels = 120;
    const double pixelsPerMetre = view_.Scale() / kMetresPerDegree;
    struct Bar {
        double pixels;
        QString text;
    };
    std::vector<Bar> bars;
    const double metres = ScaleBarMetres(view_.Scale(), kMostPixels);
    bars.push_back({metres * pixelsPerMetre, DistanceText(metres)});
    const double miles = kMostPixels / pixelsPerMetre / kMetresPerNauticalMile;
    if (miles >= 1) {
        const double nm = RoundLength(miles);
        bars.push_back(
            {nm * kMetresPerNauticalMile * pixelsPerMetre, QStringLiteral("%1 NM").arg(nm)});
    }
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double rowHeight = metrics.height() + 4;
    double width = 0;
    for (const Bar& b : bars)
        width = std::max(width, b.pixels + 8 + metrics.horizontalAdvance(b.text));
    const QRectF box(8, view_.Height() - 8 - rowHeight * bars.size() - 4, width + 12,
                     rowHeight * bars.size() + 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(QPen(QColor(35, 35, 35), 1.5));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const double y = box.top() + 2 + rowHeight * (i + 0.5) + 3;
        const double x0 = box.left() + 6, x1 = x0 + bars[i].pixels;
        painter.drawLine(QPointF(x0, y), QPointF(x1, y));
        painter.drawLine(QPointF(x0, y - 4), QPointF(x0, y));
        painter.drawLine(QPointF(x1, y - 4), QPointF(x1, y));
        painter.drawText(QPointF(x1 + 6, y + metrics.ascent() / 2 - 1), bars[i].text);
    }
}

int MapWidget::ItemAt(QPointF at) {
    Refresh();
    return points_.Nearest(view_, {at.x(), at.y()}, 8);
}

int MapWidget::LabelColumn() const {
    return PlaceLabelColumn(session_.Table);
}

std::vector<int> MapWidget::EndLabelColumns() const {
    // A runway's "End 1 identifier", "End 2 identifier"...
    const RecordTable& t = session_.Table;
    std::vector<int> columns;
    for (int c = kFirstFieldColumn; c < t.ColumnCount(); ++c) {
        const std::string title = ToLowerAscii(t.Cell(c, 0));
        if (title.find("end") != std::string::npos && title.find("ident") != std::string::npos)
            columns.push_back(c);
    }
    return columns.size() >= 2 ? columns : std::vector<int>{};
}

QString MapWidget::RowHint(int row) const {
    const RecordTable& t = session_.Table;
    int key = LabelColumn();
    if (key < 0) key = KeyColumn(session_.Fields(), session_.DataType);
    if (key < 0) key = FieldColumnNamed(t, "key");
    const int name =
        FieldColumnNamed(t, "name") >= 0 ? FieldColumnNamed(t, "name") : FieldColumnNamed(t, "nom");
    QStringList lines;
    QString first;
    if (key >= 0) first = CellToQString(TrimCell(t.Cell(key, row)));
    QStringList ends; // a runway's ends: "09L/27R"
    for (int c : EndLabelColumns())
        ends << CellToQString(TrimCell(t.Cell(c, row)));
    if (!ends.isEmpty()) first += (first.isEmpty() ? "" : " ") + ends.join('/');
    if (name >= 0) {
        const QString named = CellToQString(TrimCell(t.Cell(name, row)));
        if (!named.isEmpty()) first += (first.isEmpty() ? "" : " - ") + named;
    }
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

// --- Commands ----------------------------------------------------------------------------

namespace {

// The buttons' icons, drawn so that they need no image files.
QIcon CommandIcon(char which) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (which) {
    case 'f': // four corners: everything in the frame
        for (int sx : {-1, 1})
            for (int sy : {-1, 1}) {
                const QPointF corner(16 + sx * 11, 16 + sy * 11);
                p.drawLine(corner, corner - QPointF(sx * 7, 0));
                p.drawLine(corner, corner - QPointF(0, sy * 7));
            }
        break;
    case 'c': // a target
        p.drawEllipse(QPointF(16, 16), 8, 8);
        p.drawLine(QPointF(16, 2), QPointF(16, 10));
        p.drawLine(QPointF(16, 22), QPointF(16, 30));
        p.drawLine(QPointF(2, 16), QPointF(10, 16));
        p.drawLine(QPointF(22, 16), QPointF(30, 16));
        break;
    case '+':
        p.drawLine(QPointF(16, 6), QPointF(16, 26));
        [[fallthrough]];
    case '-':
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

void MapWidget::BuildTools() {
    tools_ = new QToolBar(this);
    tools_->setObjectName("CarteOutils");
    tools_->setIconSize(QSize(20, 20));
    tools_->setAutoFillBackground(true);
    tools_->setStyleSheet(
        QStringLiteral("QToolBar#CarteOutils { background: rgba(255, 255, 255, 210); "
                       "border: 1px solid #8c8c8c; border-radius: 3px; }"));
    const auto command = [this](const char* name, char icon, auto run) {
        auto* action = tools_->addAction(CommandIcon(icon), QString());
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    fitAll_ = command("MapFitAll", 'f', [this] { FitAll(); });
    centre_ = command("MapCentre", 'c', [this] {
        if (!CentreOnCurrentRow()) QApplication::beep();
    });
    zoomIn_ = command("MapZoomIn", '+', [this] { ZoomBy(2); });
    zoomOut_ = command("MapZoomOut", '-', [this] { ZoomBy(0.5); });
    for (QWidget* button : tools_->findChildren<QToolButton*>())
        button->setFocusPolicy(Qt::NoFocus); // the keys stay with the map
    tools_->move(6, 6);
    tools_->adjustSize();
}

void MapWidget::FitAll() {
    FitToPoints();
    update();
}

bool MapWidget::CentreOnCurrentRow() {
    Refresh();
    const MapItem* item = points_.ItemOfRow(session_.Table.CurrentRow());
    if (!item) return false;
    // A runway's middle: its first end plus half the way to the last.
    const GeoPoint a = points_.End(*item, 0), b = points_.End(*item, item->endCount - 1);
    const GeoPoint middle{a.lon + WrapLongitude(b.lon - a.lon) / 2, (a.lat + b.lat) / 2};
    // From afar, close enough to see the place among its neighbours.
    constexpr double kRegionScale = 200; // pixels per degree: a few degrees across
    view_.SetView(middle, std::max(view_.Scale(), kRegionScale));
    fitPending_ = false;
    update();
    return true;
}

void MapWidget::ZoomBy(double factor) {
    view_.ZoomAt({view_.Width() / 2, view_.Height() / 2}, factor);
    fitPending_ = false;
    update();
}

void MapWidget::keyPressEvent(QKeyEvent* event) {
    // Arrows move the view by an eighth of its size, a step with Shift.
    const double step = event->modifiers() & Qt::ShiftModifier ? 1.0 / 32 : 1.0 / 8;
    const double dx = view_.Width() * step, dy = view_.Height() * step;
    switch (event->key()) {
    case Qt::Key_Left:
        view_.Pan(dx, 0);
        break;
    case Qt::Key_Right:
        view_.Pan(-dx, 0);
        break;
    case Qt::Key_Up:
        view_.Pan(0, dy);
        break;
    case Qt::Key_Down:
        view_.Pan(0, -dy);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn_->trigger();
        return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        zoomOut_->trigger();
        return;
    case Qt::Key_Home:
        fitAll_->trigger();
        return;
    case Qt::Key_C:
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return QWidget::keyPressEvent(event);
        centre_->trigger();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    fitPending_ = false;
    update();
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
