// The "Carte" / "Map" page: the land outlines, and a point for every row
// whose coordinates read (a runway as a line between its ends), labelled
// with its code where the labels have room, and a scale bar. Drag or the
// arrows pan, the wheel zooms around the cursor, + and - around the centre;
// Home fits every point, C centres the current row (also on the page's
// buttons). A click makes a point's row current, the hint names the row.
// Only what the view shows is drawn.
#pragma once

#include "forms/MapView.h"

#include <QPainterPath>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

class QAbstractItemModel;
class QAction;
class QToolBar;

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
    // The hint of a table row: its code (or key) and name, its coordinates.
    QString RowHint(int row) const;
    // The column whose text labels a point: the ICAO code of an airport, the
    // identifier of a navaid; -1 when the table has none.
    int LabelColumn() const;
    // A runway's end identifiers, one column per end; empty when the table has none.
    std::vector<int> EndLabelColumns() const;

    // The page's commands (their buttons are on the map, their keys work
    // while the map has the focus).
    void FitAll();
    // Centres the view on the current row's point, zoomed in to at least a
    // region; false when the row has no point.
    bool CentreOnCurrentRow();
    void ZoomBy(double factor);
    QAction* FitAllAction() const { return fitAll_; }
    QAction* CentreAction() const { return centre_; }
    QAction* ZoomInAction() const { return zoomIn_; }
    QAction* ZoomOutAction() const { return zoomOut_; }

    // The scale bar's length in metres and its text for a view's scale
    // (pixels per degree of latitude): the longest round length that fits
    // in maxPixels.
    static double ScaleBarMetres(double pixelsPerDegree, double maxPixels);
    static QString DistanceText(double metres);

    // The land's outline: the coasts without the rings' closing edges along
    // the antimeridian and the south pole.
    static const QPainterPath& Coast();
    // Lines from where rows are to where the real world has them (a
    // comparison's moves), drawn above the points; none: an empty list.
    void SetMoveLines(std::vector<std::pair<GeoPoint, GeoPoint>> lines);
    const std::vector<std::pair<GeoPoint, GeoPoint>>& MoveLines() const { return moveLines_; }
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
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    int ItemAt(QPointF at);
    void BuildTools();
    void DrawLabels(QPainter& painter);
    void DrawScaleBar(QPainter& painter);
    QToolBar* tools_ = nullptr;
    QAction* fitAll_ = nullptr;
    QAction* centre_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    SessionState& session_;
    MapProjection view_;
    MapPoints points_;
    bool fitPending_ = true;
    QPoint pressAt_;
    QPoint lastDrag_;
    bool dragging_ = false;
    std::vector<std::uint32_t> visible_;
    std::vector<std::uint64_t> drawn_; // one bit per pixel, to draw a crowded pixel once
    std::vector<std::pair<GeoPoint, GeoPoint>> moveLines_;
};

} // namespace orvane
