#include "forms/MapView.h"

#include "platform/Paths.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {

// --- Projection --------------------------------------------------------------------------

void MapProjection::SetViewport(double width, double height) {
    width_ = std::max(width, 1.0);
    height_ = std::max(height, 1.0);
    Clamp();
}

double MapProjection::WorldScale() const {
    return std::min(width_ / 360.0, height_ / 180.0);
}

void MapProjection::ShowWorld() {
    centre_ = {0, 0};
    scale_ = WorldScale();
}

void MapProjection::SetView(GeoPoint centre, double scale) {
    centre_ = centre;
    scale_ = scale;
    Clamp();
}

double MapProjection::XScale() const {
    // Square degrees at world scale; true shape from 32 times closer on.
    const double zoom = std::log2(std::max(scale_ / WorldScale(), 1.0));
    const double blend = std::clamp((zoom - 2.0) / 3.0, 0.0, 1.0);
    const double k = std::cos(centre_.lat * blend * std::numbers::pi / 180.0);
    return scale_ * std::max(k, 0.05);
}

ScreenPoint MapProjection::ToScreen(GeoPoint p) const {
    return {width_ / 2 + WrapLongitude(p.lon - centre_.lon) * XScale(),
            height_ / 2 - (p.lat - centre_.lat) * scale_};
}

GeoPoint MapProjection::ToGeo(ScreenPoint s) const {
    return {WrapLongitude(centre_.lon + (s.x - width_ / 2) / XScale()),
            centre_.lat - (s.y - height_ / 2) / scale_};
}

void MapProjection::Pan(double dx, double dy) {
    centre_.lon -= dx / XScale();
    centre_.lat += dy / scale_;
    Clamp();
}

void MapProjection::ZoomAt(ScreenPoint cursor, double factor) {
    const GeoPoint g = ToGeo(cursor);
    scale_ *= factor;
    Clamp();
    centre_.lat = g.lat + (cursor.y - height_ / 2) / scale_;
    Clamp();
    centre_.lon = g.lon - (cursor.x - width_ / 2) / XScale();
    Clamp();
}

void MapProjection::Fit(double lonWest, double lonWidth, double latMin, double latMax) {
    centre_ = {lonWest + lonWidth / 2, (latMin + latMax) / 2};
    // Scale for latitude first: the width then follows the centre's cosine.
    scale_ = height_ / std::max(latMax - latMin, 0.01) / 1.3;
    Clamp();
    const double k = XScale() / scale_;
    scale_ = std::min(scale_, width_ / std::max(lonWidth, 0.01) / 1.3 / k);
    Clamp();
}

void MapProjection::Clamp() {
    scale_ = std::clamp(scale_, WorldScale(), kMaxScale);
    centre_.lat = std::clamp(centre_.lat, -90.0, 90.0);
    centre_.lon = WrapLongitude(centre_.lon);
}

// --- Points --------------------------------------------------------------------------------

namespace {

// Longitude intervals on the circle: start in [-180, 180), width in degrees.
struct LonRange {
    double start = -180, width = 360;
    bool Overlaps(double s, double w) const {
        if (width >= 360 || w >= 360) return true;
        double d = std::fmod(s - start, 360.0);
        if (d < 0) d += 360.0;
        return d <= width || d + w >= 360.0;
    }
};

LonRange RangeOf(double lonMin, double lonMax) {
    if (lonMax - lonMin >= 360) return {};
    double w = lonMax - lonMin;
    if (w < 0) w += 360; // across the antimeridian
    return {WrapLongitude(lonMin), w};
}

// An item's box: the west end and the eastward width of its longitudes.
void ItemBox(const GeoPoint* ends, int count, double& lonStart, double& lonWidth, double& latMin,
             double& latMax) {
    lonStart = ends[0].lon;
    double lo = 0, hi = 0;
    latMin = latMax = ends[0].lat;
    for (int i = 1; i < count; ++i) {
        const double d = WrapLongitude(ends[i].lon - ends[0].lon);
        lo = std::min(lo, d);
        hi = std::max(hi, d);
        latMin = std::min(latMin, ends[i].lat);
        latMax = std::max(latMax, ends[i].lat);
    }
    lonStart = WrapLongitude(lonStart + lo);
    lonWidth = hi - lo;
}

int BucketCol(double lon) {
    return std::clamp(static_cast<int>(std::floor(WrapLongitude(lon) + 180.0)), 0, 359);
}
int BucketRow(double lat) {
    return std::clamp(static_cast<int>(std::floor(lat + 90.0)), 0, 179);
}

} // namespace

void MapPoints::Build(const RecordTable& table, char decimalSeparator) {
    items_.clear();
    ends_.clear();
    revision_ = table.Revision();
    const std::vector<CoordinateFields> pairs = CoordinatePairsOf(table);
    itemOfRow_.assign(static_cast<std::size_t>(std::max(table.RowCount(), 1)), -1);
    if (!pairs.empty()) {
        std::vector<std::string_view> cells;
        for (int row = 1; row < table.RowCount(); ++row) {
            table.RowCells(row, cells);
            const auto cell = [&](int col) {
                return col < static_cast<int>(cells.size()) ? cells[col] : std::string_view();
            };
            MapItem item;
            item.row = row;
            item.firstEnd = static_cast<std::uint32_t>(ends_.size());
            item.endCount = static_cast<std::uint8_t>(
                AppendRowPlaces(cells, pairs, decimalSeparator, ends_, 255));
            if (item.endCount == 0) continue;
            item.deleted = cell(kColSuppr) == "x";
            item.exported = IsSelectedForExport(cell(kColExport));
            itemOfRow_[static_cast<std::size_t>(row)] = static_cast<int>(items_.size());
            items_.push_back(item);
        }
    }
    Index();
}

