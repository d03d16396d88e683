// Writes the seed corpus of every fuzz target, made by the test fixtures'
// builders and the program's own writers: orvane_fuzz_seeds FOLDER writes
// FOLDER/<target>/<seed>. Archive inputs start with their choice bytes (see
// each target).
#include "database/ArchiveWriter.h"
#include "database/DbdFile.h"
#include "demo/OurAirportsSample.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "settings/Settings.h"
#include "support/ArchiveFixtures.h"
#include "support/DbdFixtures.h"
#include "support/DirectWriteFixtures.h"

#include "FuzzSupport.h"

#include <cstdio>
#include <exception>
#include <filesystem>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

constexpr ArchiveLayout kLayouts[] = {ArchiveLayout::PodShort, ArchiveLayout::Pod3,
                                      ArchiveLayout::Epd};

class Corpus {
  public:
    explicit Corpus(std::string folder) : folder_(std::move(folder)) {}
    void Add(const std::string& target, const std::string& name, const std::string& bytes) {
        fs::create_directories(folder_ + "/" + target);
        WriteBytes(folder_ + "/" + target + "/" + name, bytes);
    }
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
};

// The choice byte of the archive targets: bit 0 EPD, bit 1 the extraction's
// structure form.
std::string Choice(ArchiveLayout layout, bool structure = false) {
    return std::string(
        1, static_cast<char>((layout == ArchiveLayout::Epd ? 1 : 0) | (structure ? 2 : 0)));
}

std::vector<ArchiveSourceEntry> MixedEntries() {
    return {
        {"DATABASE\\AIRPORT.DBT", TemplateText(AirportLikeFields()), 1000},
        {"DATABASE\\AIRPORT.DBD",
         DbdBytes("aprt", kAirportLikeRecordSize, {AirportLikeRecord(1), AirportLikeRecord(2)}),
         2000},
        {"DATABASE\\APRTICAO.DBI", IndexEntryBytes(3, 12), 3000},
        {"ART\\PANEL.BMP", PatternBytes(40), 4000},
    };
}

void Archives(Corpus& c) {
    const std::vector<AirportRow> airports = {{"LFPO", "ORLY"}, {"EGLL", "HEATHROW"}, {"KJFK", ""}};
    for (ArchiveLayout layout : kLayouts) {
        const std::string kind = LayoutName(layout);
        const std::string nav = BuildArchive(layout, NavWriteEntries(3));
        const std::string mixed = BuildArchive(layout, MixedEntries());
        const std::string airport = BuildArchive(layout, AirportEntries(airports));
        c.Add("archive", kind + "-navaid", Choice(layout) + nav);
        c.Add("archive", kind + "-mixed", Choice(layout) + mixed);
        c.Add("archive", kind + "-airport", Choice(layout) + airport);
        c.Add("archive", kind + "-empty", Choice(layout) + BuildArchive(layout, {}));
        c.Add("extraction", kind + "-flat", Choice(layout) + mixed);
        c.Add("extraction", kind + "-structure", Choice(layout, true) + mixed);
        // The row to write, then the archive.
        c.Add("direct_write", kind + "-row1", Choice(layout) + '\1' + nav);
        c.Add("direct_write", kind + "-row3", Choice(layout) + '\3' + nav);
        // The code's length and the code, then the archive.
        c.Add("lookup", kind + "-found", Choice(layout) + '\4' + "EGLL" + airport);
        c.Add("lookup", kind + "-absent", Choice(layout) + '\4' + "LFPG" + airport);
    }
}

void Templates(Corpus& c) {
    c.Add("template", "navaid-crlf", TemplateText(NavWriteFields()));
    c.Add("template", "airport-lf", TemplateText(AirportLikeFields(), "\n"));
    c.Add("template", "airport-cr", TemplateText(AirportLikeFields(), "\r"));
}

