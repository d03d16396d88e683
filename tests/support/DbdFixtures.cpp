#include "support/DbdFixtures.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvane::testing {

std::string TemplateText(const std::vector<FieldSpec>& fields, const std::string& eol) {
    std::string t = std::to_string(fields.size()) + eol;
    for (const auto& f : fields)
        t += f.name + "," + std::to_string(f.offset) + "," + std::to_string(f.width) + "," +
             std::string(1, f.type) + "," + f.title + eol;
    return t;
}

RecordBuilder& RecordBuilder::Marks(std::uint16_t deletion, std::uint16_t exportMark) {
    bytes_[0] = static_cast<char>(deletion & 0xFF);
    bytes_[1] = static_cast<char>(deletion >> 8);
    bytes_[2] = static_cast<char>(exportMark & 0xFF);
    bytes_[3] = static_cast<char>(exportMark >> 8);
    return *this;
}

RecordBuilder& RecordBuilder::Text(int offset, const std::string& text) {
    return Raw(offset, text);
}

RecordBuilder& RecordBuilder::Byte(int offset, unsigned char value) {
    bytes_.at(static_cast<std::size_t>(offset)) = static_cast<char>(value);
    return *this;
}

RecordBuilder& RecordBuilder::Double(int offset, double value) {
    std::uint64_t v;
    std::memcpy(&v, &value, 8);
    std::string b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>(v >> (8 * i));
    return Raw(offset, b);
}

RecordBuilder& RecordBuilder::Int(int offset, std::uint32_t value) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>(value >> (8 * i));
    return Raw(offset, b);
}

RecordBuilder& RecordBuilder::Raw(int offset, const std::string& bytes) {
    if (offset < 0 || offset + bytes.size() > bytes_.size())
        throw std::out_of_range("RecordBuilder: bytes past the record");
    std::memcpy(&bytes_[static_cast<std::size_t>(offset)], bytes.data(), bytes.size());
    return *this;
}

std::string DbdHeaderBytes(const std::string& tag, std::int32_t recordCount,
                           std::int32_t recordSize, std::int32_t stamp, const std::string& filler) {
    std::string h(56, '\0');
    std::memcpy(&h[0], tag.data(), std::min<std::size_t>(4, tag.size()));
    // Bytes the program does not interpret: carried through unchanged.
    for (std::size_t i = 0; i < filler.size() && i < 8; ++i)
        h[4 + i] = filler[i];
    for (std::size_t i = 8; i < filler.size() && i < 40; ++i)
        h[24 + i - 8] = filler[i];
    auto put = [&](int at, std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            h[at + i] = static_cast<char>(u >> (8 * i));
    };
    put(12, stamp);
    put(16, recordCount);
    put(20, recordSize);
    return h;
}

std::string DbdBytes(const std::string& tag, int recordSize,
                     const std::vector<std::string>& records, std::int32_t stamp) {
    std::string out =
        DbdHeaderBytes(tag, static_cast<std::int32_t>(records.size()), recordSize, stamp);
    for (const auto& r : records)
        out += r;
    return out;
}

std::string DexHeaderBytes(const std::string& name, std::int32_t size, std::int32_t count) {
    std::string h(40, '\0');
    h.replace(0, name.size(), name);
    for (int i = 0; i < 4; ++i) {
        h[32 + i] = static_cast<char>(static_cast<std::uint32_t>(size) >> (8 * i));
        h[36 + i] = static_cast<char>(static_cast<std::uint32_t>(count) >> (8 * i));
    }
    return h;
}

std::string DexBytes(const std::string& name, int size, const std::vector<std::string>& records) {
    std::string out = DexHeaderBytes(name, size, static_cast<std::int32_t>(records.size()));
    for (std::string r : records) {
        r.resize(static_cast<std::size_t>(size), '\0');
        out += r;
    }
    return out;
}