void MapPoints::Index() {
    const std::size_t buckets = static_cast<std::size_t>(kCols) * kRows;
    bucketStart_.assign(buckets + 1, 0);
    wide_.clear();
    std::vector<std::uint32_t> bucketOf(items_.size(), UINT32_MAX);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const MapItem& item = items_[i];
        double lonStart, lonWidth, latMin, latMax;
        ItemBox(&ends_[item.firstEnd], item.endCount, lonStart, lonWidth, latMin, latMax);
        // A line longer than a bucket is tested by every query.
        if (lonWidth > 1.0 || latMax - latMin > 1.0) {
            wide_.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        const GeoPoint first = ends_[item.firstEnd];
        bucketOf[i] =
            static_cast<std::uint32_t>(BucketRow(first.lat) * kCols + BucketCol(first.lon));
        ++bucketStart_[bucketOf[i] + 1];
    }
    for (std::size_t b = 0; b < buckets; ++b)
        bucketStart_[b + 1] += bucketStart_[b];
    bucketItems_.assign(bucketStart_[buckets], 0);
    std::vector<std::uint32_t> fill(bucketStart_.begin(), bucketStart_.end() - 1);
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (bucketOf[i] != UINT32_MAX)
            bucketItems_[fill[bucketOf[i]]++] = static_cast<std::uint32_t>(i);
    seen_.assign(items_.size(), 0);
    stamp_ = 0;
}

bool MapPoints::Extent(double& lonWest, double& lonWidth, double& latMin, double& latMax) const {
    if (ends_.empty()) return false;
    latMin = 90, latMax = -90;
    // Longitudes sorted round the circle: the widest gap between two
    // neighbours is the side the box leaves out.
    std::vector<double> lons;
    lons.reserve(ends_.size());
    for (const GeoPoint& p : ends_) {
        lons.push_back(p.lon);
        latMin = std::min(latMin, p.lat);
        latMax = std::max(latMax, p.lat);
    }
    std::sort(lons.begin(), lons.end());
    double gap = lons.front() + 360 - lons.back();
    lonWest = lons.front();
    for (std::size_t i = 1; i < lons.size(); ++i)
        if (lons[i] - lons[i - 1] > gap) {
            gap = lons[i] - lons[i - 1];
            lonWest = lons[i];
        }
    lonWidth = 360 - gap;
    return true;
}

const MapItem* MapPoints::ItemOfRow(int row) const {
    if (row < 0 || row >= static_cast<int>(itemOfRow_.size())) return nullptr;
    const int i = itemOfRow_[static_cast<std::size_t>(row)];
    return i < 0 ? nullptr : &items_[static_cast<std::size_t>(i)];
}

void MapPoints::Query(double lonMin, double lonMax, double latMin, double latMax,
                      std::vector<std::uint32_t>& out) const {
    out.clear();
    if (items_.empty()) return;
    if (++stamp_ == 0) { // the stamps wrapped: start again
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    const LonRange box = RangeOf(lonMin, lonMax);
    const auto test = [&](std::uint32_t i) {
        if (seen_[i] == stamp_) return;
        seen_[i] = stamp_;
        const MapItem& item = items_[i];
        double s, w, lo, hi;
        ItemBox(&ends_[item.firstEnd], item.endCount, s, w, lo, hi);
        if (hi >= latMin && lo <= latMax && box.Overlaps(s, w)) out.push_back(i);
    };
    for (std::uint32_t i : wide_)
        test(i);
    // An item sits in the bucket of its first end and reaches at most one
    // degree from it: the buckets one degree around the box hold them all.
    const int r0 = BucketRow(latMin - 1.0), r1 = BucketRow(latMax + 1.0);
    const int cols = box.width >= 358 ? kCols : static_cast<int>(std::ceil(box.width)) + 3;
    const int c0 = BucketCol(box.start - 1.0);
    for (int r = r0; r <= r1; ++r)
        for (int k = 0; k < std::min(cols, kCols); ++k) {
            const std::size_t b = static_cast<std::size_t>(r) * kCols + (c0 + k) % kCols;
            for (std::uint32_t j = bucketStart_[b]; j < bucketStart_[b + 1]; ++j)
                test(bucketItems_[j]);
        }
}

void MapPoints::Visible(const MapProjection& view, double marginPixels,
                        std::vector<std::uint32_t>& out) const {
    const GeoPoint c = view.Centre();
    const double halfLon = (view.Width() / 2 + marginPixels) / view.XScale();
    const double halfLat = (view.Height() / 2 + marginPixels) / view.Scale();
    if (halfLon >= 180)
        Query(-180, 180, c.lat - halfLat, c.lat + halfLat, out);
    else
        Query(c.lon - halfLon, c.lon + halfLon, c.lat - halfLat, c.lat + halfLat, out);
}

int MapPoints::Nearest(const MapProjection& view, ScreenPoint at, double radius) const {
    const GeoPoint g = view.ToGeo(at);
    const double dLon = radius / view.XScale(), dLat = radius / view.Scale();
    std::vector<std::uint32_t> near;
    Query(g.lon - dLon, g.lon + dLon, g.lat - dLat, g.lat + dLat, near);
    int best = -1;
    double bestDistance = radius * radius;
    for (std::uint32_t i : near) {
        const MapItem& item = items_[i];
        for (int e = 0; e < item.endCount; ++e) {
            const ScreenPoint s = view.ToScreen(End(item, e));
            const double d = (s.x - at.x) * (s.x - at.x) + (s.y - at.y) * (s.y - at.y);
            if (d <= bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
    }
    return best;
}

} // namespace orvane