// The exchange files as the program writes them, from the navaid table.
void ExchangeFiles(Corpus& c) {
    const std::string work = c.Folder() + "/.work";
    fs::create_directories(work);
    WriteBytes(work + "/NAVAID.DBT", TemplateText(NavWriteFields()));
    WriteBytes(work + "/NAVAID.dbd", NavWriteDbd(3));
    UnattendedInteraction ui;
    SessionState s;
    s.SimulatorVersion = 2;
    OpenDbdFromDisk(s, work + "/NAVAID.dbd", work + "/NAVAID.DBT", ui);
    ExportDex(s, work + "/NAVAID.dex", false, ui);
    ExportCsv(s, work + "/all.csv", false, ui);
    s.Table.SetCell(kColExport, 2, "1");
    ExportCsv(s, work + "/selection.csv", true, ui);
    c.Add("dex", "navaid", ReadBytes(work + "/NAVAID.dex"));
    c.Add("csv", "navaid-all", ReadBytes(work + "/all.csv"));
    c.Add("csv", "navaid-selection", ReadBytes(work + "/selection.csv"));
    fs::remove_all(work);

    // Fly! 1 airports (330-byte records) and runways (251) are converted on import.
    auto dex = [](const std::string& name, int size, const std::string& record) {
        std::string header(40, '\0');
        header.replace(0, name.size(), name);
        PatchU32(header, 32, static_cast<std::uint32_t>(size));
        PatchU32(header, 36, 1);
        return header + record;
    };
    c.Add("dex", "fly1-airport", dex("AIRPORT.DBD", kAirportLikeRecordSize, AirportLikeRecord(1)));
    c.Add("dex", "fly1-runway", dex("RUNWAY.DBD", 251, PatternBytes(251)));
}

void DbdFiles(Corpus& c) {
    c.Add("dbd", "navaid", NavWriteDbd(3));
    c.Add("dbd", "airport", DbdBytes("aprt", kAirportLikeRecordSize, {AirportLikeRecord(1)}));
    c.Add("dbd", "ils-empty", DbdBytes("ils1", 4, {}));
}

void SettingsFiles(Corpus& c) {
    const std::string work = c.Folder() + "/.work";
    fs::create_directories(work);
    const std::string ini = work + "/Orvane.ini";
    SessionSettings s;
    s.SimulatorVersion = 1;
    DialogWrite(ini, s,
                {"/sim/fly1/", "/work/fly1/", "/sim/fly2/", "/work/fly2/", "/import/", "/dex/"});
    LanguageWrite(ini, false);
    c.Add("settings", "dialog", ReadBytes(ini));
    fs::remove_all(work);
    c.Add("settings", "windows",
          "\xEF\xBB\xBF[Init]\r\nVersion = 2\r\nlangage=english\r\n"
          "; comment\r\n[FLY2]\r\nFlyDir=c:\\Fly! II\\\r\n");
}

