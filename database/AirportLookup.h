// The airport lookup by ICAO code: walks the simulator's airport index
// DATABASE\APRTICAO.DBI and reads the text that begins the airport's record
// in DATABASE\AIRPORT.DBD, for the search box. It reads the simulator's own
// airport archive, never the loaded table, and changes nothing.
#pragma once

#include "database/SessionState.h"
#include "platform/UserInteraction.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The code as compared with the index keys: letters a-z in upper case, every
// other character unchanged.
std::string NormaliseIcaoCode(std::string_view code);

// The airport archive of the session's simulator version: FlyDir + "system" +
// "Airport.EPD" (version 1) or "Airport.POD" (version 2), letter case
// resolved. Throws RefusedError for another version.
std::string AirportArchivePath(const SessionState& s);

// Looks code (8-bit) up in the airport archive at archivePath and returns the
// record's text (8-bit, at most 8 characters). nullopt after a warning
// through ui: index missing ("Fichier AIRPORT.DBD non trouvé" / "AIRPORT.DBD
// file not found", after the archive's own warning for EPD), code in no index
// row, DBD entry missing. The archive is opened for this lookup alone and
// closed at its end. Throws FileError for an archive that cannot be opened,
// FormatError for a damaged index or a record position outside the DBD entry.
std::optional<std::string> LookupAirport(const std::string& archivePath, std::string_view code,
                                         UserInteraction& ui);

// The same on the archive of the session's simulator version (the window's ICAO lookup).
std::optional<std::string> LookupAirport(const SessionState& s, std::string_view code,
                                         UserInteraction& ui);

} // namespace orvane
