#include "support/UiFixtures.h"

#include "database/ArchiveWriter.h"
#include "support/DbdFixtures.h"

namespace orvane::testing {

std::string UiTemplateText() {
    return TemplateText({{"auid", kUiUid, 12, 'C', "Unique identifier"},
                         {"anam", kUiName, 20, 'C', "Airport name"},
                         {"alat", kUiLat, 8, 'D', "Latitude (seconds)"},
                         {"alon", kUiLon, 8, 'D', "Longitude (seconds)"},
                         {"aelv", kUiElev, 4, 'I', "Elevation"},
                         {"atyp", kUiType, 1, 'C', "Type"}});
}

std::vector<UiAirport> UiAirports() {
    return {
        {"3A2F1B00", "Charles de Gaulle", 176435.0, 9081.5, 392, 1, false, false},
        {"3A2F1B01",
         "Orl\xE9"
         "ans Bricy",
         172683.25, 6440.0, 412, 2, false, true},
        {"0", "Brest Guipavas", 174441.0, -16037.75, 325, 1, false, false},
    };
}

std::string UiRecord(const UiAirport& a) {
    RecordBuilder r(kUiRecordSize);
    r.Marks(a.deleted ? 42 : 0, a.selected ? 1 : 0)
        .Text(kUiUid, a.uid)
        .Text(kUiName, a.name)
        .Double(kUiLat, a.lat)
        .Double(kUiLon, a.lon)
        .Int(kUiElev, a.elevation)
        .Byte(kUiType, a.type);
    return r.Bytes();
}

std::string UiDbdBytes(const std::vector<UiAirport>& airports, std::int32_t stamp) {
    std::vector<std::string> records;
    for (const auto& a : airports)
        records.push_back(UiRecord(a));
    return DbdBytes("aprt", kUiRecordSize, records, stamp);
}

UiWorld::UiWorld() {
    dbd = UiDbdBytes(UiAirports());
    const std::vector<ArchiveSourceEntry> entries = {
        {"DATABASE\\AIRPORT.DBT", UiTemplateText(), 0},
        {"DATABASE\\AIRPORT.DBD", dbd, 0},
    };
    dir.Write("fly2/system/.keep", "");
    dir.Write("fly1/system/.keep", "");
    WriteArchive(Pod(), ArchiveLayout::Pod3, entries);
    WriteArchive(Epd(), ArchiveLayout::Epd, entries);
    dir.Write("work/AIRPORT.dbd", dbd);
}

void UiWorld::WriteIni(
    const std::map<std::string, std::map<std::string, std::string>>& values) const {
    std::string text;
    for (const auto& [section, keys] : values) {
        text += "[" + section + "]\r\n";
        for (const auto& [key, value] : keys)
            text += key + "=" + value + "\r\n";
    }
    dir.Write("Orvane.ini", text);
}

void UiWorld::WriteStandardIni(int version, const std::string& language, bool first) const {
    WriteIni({{"init",
               {{"first", first ? "1" : "0"},
                {"version", std::to_string(version)},
                {"langage", language}}},
              {"fly1", {{"flydir", Fly1()}}},
              {"work1", {{"workdir", Work()}}},
              {"fly2", {{"flydir", Fly2()}}},
              {"work2", {{"workdir", Work()}}},
              {"dbimport", {{"dbimportdir", Fly2()}}},
              {"deximport", {{"deximportdir", Fly2()}}}});
}

} // namespace orvane::testing
