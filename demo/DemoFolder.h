// The demo simulator folder: a Fly! II and a Fly! 1 installation in miniature
// (one archive per data type, with template, records and the airport index)
// and a work folder holding a DBD, a DEX and a CSV file of every data type,
// so that a new user can try the editor without the simulator.
#pragma once

#include <map>
#include <string>

namespace orvane {

struct DemoSummary {
    std::string folder;
    int archives = 0;                   // archives written (both versions)
    int workFiles = 0;                  // files written into the work folder
    std::map<std::string, int> records; // records per data type (one version)
    int TotalRecords() const;
};

// Writes, below dir (created when missing; files of the same names replaced):
//   fly2/system/<TYPE>.POD   POD3 archives, Fly! II records
//   fly1/system/<TYPE>.EPD   EPD archives, Fly! 1 records
//   work/<TYPE>.dbd, .dex, .csv   the Fly! II tables as the editor exports them
//   ourairports/airports.csv, runways.csv, navaids.csv, airport-frequencies.csv
//       the same places as OurAirports publishes them, with a few differences
//       planted so that the comparison has something to find
// for TYPE = AIRPORT, COMM, ILS, NAVAID, RUNWAY. The CSV files carry numbers
// with decimalSeparator, as the editor would show them on this system.
// Throws FileError and the other core errors.
DemoSummary MakeDemoFolder(const std::string& dir, char decimalSeparator = '.');

} // namespace orvane
