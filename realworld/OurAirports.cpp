#include "realworld/OurAirports.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"

#include <charconv>
#include <cmath>
#include <new>

namespace orvane {

const char* RealDataFileName(RealDataFile file) {
    switch (file) {
    case RealDataFile::Airports:
        return "airports.csv";
    case RealDataFile::Runways:
        return "runways.csv";
    case RealDataFile::Navaids:
        return "navaids.csv";
    case RealDataFile::Frequencies:
        return "airport-frequencies.csv";
    }
    return "";
}

namespace {

// More columns than any published file has (they have about twenty).
constexpr std::size_t kMostRealColumns = 1000;

template <typename... A>
[[noreturn]] void Fail(std::string_view file, int line, const std::string& column, BiText what,
                       const A&... args) {
    const Message why = MessageOf(what, args...);
    if (column.empty()) throw FormatError(txt::RealDataAtLine, file, line, why);
    throw FormatError(txt::RealDataAtColumn, file, line, column, why);
}

std::string ColumnName(const std::vector<std::string>& heading, std::size_t index) {
    return index < heading.size() ? heading[index] : std::to_string(index + 1);
}

} // namespace

std::vector<std::string> SplitCsvRecord(std::string_view& text, int& line, std::string_view file,
                                        const std::vector<std::string>& heading) {
    std::vector<std::string> fields(1);
    // A record's fields past the heading's count are counted, never kept: a
    // line of a hundred million commas costs no memory.
    const std::size_t most = heading.empty() ? kMostRealColumns : heading.size();
    std::size_t beyond = 0;
    std::string discarded;
    std::string* field = &fields.back();
    const int first = line;
    std::size_t i = 0;
    bool quoted = false, closed = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    *field += '"';
                    ++i;
                } else {
                    quoted = false;
                    closed = true;
                }
            } else {
                if (c == '\n') ++line;
                *field += c;
            }
            continue;
        }
        if (c == ',') {
            closed = false;
            if (fields.size() < most) {
                field = &fields.emplace_back();
            } else {
                if (heading.empty()) Fail(file, first, "", txt::RealDataTooManyColumns, most);
                ++beyond;
                discarded.clear();
                field = &discarded;
            }
        } else if (c == '\n' || c == '\r') {
            break;
        } else if (closed) {
            Fail(file, line, ColumnName(heading, fields.size() - 1 + beyond),
                 txt::RealDataTextAfterQuote);
        } else if (c == '"' && field->empty()) {
            quoted = true;
        } else {
            *field += c;
        }
    }
    if (quoted)
        Fail(file, first, ColumnName(heading, fields.size() - 1 + beyond), txt::RealDataQuoteOpen);
    if (beyond > 0)
        Fail(file, first, "", txt::RealDataLongLine, fields.size() + beyond, heading.size());
    // Past the line's end: CR LF or LF.
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    text.remove_prefix(i);
    ++line;
    return fields;
}

