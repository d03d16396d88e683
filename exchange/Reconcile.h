// A table set beside the real world: each row matched to its OurAirports
// counterpart (airports by ICAO code, runways by airport and end identifiers,
// navaids by identifier and type, airport frequencies by airport and type),
// and what differs listed as findings whose real-world values can be taken
// into the table. Which field holds what is read from the field titles.
#pragma once

#include "database/Template.h"
#include "exchange/OurAirports.h"
#include "settings/Texts.h"
#include "table/CoordinatePairs.h"
#include "table/RecordTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

enum class ReconcileKind : std::uint8_t {
    Moved,          // a position more than the threshold away
    Elevation,      // another elevation
    Name,           // another name
    Frequency,      // another frequency
    Renumbered,     // a runway whose ends now carry other identifiers
    Length,         // a runway lengthened or shortened
    NotInRealWorld, // closed, or unknown to the real-world data
    Missing,        // a real-world airport or navaid of the table's area the table lacks
};
inline constexpr int kReconcileKindCount = 8;

struct ReconcileOptions {
    double thresholdMetres = 500; // a smaller move is no finding
    char decimalSeparator = '.';
    int keyColumn = -1; // the column holding the code matched on; -1: found by its title
};

// A cell a take writes: its text now and the real-world one (8-bit).
struct FieldChange {
    int column = 0;
    std::string before, after;
};

struct ReconcileFinding {
    ReconcileKind kind = ReconcileKind::Moved;
    int row = 0;                      // table row; 0 for Missing
    std::vector<FieldChange> changes; // none for NotInRealWorld and Missing
    // Moved: each point from where the table has it to where it really is.
    std::vector<std::pair<GeoPoint, GeoPoint>> moves;
    double metres = 0;     // Moved: the longest of the moves
    bool closed = false;   // NotInRealWorld: closed rather than unknown
    std::string realWorld; // UTF-8: the real-world record's code and name
    GeoPoint at;           // Missing: where it is
};

// The real-world files a data type is compared with; empty when the data
// type has no counterpart (ILS).
std::vector<RealDataFile> RealDataFilesFor(std::string_view dataType);

// The columns of the table that hold what matching reads.
struct ReconcileColumns {
    int code = -1;    // ICAO code of an airport, identifier of a navaid
    int airport = -1; // the airport's ICAO code (runways, frequencies)
    int name = -1, elevation = -1, frequency = -1, type = -1, length = -1;
    int end[2] = {-1, -1};                   // runway end identifiers
    int heading[2] = {-1, -1};               // runway end headings
    std::vector<CoordinateFields> positions; // table columns; a runway's two ends
};
// Read from the titles (the table's heading row) through the data type's
// field table. Throws RefusedError naming what the table lacks.
ReconcileColumns FindReconcileColumns(const RecordTable& table, std::string_view dataType);

// Every finding, in table row order, then the missing records. Throws
// RefusedError when the data type has no real-world counterpart or its
// table lacks a field matching needs.
std::vector<ReconcileFinding> Reconcile(const RecordTable& table,
                                        const std::vector<FieldDef>& fields,
                                        std::string_view dataType, const RealWorldData& real,
                                        const ReconcileOptions& options);

// Distance in metres along the earth's surface (degrees in).
double SurfaceMetres(GeoPoint a, GeoPoint b);

// "850 m", "12.4 km".
std::string DistanceText(double metres);

// One line of the list (UTF-8): what differs, the row's code and name, its line.
std::string ReconcileLine(const ReconcileFinding& finding, const RecordTable& table,
                          const ReconcileColumns& columns, Lang lang);

// Writes the real-world values of the chosen findings into the table: each
// choice a finding and one of its changed columns, or -1 for all of them.
// Returns the number of cells changed.
int TakeRealWorld(RecordTable& table, const std::vector<ReconcileFinding>& findings,
                  const std::vector<std::pair<int, int>>& choices);

} // namespace orvane
