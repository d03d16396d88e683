// The comparison with the real world on any table and any real-world
// records. Input: a byte choosing the data type, a byte the threshold, then
// the table's rows (cells split by ';') up to a blank line, then the
// records of the real-world file (its heading is added). The findings come
// in row order, the places the table lacks last; once every finding is
// taken, a second comparison's take changes nothing.
#include "FuzzSupport.h"

#include "demo/OurAirportsSample.h"
#include "platform/Errors.h"
#include "realworld/Reconcile.h"

using namespace orvane;

namespace {

const std::vector<std::string>& Titles(const std::string& dataType) {
    static const std::map<std::string, std::vector<std::string>> titles = {
        {"AIRPORT",
         {"Airport key", "ICAO identifier", "Name", "Country", "Latitude", "Longitude",
          "Elevation (ft)"}},
        {"RUNWAY",
         {"Airport key", "ICAO identifier", "End 1 identifier", "End 2 identifier", "Length (ft)",
          "End 1 Latitude", "End 1 Longitude", "End 1 true heading", "End 2 Latitude",
          "End 2 Longitude", "End 2 true heading"}},
        {"NAVAID",
         {"Navaid key", "Identifier", "Name", "Frequency", "Type", "Latitude", "Longitude",
          "Elevation (ft)"}},
        {"COMM",
         {"Airport key", "ICAO identifier", "Type", "Name", "Frequency 1 (MHz)", "Latitude",
          "Longitude"}},
    };
    return titles.at(dataType);
}

int TakeAll(RecordTable& table, const std::vector<ReconcileFinding>& findings) {
    std::vector<std::pair<int, int>> all;
    for (std::size_t i = 0; i < findings.size(); ++i)
        all.emplace_back(int(i), -1);
    return TakeRealWorld(table, findings, all);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kTypes[] = {"AIRPORT", "RUNWAY", "NAVAID", "COMM"};
    fuzz::Input input(data, size);
    const std::string dataType = kTypes[input.Byte() % 4];
    ReconcileOptions options;
    options.thresholdMetres = input.Byte() * 20.0;
    const std::string_view rest = input.Rest();
    const std::size_t blank = rest.find("\n\n");
    const std::string_view rows = rest.substr(0, blank);
    const std::string_view records =
        blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 2);

    RecordTable table;
    const auto& titles = Titles(dataType);
    table.SetColumnCount(kFirstFieldColumn + int(titles.size()));
    table.SetRowCount(1);
    for (std::size_t i = 0; i < titles.size(); ++i)
        table.SetCell(kFirstFieldColumn + int(i), 0, titles[i]);
    std::size_t at = 0;
    while (at < rows.size() && table.RowCount() < 200) {
        const std::size_t end = std::min(rows.find('\n', at), rows.size());
        const int row = table.RowCount();
        table.SetRowCount(row + 1);
        int column = kFirstFieldColumn;
        for (std::size_t cell = at; cell <= end && column < table.ColumnCount(); ++column) {
            const std::size_t stop = std::min(rows.find(';', cell), end);
            table.SetCell(column, row, rows.substr(cell, stop - cell));
            cell = stop + 1;
        }
        at = end + 1;
    }

    const RealDataFile file = RealDataFilesFor(dataType).at(0);
    std::string text = RealFileText(file, {});
    text.append(records);
    RealWorldData real;
    try {
        ParseRealDataFile(file, text, real);
    } catch (const OrvaneError&) {
        return 0;
    }
    const auto findings = Reconcile(table, {}, dataType, real, options);
    int last = 0;
    bool missing = false;
    for (const ReconcileFinding& f : findings) {
        if (f.kind == ReconcileKind::Missing) {
            missing = true;
            continue;
        }
        fuzz::Require(!missing && f.row >= last && f.row < table.RowCount(),
                      "findings in row order, the missing places last");
        last = f.row;
    }
    TakeAll(table, findings);
    fuzz::Require(TakeAll(table, Reconcile(table, {}, dataType, real, options)) == 0,
                  "a second take changes nothing");
    return 0;
}