namespace {

// The records of one file, their fields found by the heading's names.
class RealCsv {
  public:
    RealCsv(std::string_view file, std::string_view text, std::vector<Message>& warnings)
        : file_(file), text_(text), warnings_(warnings) {
        // A UTF-8 byte order mark is no part of the first column's name.
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
        if (text_.empty()) Fail(file_, 1, "", txt::RealDataEmpty);
        heading_ = SplitCsvRecord(text_, line_, file_, {});
    }
    // The index of a column; throws when the heading lacks a required one.
    int Column(const char* name, bool required = true) const {
        for (std::size_t i = 0; i < heading_.size(); ++i)
            if (heading_[i] == name) return int(i);
        if (required) Fail(file_, 1, name, txt::RealDataNoColumn);
        return -1;
    }
    // The next record; false at the end of the file. Blank lines are skipped.
    bool Next() {
        while (!text_.empty()) {
            if (text_.front() == '\n' || text_.front() == '\r') {
                SplitCsvRecord(text_, line_, file_, heading_);
                continue;
            }
            recordLine_ = line_;
            fields_ = SplitCsvRecord(text_, line_, file_, heading_);
            if (fields_.size() < heading_.size())
                Fail(file_, recordLine_, heading_[fields_.size()], txt::RealDataShortLine,
                     fields_.size(), heading_.size());
            for (std::string& field : fields_)
                if (!IsAscii(field) && InvalidUtf8At(field) != std::string::npos) {
                    // Saved by another program as Windows-1252: read so, said once.
                    if (!warned_)
                        warnings_.push_back(MessageOf(txt::RealDataNotUtf8, file_, recordLine_));
                    warned_ = true;
                    field = Cp1252ToUtf8(field);
                }
            return true;
        }
        return false;
    }
    const std::string& Text(int column) const {
        static const std::string none;
        return column < 0 ? none : fields_[std::size_t(column)];
    }
    std::optional<double> Number(int column) const {
        const std::string& t = Text(column);
        if (t.empty()) return std::nullopt;
        double value = 0;
        const char* end = t.data() + t.size();
        const auto [at, ec] = std::from_chars(t.data(), end, value);
        if (ec != std::errc() || at != end || !std::isfinite(value))
            Fail(file_, recordLine_, heading_[std::size_t(column)], txt::RealDataNoNumber, t);
        return value;
    }
    double Required(int column) const {
        if (const auto v = Number(column)) return *v;
        Fail(file_, recordLine_, heading_[std::size_t(column)], txt::RealDataMissingValue);
    }
    std::optional<int> Whole(int column) const {
        const auto v = Number(column);
        if (!v) return std::nullopt;
        if (std::fabs(*v) > 1e9)
            Fail(file_, recordLine_, heading_[std::size_t(column)], txt::RealDataOutOfRange);
        return int(std::lround(*v));
    }
    // Degrees: a latitude within 90, a longitude within 180.
    std::optional<double> Degrees(int column, double limit) const {
        const auto v = Number(column);
        if (v && std::fabs(*v) > limit)
            Fail(file_, recordLine_, heading_[std::size_t(column)], txt::RealDataBeyondDegrees,
                 Text(column), int(limit));
        return v;
    }
    double RequiredDegrees(int column, double limit) const {
        Required(column);
        return *Degrees(column, limit);
    }

