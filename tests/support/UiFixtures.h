// A small simulator folder for the window tests: a Fly! II archive holding an
// AIRPORT template and DBD, the same DBD loose in a work folder, and a
// settings file pointing at them.
#pragma once

#include "support/TempDir.h"

#include <map>
#include <string>
#include <vector>

namespace orvane::testing {

// The airport template: identifier, name, latitude, longitude, elevation, a byte.
inline constexpr int kUiRecordSize = 60;
inline constexpr int kUiFieldCount = 6;
// Offsets of the fields in a record.
inline constexpr int kUiUid = 4, kUiName = 16, kUiLat = 36, kUiLon = 44, kUiElev = 52, kUiType = 56;

struct UiAirport {
    std::string uid, name;
    double lat, lon; // seconds of arc
    unsigned elevation;
    unsigned char type;
    bool deleted, selected;
};

std::string UiTemplateText();
// Three airports: the second selected, none deleted; one name holds 0xE9.
std::vector<UiAirport> UiAirports();
std::string UiRecord(const UiAirport& a);
std::string UiDbdBytes(const std::vector<UiAirport>& airports, std::int32_t stamp = 0x3B9ACA00);

class UiWorld {
  public:
    // Writes fly2/system/AIRPORT.POD, fly1/system/AIRPORT.EPD, work/AIRPORT.dbd.
    UiWorld();
    std::string Ini() const { return dir.File("Orvane.ini"); }
    // Writes the settings file from section -> key -> value lines.
    void WriteIni(const std::map<std::string, std::map<std::string, std::string>>& values) const;
    // A complete settings file for this world.
    void WriteStandardIni(int version, const std::string& language, bool first = true) const;
    std::string Fly1() const { return dir.File("fly1") + "/"; }
    std::string Fly2() const { return dir.File("fly2") + "/"; }
    std::string Work() const { return dir.File("work") + "/"; }
    std::string Pod() const { return dir.File("fly2/system/AIRPORT.POD"); }
    std::string Epd() const { return dir.File("fly1/system/AIRPORT.EPD"); }
    std::string DiskDbd() const { return dir.File("work/AIRPORT.dbd"); }

    TempDir dir;
    std::string dbd; // the DBD bytes in the archives and on disk
};

} // namespace orvane::testing
