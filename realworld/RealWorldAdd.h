// Bringing real-world places the table lacks into it: the rows of chosen
// "Not in the table" airports or navaids made from their real-world
// records, keyed by the table's own scheme; for an airport, its runways and
// frequencies as rows of RUNWAY and COMM tables keyed to the new airport.
#pragma once

#include "database/SessionState.h"
#include "platform/UserInteraction.h"
#include "realworld/Reconcile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct RealWorldAdded {
    int row = 0;               // the new table row
    int finding = 0;           // the finding it answers
    std::string key;           // its key (8-bit); empty when the table has no key field
    std::size_t realIndex = 0; // the real-world airport or navaid
};

// Appends one row below the last for each chosen finding of kind Missing
// (the others are skipped) of an AIRPORT or NAVAID table: the fields the real
// world gives (code, name, country, type, place, elevation, frequency), a new
// key, the next free one of the country's prefix ("FR00042" after
// "FR00041", "FRN0008" after "FRN0007"), a unique identifier no row holds
// (stamp its time part), and every other field at its type's neutral value
// (what a record of zero bytes holds). Returns the rows added, in the order
// chosen: what the editor records as one step. Throws RefusedError as
// Reconcile does.
std::vector<RealWorldAdded>
AddFromRealWorld(RecordTable& table, const std::vector<FieldDef>& fields, std::string_view dataType,
                 const RealWorldData& real, const std::vector<ReconcileFinding>& findings,
                 const std::vector<int>& chosen, char decimalSeparator, std::int32_t stamp);

// An airport added and its key in the AIRPORT table.
struct AddedAirport {
    std::string key; // 8-bit
    RealAirport airport;
};

// The open runways (dataType "RUNWAY") or the frequencies of the kinds a
// COMM table holds ("COMM") of airports just added, appended to a table of
// that data type, each row keyed to its airport. Returns the rows added.
int AddRealAirportParts(RecordTable& table, const std::vector<FieldDef>& fields,
                        std::string_view dataType, const RealWorldData& real,
                        const std::vector<AddedAirport>& airports, char decimalSeparator,
                        std::int32_t stamp);

// The same written as a DEX file at path, made with the template of another
// archive of the simulator (its RUNWAY or COMM archive; the data type is its
// file name's), read with the settings and display of `like` (the session
// of the AIRPORT table). Returns the records written; with none to write, no
// file is written. Throws as the archive's load and the DEX export do.
int WriteAirportPartsDex(const SessionState& like, const std::string& archive,
                         const std::string& path, const RealWorldData& real,
                         const std::vector<AddedAirport>& airports, std::int32_t stamp,
                         UserInteraction& ui);

} // namespace orvane
