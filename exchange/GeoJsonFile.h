// GeoJSON (RFC 7946) files: the table as a FeatureCollection a GIS opens.
// Each row is one Feature: a Point where the row holds one readable
// latitude/longitude pair, a LineString through its ends where it holds
// more (a runway's two ends), a null geometry where none reads. Every field
// is a property under its title, numbers as JSON numbers, texts in UTF-8.
#pragma once

#include "database/SessionState.h"
#include "platform/Progress.h"
#include "platform/UserInteraction.h"

#include <string>

namespace orvane {

// Writes all rows, or the rows selected for export, as a GeoJSON file at
// path, through a temporary file renamed into place when complete.
// Longitudes are brought to -180..180. An empty selection shows "No
// selected records" and writes nothing. Returns the number of Features.
// progress (rows): a cancel throws Cancelled and writes nothing.
int ExportGeoJson(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
                  BusyIndicator* busy = nullptr, const ProgressFn& progress = {});

} // namespace orvane