std::vector<FieldSpec> AirportLikeFields() {
    std::vector<FieldSpec> f = {
        {"akey", 4, 10, 'C', "Airport key (Unique)"},
        {"afaa", 14, 4, 'C', "FAA identifier"},
        {"aica", 18, 5, 'C', "ICAO identifier"},
        {"anam", 23, 40, 'C', "Airport name"},
        {"actr", 63, 3, 'C', "Country"},
        {"asta", 66, 3, 'C', "State"},
        {"acty", 69, 20, 'C', "County"},
        {"atyp", 89, 4, 'I', "Type"},
        {"alat", 93, 8, 'D', "Latitude (seconds)"},
        {"alon", 101, 8, 'D', "Longitude (seconds)"},
        {"aelv", 109, 4, 'I', "Elevation (ft)"},
        {"aown", 113, 4, 'I', "Ownership"},
        {"ause", 117, 4, 'I', "Usage"},
        {"acit", 121, 37, 'C', "City served"},
        {"atim", 158, 8, 'D', "Time zone offset"},
        {"amag", 166, 8, 'D', "Magnetic variation"},
        {"atpa", 174, 4, 'I', "Pattern altitude"},
    };
    const char* flags[] = {"FSS available",           "NOTAM available", "ATC available",
                           "Segmented circle",        "Landing fees",    "Joint use",
                           "Military landing rights", "Customs entry"};
    int off = 178;
    for (int i = 0; i < 8; ++i, ++off)
        f.push_back({"af" + std::to_string(i) + "x", off, 1, 'C', flags[i]});
    const char* ints[] = {
        "Fuel types",          "Airframe service",      "Engine service",
        "Bottled oxygen",      "Bulk oxygen",           "Beacon lens colour",
        "Based aircraft",      "Commercial operations", "General aviation operations",
        "Military operations", "Attendance flags",      "Lighting flags",
        "Runway count",        "Longest runway (ft)",   "Tower hours"};
    for (int i = 0; i < 15; ++i, off += 4)
        f.push_back({"ai" + std::to_string(i + 10).substr(0, 2), off, 4, 'I', ints[i]});
    // off = 246
    const char* doubles[] = {"Fuel price",       "Landing fee",     "Tower frequency",
                             "Ground frequency", "ATIS frequency",  "Approach frequency",
                             "Centre latitude",  "Centre longitude"};
    for (int i = 0; i < 8; ++i, off += 8)
        f.push_back({"ad" + std::to_string(i) + "v", off, 8, 'D', doubles[i]});
    // off = 310
    for (int i = 0; i < 12; ++i, ++off)
        f.push_back({"ab" + std::to_string(i + 10).substr(0, 2), off, 1, 'C',
                     "Option byte " + std::to_string(i + 1)});
    // off = 322
    f.push_back({"amgr", off, 8, 'C', "Manager code"});
    return f; // ends at 330
}

std::string AirportLikeRecord(int n, bool accented) {
    RecordBuilder r(kAirportLikeRecordSize);
    r.Marks(n % 17 == 0 ? 42 : 0, n % 3 == 0 ? 1 : 0);
    for (const auto& f : AirportLikeFields()) {
        switch (f.type) {
        case 'C':
            if (f.width == 1) {
                r.Byte(f.offset, static_cast<unsigned char>((n * 7 + f.offset) % 256));
            } else {
                std::string text = f.name + std::to_string(n);
                if (accented && n % 2 == 0) text.front() = '\xC9'; // É
                if (text.size() > static_cast<std::size_t>(f.width))
                    text.resize(static_cast<std::size_t>(f.width));
                r.Text(f.offset, text);
            }
            break;
        case 'D':
            r.Double(f.offset, (n % 2 ? -1.0 : 1.0) * (n * 13.25 + f.offset * 0.0625));
            break;
        case 'I':
            r.Int(f.offset, static_cast<std::uint32_t>(n) * 2654435761u +
                                static_cast<std::uint32_t>(f.offset));
            break;
        }
    }
    return r.Bytes();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

AirportLikeFiles::AirportLikeFiles(int records, bool accented) {
    std::vector<std::string> all;
    all.reserve(static_cast<std::size_t>(records));
    for (int n = 0; n < records; ++n)
        all.push_back(AirportLikeRecord(n, accented));
    bytes = DbdBytes("aprt", kAirportLikeRecordSize, all, 1000000000);
    dbt = dir.Write("AIRPORT.DBT", TemplateText(AirportLikeFields()));
    dbd = dir.Write("AIRPORT.dbd", bytes);
}

} // namespace orvane::testing
