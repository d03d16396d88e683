// Where a row lies: the table's coordinate fields, paired as the record
// editor pairs them (a latitude, then the longitude that follows it), and
// the places a row's pairs give in degrees, the column that names a place.
// The map and the map exports read rows through these.
#pragma once

#include "table/RecordTable.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace orvane {

// Degrees; longitude east positive, latitude north positive.
struct GeoPoint {
    double lon = 0, lat = 0;
};

// Longitudes in [-180, 180): 190 and -170 are one place.
double WrapLongitude(double degrees);

// One coordinate pair of the field list: the latitude field and the
// longitude field that follows it (both are template field indexes).
struct CoordinateFields {
    int latitude = -1, longitude = -1;
};
// The pairs as the record editor makes them: a title naming "latitude", the
// next field naming "longitude". `titles` are the fields' titles (8-bit).
std::vector<CoordinateFields> FindCoordinatePairs(const std::vector<std::string_view>& titles);
// The pairs of a table's field columns, by their headings.
std::vector<CoordinateFields> CoordinatePairsOf(const RecordTable& table);
// The column that names a row's place: an airport's ICAO code, a navaid's or
// a runway end's identifier, by its heading; -1 when no heading says so.
int PlaceLabelColumn(const RecordTable& table);

// Appends the place of each pair of a row whose cells (seconds of arc, with
// decimalSeparator) read and whose latitude is within the poles, at most
// `most` of them; returns how many were appended. Longitudes are brought to
// [-180, 180). cells: the row's cells from column 0. outOfRange, when given,
// counts the pairs whose cells read as numbers but are no place: beyond the
// poles, or not finite (a number too large for a double).
std::size_t AppendRowPlaces(const std::vector<std::string_view>& cells,
                            const std::vector<CoordinateFields>& pairs, char decimalSeparator,
                            std::vector<GeoPoint>& out, std::size_t most,
                            std::size_t* outOfRange = nullptr);

} // namespace orvane
