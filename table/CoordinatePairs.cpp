#include "table/CoordinatePairs.h"

#include "platform/Paths.h"
#include "table/ValueDisplay.h"

#include <cmath>

namespace orvane {

double WrapLongitude(double degrees) {
    double d = std::fmod(degrees + 180.0, 360.0);
    if (d < 0) d += 360.0;
    return d - 180.0;
}

std::vector<CoordinateFields> FindCoordinatePairs(const std::vector<std::string_view>& titles) {
    std::vector<CoordinateFields> pairs;
    for (std::size_t i = 0; i + 1 < titles.size(); ++i) {
        // A title naming both words counts as a latitude, as in the editor.
        if (ToLowerAscii(titles[i]).find("latitude") == std::string::npos) continue;
        if (ToLowerAscii(titles[i + 1]).find("longitude") == std::string::npos) continue;
        pairs.push_back({static_cast<int>(i), static_cast<int>(i + 1)});
        ++i;
    }
    return pairs;
}

std::vector<CoordinateFields> CoordinatePairsOf(const RecordTable& table) {
    std::vector<std::string_view> titles;
    for (int c = kFirstFieldColumn; c < table.ColumnCount(); ++c)
        titles.push_back(table.Cell(c, 0));
    return FindCoordinatePairs(titles);
}

std::size_t AppendRowPlaces(const std::vector<std::string_view>& cells,
                            const std::vector<CoordinateFields>& pairs, char decimalSeparator,
                            std::vector<GeoPoint>& out, std::size_t most, std::size_t* outOfRange) {
    const auto cell = [&](int field) {
        const auto col = static_cast<std::size_t>(kFirstFieldColumn + field);
        return col < cells.size() ? cells[col] : std::string_view();
    };
    std::size_t count = 0;
    for (const CoordinateFields& p : pairs) {
        if (count == most) break;
        const auto lat = ParseDecimal(cell(p.latitude), decimalSeparator);
        const auto lon = ParseDecimal(cell(p.longitude), decimalSeparator);
        if (!lat || !lon) continue;
        // Seconds of arc; a place beyond the poles, or a number too large for
        // a double (which no wrap brings back), is nowhere.
        if (!std::isfinite(*lat) || !std::isfinite(*lon) || std::abs(*lat) > 90.0 * 3600) {
            if (outOfRange) ++*outOfRange;
            continue;
        }
        out.push_back({WrapLongitude(*lon / 3600.0), *lat / 3600.0});
        ++count;
    }
    return count;
}

int PlaceLabelColumn(const RecordTable& t) {
    for (const char* word : {"icao", "oaci", "ident"}) {
        for (int c = kFirstFieldColumn; c < t.ColumnCount(); ++c) {
            const std::string title = ToLowerAscii(t.Cell(c, 0));
            // Not the record's own hexadecimal identifier.
            if (title.find(word) != std::string::npos && title.find("unique") == std::string::npos)
                return c;
        }
    }
    return -1;
}

} // namespace orvane