// OurAirports files in the published form, and comparisons that find
// something of every kind.
void RealWorldFiles(Corpus& c) {
    const std::vector<RealRecord> runways = {
        {{"airport_ident", "LFPO"},
         {"length_ft", "11975"},
         {"le_ident", "7"},
         {"le_latitude_deg", "48.7228"},
         {"le_longitude_deg", "2.321"},
         {"he_ident", "25"},
         {"he_latitude_deg", "48.7376"},
         {"he_longitude_deg", "2.3627"}},
        {{"airport_ident", "LFPO"}, {"closed", "1"}, {"le_ident", "H1"}, {"he_ident", "H1"}}};
    const std::vector<RealRecord> navaids = {{{"ident", "MEN"},
                                              {"name", "Menderes"},
                                              {"type", "VOR-DME"},
                                              {"frequency_khz", "117900"},
                                              {"latitude_deg", "38.2961"},
                                              {"longitude_deg", "27.1592"},
                                              {"iso_country", "TR"}},
                                             {{"ident", "MEN"},
                                              {"name", "Menderes"},
                                              {"type", "TACAN"},
                                              {"frequency_khz", "115100"},
                                              {"latitude_deg", "38.2983"},
                                              {"longitude_deg", "27.1581"},
                                              {"iso_country", "TR"}}};
    const std::vector<RealRecord> frequencies = {
        {{"airport_ident", "KCLT"},
         {"type", "A/D"},
         {"description", "APP/DEP"},
         {"frequency_mhz", "120.05"}},
        {{"airport_ident", "KCLT"}, {"type", "D-ATIS"}, {"frequency_mhz", "121.15"}}};
    const std::vector<RealRecord> airports = {
        {{"ident", "EPLL"},
         {"type", "medium_airport"},
         {"name", "\xC5\x81\xC3\xB3\x64\xC5\xBA \"Reymont\", Airport"},
         {"latitude_deg", "51.7219"},
         {"longitude_deg", "19.3981"},
         {"iso_country", "PL"}}};
    const auto body = [](RealDataFile file, const std::vector<RealRecord>& records) {
        const std::string text = RealFileText(file, records);
        return text.substr(text.find('\n') + 1); // the records alone
    };
    c.Add("ourairports", "airports",
          std::string(1, '\0') + RealFileText(RealDataFile::Airports, airports));
    c.Add("ourairports", "runways",
          std::string(1, '\1') + RealFileText(RealDataFile::Runways, runways));
    c.Add("ourairports", "navaids",
          std::string(1, '\2') + RealFileText(RealDataFile::Navaids, navaids));
    c.Add("ourairports", "frequencies",
          std::string(1, '\3') + RealFileText(RealDataFile::Frequencies, frequencies));
    c.Add("reconcile", "airports",
          std::string("\0\x19") + "FR1;EPLL;LODZ;PL;186199;69833;600\n\n" +
              body(RealDataFile::Airports, airports));
    c.Add("reconcile", "runways",
          std::string("\1\xFA") +
              "FR2;LFPO;06;24;11000;175374;8428;62;175455;8505;242\n"
              "FR2;LFPO;H1;H1\n\n" +
              body(RealDataFile::Runways, runways));
    c.Add("reconcile", "navaids",
          std::string("\2\x19") +
              "TR1;MEN;MENDERES;117.9;17;137866;97773;400\n"
              "TR2;MEN;MENDERES;115.1;4;137866;97773;400\n\n" +
              body(RealDataFile::Navaids, navaids));
    c.Add("reconcile", "frequencies",
          std::string("\3\x19") +
              "US1;KCLT;8;APP;119.0;126756;-291395\n"
              "US1;KCLT;128;ATIS;121.15\n\n" +
              body(RealDataFile::Frequencies, frequencies));
}

// The GeoJSON writer's tables: the shape byte (fields - 1 in bits 0-2, rows
// in bits 3-6, ',' in bit 7), each field's kind byte and title, then the
// cells, each ended by 0x1F.
void GeoJsonTables(Corpus& c) {
    const std::string end = "\x1f";
    // Three fields, two rows: a name, a latitude and a longitude.
    const std::string places = std::string(1, static_cast<char>(2 + (2 << 3))) + '\0' + "Name" +
                               end + '\x09' + '\x19' + "Brest" + end + "174600" + end + "-16200" +
                               end + "Say \"hi\"" + end + "3600" + end + std::string(400, '9') +
                               end;
    c.Add("geojson", "places", places);
    // Titles that escape, repeated: a quote, a backslash, a tab.
    const std::string titles = std::string(1, static_cast<char>(3 + (1 << 3))) + '\0' +
                               "Say \"hi\"" + end + '\0' + "Say \"hi\"" + end + '\0' + "A\\B" +
                               end + '\0' + "T\tb" + end + "a" + end + "b" + end + "c" + end + "d" +
                               end;
    c.Add("geojson", "titles", titles);
}

// The temporary files' plants: how (bit 0 replace a link, bit 1 no commit,
// bits 2-3 the target's kind), the count, then a kind and a draw per plant.
void Temporaries(Corpus& c) {
    c.Add("temporaries", "links-at-first-draws",
          std::string("\x08\x04\x00\x00\x01\x01\x04\x02\x03\x03", 10));
    c.Add("temporaries", "dangling-target", std::string("\x0c\x02\x05\x00\x02\x00", 6));
    c.Add("temporaries", "replace-link", std::string("\x09\x02\x00\x00\x04\x01", 6));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane_fuzz_seeds FOLDER\n");
        return 2;
    }
    try {
        Corpus c(argv[1]);
        Archives(c);
        Templates(c);
        ExchangeFiles(c);
        DbdFiles(c);
        SettingsFiles(c);
        RealWorldFiles(c);
        GeoJsonTables(c);
        Temporaries(c);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
