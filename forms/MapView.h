// The map's geometry, free of any window: the projection between degrees and
// the screen, the points and runway lines read from the table's coordinate
// fields, and a bucket index that finds what a view shows without walking
// every row.
#pragma once

#include "table/CoordinatePairs.h"
#include "table/RecordTable.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace orvane {

struct ScreenPoint {
    double x = 0, y = 0;
};

// Equirectangular view: the centre of the view at the centre of the widget,
// `scale` pixels per degree of latitude. When zoomed in, a degree of
// longitude shrinks by the cosine of the centre's latitude so that an
// airfield keeps its shape; at world scale the grid stays square.
class MapProjection {
  public:
    static constexpr double kMaxScale = 400000; // pixels per degree: ~300 m across 1000 pixels

    void SetViewport(double width, double height);
    double Width() const { return width_; }
    double Height() const { return height_; }
    // The whole world fits the view.
    void ShowWorld();
    double WorldScale() const;
    double Scale() const { return scale_; }
    GeoPoint Centre() const { return centre_; }
    void SetView(GeoPoint centre, double scale);

    // A longitude is drawn at its nearest copy to the centre, so the view is
    // seamless across the antimeridian.
    ScreenPoint ToScreen(GeoPoint p) const;
    GeoPoint ToGeo(ScreenPoint s) const;

    // The view moves by a drag of (dx, dy) pixels.
    void Pan(double dx, double dy);
    // Zooms by factor, the place under `cursor` staying under it.
    void ZoomAt(ScreenPoint cursor, double factor);
    // The view that shows a box of degrees whole (west edge, eastward width).
    void Fit(double lonWest, double lonWidth, double latMin, double latMax);

    // Degrees of longitude and latitude the view spans.
    double LonSpan() const { return width_ / XScale(); }
    double LatSpan() const { return height_ / scale_; }
    double XScale() const; // pixels per degree of longitude

  private:
    void Clamp();
    double width_ = 800, height_ = 400;
    GeoPoint centre_;
    double scale_ = 2;
};

// What the map draws of one row: its ends (one for an airport or navaid, two
// for a runway, joined by a line) and its marks.
struct MapItem {
    int row = 0;
    std::uint32_t firstEnd = 0;
    std::uint8_t endCount = 0;
    bool deleted = false;  // "x" in Suppr
    bool exported = false; // "1" in Export
};

class MapPoints {
  public:
    // Every data row whose coordinates read: a point per readable pair, in
    // seconds of arc as the cells hold them (decimalSeparator of the D cells).
    void Build(const RecordTable& table, char decimalSeparator);
    const std::vector<MapItem>& Items() const { return items_; }
    GeoPoint End(const MapItem& item, int i) const { return ends_[item.firstEnd + i]; }
    // The box of every end: west edge, eastward width (the narrower of the
    // two ways round the globe), latitudes. False when there is no item.
    bool Extent(double& lonWest, double& lonWidth, double& latMin, double& latMax) const;
    // The item of a table row, or nullptr.
    const MapItem* ItemOfRow(int row) const;
    std::uint64_t BuiltRevision() const { return revision_; }

    // The items with an end inside the box (degrees, lonMin may exceed lonMax
    // across the antimeridian), or a line crossing it; each item once.
    void Query(double lonMin, double lonMax, double latMin, double latMax,
               std::vector<std::uint32_t>& out) const;
    // What the projection's view shows, with a margin of `marginPixels`.
    void Visible(const MapProjection& view, double marginPixels,
                 std::vector<std::uint32_t>& out) const;
    // The item whose end is nearest to a screen point within `radius` pixels;
    // -1 when none.
    int Nearest(const MapProjection& view, ScreenPoint at, double radius) const;

  private:
    static constexpr int kCols = 360, kRows = 180; // one-degree buckets
    void Index();
    std::vector<MapItem> items_;
    std::vector<GeoPoint> ends_;
    std::vector<std::uint32_t> bucketStart_; // kCols * kRows + 1 offsets
    std::vector<std::uint32_t> bucketItems_;
    std::vector<std::uint32_t> wide_;         // lines longer than a bucket: always tested
    std::vector<int> itemOfRow_;              // table row -> item, -1 for none
    mutable std::vector<std::uint32_t> seen_; // query stamp per item
    mutable std::uint32_t stamp_ = 0;
    std::uint64_t revision_ = ~std::uint64_t{0};
};

} // namespace orvane
