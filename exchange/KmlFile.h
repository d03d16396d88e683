// KML 2.2 files: the table as placemarks a globe or a GIS shows. Each row
// is one Placemark named by its ICAO code or identifier: a Point where the
// row holds one readable latitude/longitude pair, a LineString through its
// ends where it holds more (a runway's two ends), no geometry where none
// reads. Every field is a Data element under its title, as the table shows
// it, in UTF-8.
#pragma once

#include "database/SessionState.h"
#include "platform/Progress.h"
#include "platform/UserInteraction.h"

#include <string>

namespace orvane {

// Writes all rows, or the rows selected for export, as a KML file at path,
// through a temporary file renamed into place when complete. Coordinates
// are written longitude first, brought to -180..180. An empty selection
// shows "No selected records" and writes nothing. Returns the number of
// placemarks. progress (rows): a cancel throws Cancelled and writes nothing.
int ExportKml(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

} // namespace orvane
