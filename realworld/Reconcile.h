// A table set beside the real world: each row matched to its OurAirports
// counterpart (airports by ICAO code; runways by airport and end identifiers,
// "04R" being "4R", else by the places of their ends; navaids by identifier,
// type first, then distance; airport frequencies by airport and the kind the
// real-world type means), and what differs listed as findings whose
// real-world values can be taken into the table. Which field holds what is
// read from the field titles.
#pragma once

#include "database/Template.h"
#include "realworld/OurAirports.h"
#include "settings/Texts.h"
#include "table/CoordinatePairs.h"
#include "table/RecordTable.h"

#include <array>
#include <cstdint>
#include <optional>
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
    // A smaller move is no finding. It also bounds a renumbered runway's
    // match: both its ends must lie within it.
    double thresholdMetres = 500;
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
    GeoPoint at;           // where it is: the row's place, or the real one (Missing)
    bool placed = false;   // at is known
    // ISO code of the real-world record, else the row's country cell, else
    // the two letters its key begins with; empty when none says.
    std::string country;
    // Frequency: the other real-world values of that kind, as a take would
    // write them (the one proposed is the nearest to the table's value).
    std::vector<std::string> alternatives;
    // Missing: the record's index in the real world's airports or navaids.
    std::size_t realIndex = 0;
};

// --- Reviewing the findings ---------------------------------------------------

// What a user acts on first: 0 for the findings a take mends, 1 for a row
// the real world lacks or has closed, 2 for a place the table lacks.
int ReconcileKindRank(ReconcileKind kind);
// The findings' indexes by rank, row order kept within a rank.
std::vector<int> ReviewOrder(const std::vector<ReconcileFinding>& findings);

using ReconcileCounts = std::array<int, kReconcileKindCount>;
ReconcileCounts CountByKind(const std::vector<ReconcileFinding>& findings);

// The command-line word of a kind ("moved", "not-in-table"…) and back.
const char* ReconcileKindWord(ReconcileKind kind);
std::optional<ReconcileKind> ReconcileKindOfWord(std::string_view word);
// A kind's name in the panel's counts ("Moved", "Not in the table"…).
BiText ReconcileKindName(ReconcileKind kind);

// Which findings to show: every one when a list is empty.
struct ReconcileFilter {
    std::vector<ReconcileKind> kinds;
    std::vector<std::string> countries; // ISO codes, letter case aside
    // An area in degrees; a finding without a place is outside any area.
    std::optional<std::pair<GeoPoint, GeoPoint>> area; // south-west, north-east corners
    bool Accepts(const ReconcileFinding& finding) const;
};
// The indexes of the findings the filter accepts, in review order.
std::vector<int> FilterFindings(const std::vector<ReconcileFinding>& findings,
                                const ReconcileFilter& filter);

// The real-world files a data type is compared with; empty when the data
// type has no counterpart (ILS).
std::vector<RealDataFile> RealDataFilesFor(std::string_view dataType);

// The columns of the table that hold what matching reads.
struct ReconcileColumns {
    int code = -1;    // ICAO code of an airport, identifier of a navaid
    int airport = -1; // the airport's ICAO code (runways, frequencies)
    int name = -1, elevation = -1, frequency = -1, type = -1, length = -1;
    int key = -1, unique = -1, country = -1; // the record's key, unique identifier, country
    int frequency2 = -1;                     // a COMM row's second frequency
    int end[2] = {-1, -1};                   // runway end identifiers
    int heading[2] = {-1, -1};               // runway end headings
    int endElevation[2] = {-1, -1};          // runway end elevations
    std::vector<CoordinateFields> positions; // table columns; a runway's two ends
};
// Read from the titles (the table's heading row) through the data type's
// field table. Throws RefusedError naming what the table lacks.
ReconcileColumns FindReconcileColumns(const RecordTable& table, std::string_view dataType);

// Every finding, in table row order, then the missing records: the
// real-world airports and navaids of the table's area (the countries of the
// records matched, within 100 km of a row) the table lacks. Throws
// RefusedError when the data type has no real-world counterpart or its
// table lacks a field matching needs.
std::vector<ReconcileFinding> Reconcile(const RecordTable& table,
                                        const std::vector<FieldDef>& fields,
                                        std::string_view dataType, const RealWorldData& real,
                                        const ReconcileOptions& options);

// A runway end's identifier as matching compares it: upper case, without
// blanks or leading zeros ("04R" and "4r" are "4R").
std::string RunwayEndKey(std::string_view ident);

// A real-world text (UTF-8) as a field holds it: 8-bit, the Latin letters
// Windows-1252 lacks as their base letter, cut to the field's width (fields:
// the template's; column: the table column), without blanks around.
std::string RealTextForField(std::string_view utf8, int column,
                             const std::vector<FieldDef>& fields);

// The table's frequency type (1 tower, 4 ground, 8 approach, 16 departure,
// 128 ATIS) a real-world type means ("A/D" approach, "D-ATIS" ATIS…); none
// for the others (UNICOM, CTAF…).
std::optional<int> TableFrequencyType(const std::string& realType);

// Distance in metres along the earth's surface (degrees in).
double SurfaceMetres(GeoPoint a, GeoPoint b);

// "850 m", "12.4 km".
std::string DistanceText(double metres);

// One line of the list (UTF-8): what differs, the row's code and name, its line.
std::string ReconcileLine(const ReconcileFinding& finding, const RecordTable& table,
                          const ReconcileColumns& columns, Lang lang);

// A frequency finding's other real-world values as its line names them
// ("also "120.6500", "119.2500""); empty when it has none.
std::string ReconcileAlternativesText(const ReconcileFinding& finding, Lang lang);

// Writes the real-world values of the chosen findings into the table: each
// choice a finding and one of its changed columns, or -1 for all of them.
// Returns the number of cells changed.
int TakeRealWorld(RecordTable& table, const std::vector<ReconcileFinding>& findings,
                  const std::vector<std::pair<int, int>>& choices);

} // namespace orvane
