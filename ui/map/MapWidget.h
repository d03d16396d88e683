// The "Carte" / "Map" page: the land outlines, and a point for every row
// whose coordinates read (a runway as a line between its ends). Drag pans,
// the wheel zooms around the cursor, a click makes a point's row current,
// the hint names the row. Only what the view shows is drawn.
#pragma once

#include "table/MapView.h"

#include <QPainterPath>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <vector>

class QAbstractItemModel;

namespace orvane {

struct SessionState;

class MapWidget : public QWidget {
    Q_OBJECT
  public:
    MapWidget(SessionState& session, QAbstractItemModel* model, QWidget* parent = nullptr);

    MapProjection& View() { return view_; }
    const MapPoints& Points();
    // Brings the points up to date with the table (done before each paint).
    void Refresh();
    // The view that shows every point (the world when there is none).
    void FitToPoints();
    // A new table: the view fits its points when the page next shows.
    void FitOnNextShow();
    // The hint of a table row: key, name, coordinates.
    QString RowHint(int row) const;
    // Draws the map on any device (the benchmarks draw on an image).
    void Render(QPainter& painter);

    // The land's rings as read from the resource, in degrees.
    static const QPainterPath& Land();

  signals:
    // A point was clicked: its table row.
    void rowClicked(int row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

  private:
    int ItemAt(QPointF at);
    SessionState& session_;
    MapProjection view_;
    MapPoints points_;
    bool fitPending_ = true;
    QPoint pressAt_;
    QPoint lastDrag_;
    bool dragging_ = false;
    std::vector<std::uint32_t> visible_;
    std::vector<std::uint64_t> drawn_; // one bit per pixel, to draw a crowded pixel once
};

} // namespace orvane
