#include "support/MapFixtures.h"

#include <random>
#include <string>

namespace orvane::testing {

PlacesTable ManyPlaces(int rows) {
    PlacesTable p;
    p.fields = {{"pkey", 4, 10, 'C', "Unique identifier"},
                {"pnam", 14, 30, 'C', "Name"},
                {"pflg", 44, 1, 'C', "Flag"},
                {"plat", 45, 8, 'D', "Latitude"},
                {"plon", 53, 8, 'D', "Longitude"}};
    ApplyColumns(p.table, p.fields);
    p.table.SetRowCount(rows + 1);
    std::mt19937 random(14);
    std::uniform_real_distribution<double> lat(-60, 75), lon(-180, 180), near(-0.5, 0.5);
    const double cities[][2] = {{48.85, 2.35}, {51.5, -0.12}, {40.7, -74.0}, {35.7, 139.7}};
    std::vector<std::string> texts(9);
    std::vector<std::string_view> views(9);
    for (int r = 1; r <= rows; ++r) {
        double la = lat(random), lo = lon(random);
        if (r % 2 == 0) {
            la = cities[r % 4][0] + near(random);
            lo = cities[r % 4][1] + near(random);
        }
        texts = {std::to_string(r),
                 "",
                 r % 50 == 0 ? "x" : "",
                 r % 7 == 0 ? "1" : "0",
                 "K" + std::to_string(r),
                 "Place " + std::to_string(r),
                 "1",
                 std::to_string(la * 3600),
                 std::to_string(lo * 3600)};
        for (std::size_t c = 0; c < texts.size(); ++c)
            views[c] = texts[c];
        p.table.SetRowCells(r, views);
    }
    return p;
}

} // namespace orvane::testing