  private:
    std::string_view file_;
    std::string_view text_;
    int line_ = 1, recordLine_ = 1;
    std::vector<std::string> heading_, fields_;
    std::vector<Message>& warnings_;
    bool warned_ = false;
};

void ReadAirports(RealCsv& csv, std::vector<RealAirport>& out) {
    const int ident = csv.Column("ident"), type = csv.Column("type"), name = csv.Column("name"),
              lat = csv.Column("latitude_deg"), lon = csv.Column("longitude_deg"),
              elevation = csv.Column("elevation_ft"), gps = csv.Column("gps_code"),
              country = csv.Column("iso_country", false), icao = csv.Column("icao_code", false);
    while (csv.Next()) {
        RealAirport a;
        a.ident = csv.Text(ident);
        a.gpsCode = csv.Text(gps);
        a.icaoCode = csv.Text(icao);
        a.type = csv.Text(type);
        a.name = csv.Text(name);
        a.country = csv.Text(country);
        a.lat = csv.RequiredDegrees(lat, 90);
        a.lon = csv.RequiredDegrees(lon, 180);
        a.elevationFt = csv.Whole(elevation);
        out.push_back(std::move(a));
    }
}

void ReadRunways(RealCsv& csv, std::vector<RealRunway>& out) {
    const int airport = csv.Column("airport_ident"), length = csv.Column("length_ft"),
              closed = csv.Column("closed", false);
    struct EndColumns {
        int ident, lat, lon, elevation, heading;
    };
    const auto endColumns = [&](const std::string& prefix) {
        return EndColumns{csv.Column((prefix + "ident").c_str()),
                          csv.Column((prefix + "latitude_deg").c_str()),
                          csv.Column((prefix + "longitude_deg").c_str()),
                          csv.Column((prefix + "elevation_ft").c_str()),
                          csv.Column((prefix + "heading_degT").c_str(), false)};
    };
    const EndColumns low = endColumns("le_"), high = endColumns("he_");
    const auto readEnd = [&](const EndColumns& c) {
        RealRunwayEnd end;
        end.ident = csv.Text(c.ident);
        end.lat = csv.Degrees(c.lat, 90);
        end.lon = csv.Degrees(c.lon, 180);
        end.elevationFt = csv.Whole(c.elevation);
        end.headingTrue = csv.Number(c.heading);
        return end;
    };
    while (csv.Next()) {
        RealRunway r;
        r.airportIdent = csv.Text(airport);
        r.lengthFt = csv.Whole(length);
        r.closed = csv.Text(closed) == "1";
        r.low = readEnd(low);
        r.high = readEnd(high);
        out.push_back(std::move(r));
    }
}

void ReadNavaids(RealCsv& csv, std::vector<RealNavaid>& out) {
    const int ident = csv.Column("ident"), name = csv.Column("name"), type = csv.Column("type"),
              frequency = csv.Column("frequency_khz"), lat = csv.Column("latitude_deg"),
              lon = csv.Column("longitude_deg"), elevation = csv.Column("elevation_ft"),
              country = csv.Column("iso_country", false);
    while (csv.Next()) {
        RealNavaid n;
        n.ident = csv.Text(ident);
        n.name = csv.Text(name);
        n.type = csv.Text(type);
        n.country = csv.Text(country);
        n.frequencyKhz = csv.Number(frequency).value_or(0);
        n.lat = csv.RequiredDegrees(lat, 90);
        n.lon = csv.RequiredDegrees(lon, 180);
        n.elevationFt = csv.Whole(elevation);
        out.push_back(std::move(n));
    }
}

void ReadFrequencies(RealCsv& csv, std::vector<RealFrequency>& out) {
    const int airport = csv.Column("airport_ident"), type = csv.Column("type"),
              description = csv.Column("description"), frequency = csv.Column("frequency_mhz");
    while (csv.Next())
        out.push_back(
            {csv.Text(airport), csv.Text(type), csv.Text(description), csv.Required(frequency)});
}

} // namespace

void ParseRealDataFile(RealDataFile file, std::string_view text, RealWorldData& into) {
    RealCsv csv(RealDataFileName(file), text, into.warnings);
    try {
        switch (file) {
        case RealDataFile::Airports:
            return ReadAirports(csv, into.airports);
        case RealDataFile::Runways:
            return ReadRunways(csv, into.runways);
        case RealDataFile::Navaids:
            return ReadNavaids(csv, into.navaids);
        case RealDataFile::Frequencies:
            return ReadFrequencies(csv, into.frequencies);
        }
    } catch (const std::bad_alloc&) {
        throw OrvaneError(txt::NotEnoughMemory, into.airports.size() + into.runways.size() +
                                                    into.navaids.size() + into.frequencies.size());
    }
}

RealWorldData ReadRealWorldData(const std::string& folder, const std::vector<RealDataFile>& files) {
    RealWorldData data;
    for (RealDataFile file : files) {
        const std::string path = ResolvePathCase(JoinPath(folder, RealDataFileName(file)));
        if (DirectoryExists(path))
            throw FileError(txt::RealDataFileIsFolder, RealDataFileName(file), folder);
        if (!FileExists(path))
            throw FileError(txt::RealDataFileMissing, RealDataFileName(file), folder);
        std::vector<unsigned char> bytes;
        try {
            bytes = ReadWholeFile(path);
        } catch (const std::bad_alloc&) {
            throw OrvaneError(txt::NotEnoughMemory, 0);
        }
        ParseRealDataFile(
            file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            data);
    }
    return data;
}

} // namespace orvane
