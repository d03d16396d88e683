#include "support/DirectWriteFixtures.h"

#include "support/ArchiveFixtures.h"

#include <algorithm>
#include <stdexcept>

namespace orvane::testing {

const std::vector<FieldSpec>& NavWriteFields() {
    static const std::vector<FieldSpec> fields = {
        {"nkey", 4, 10, 'C', "Key"},       {"nnam", 14, 20, 'C', "Name"},
        {"ncls", 34, 1, 'C', "Class"},     {"nfrq", 35, 8, 'D', "Frequency"},
        {"nlat", 43, 8, 'D', "Latitude"},  {"nlon", 51, 8, 'D', "Longitude"},
        {"nmag", 59, 4, 'I', "Variation"}, {"nxxx", 63, 4, 'X', "Other"},
        {"napt", 67, 4, 'I', "Airport"},   {"nica", 71, 5, 'C', "ICAO"},
    };
    return fields;
}

std::string NavWriteRecord(int n) {
    const std::string name = "NAME" + std::to_string(n);
    return RecordBuilder(kNavWriteRecordSize)
        .Raw(0, PatternBytes(kNavWriteRecordSize, static_cast<unsigned>(n) + 100))
        .Marks(0x0700, 0x0901)
        .Text(4, "KEY" + std::to_string(n) + std::string(10 - 3 - std::to_string(n).size(), '\0'))
        .Text(14, name + '\0') // the field's later bytes keep the pattern
        .Byte(34, static_cast<unsigned char>(10 + n))
        .Double(35, 110.5 + n)
        .Double(43, 1000.25 * n)
        .Double(51, -2000.5 * n)
        .Int(59, 300u + static_cast<std::uint32_t>(n))
        .Int(67, 7000u + static_cast<std::uint32_t>(n))
        .Text(71, "K" + std::to_string(1000 + n))
        .Bytes();
}

std::string NavWriteDbd(int count) {
    std::vector<std::string> records;
    for (int n = 1; n <= count; ++n)
        records.push_back(NavWriteRecord(n));
    return DbdBytes("navd", kNavWriteRecordSize, records, 1000000);
}

std::vector<ArchiveSourceEntry> NavWriteEntries(int count) {
    return {
        {"DATABASE\\NAVAID.DBD", NavWriteDbd(count), 0},
        {"DATABASE\\NAVAID.DBT", TemplateText(NavWriteFields()), 0},
        {"PAD", "", 0},
    };
}

std::uint32_t AirportRecordPosition(int index) {
    return 56u + static_cast<std::uint32_t>(index) * kAirportRecordSize;
}

std::vector<ArchiveSourceEntry> AirportEntries(const std::vector<AirportRow>& rows, int rowLength,
                                               const std::vector<std::uint32_t>& positions) {
    std::vector<std::string> records;
    std::string index = IndexEntryBytes(static_cast<std::int32_t>(rows.size()), rowLength);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        records.push_back(
            RecordBuilder(kAirportRecordSize).Marks(0, 1).Text(4, rows[i].text).Bytes());
        std::string key = rows[i].key;
        key.resize(5, '\0');
        const std::size_t at = 68 + i * static_cast<std::size_t>(rowLength);
        index.replace(at, 5, key);
        if (rowLength >= 9)
            PatchU32(index, at + 5,
                     i < positions.size() ? positions[i]
                                          : AirportRecordPosition(static_cast<int>(i)));
    }
    return {
        {"DATABASE\\APRTICAO.DBI", index, 0},
        {"DATABASE\\AIRPORT.DBD", DbdBytes("aprt", kAirportRecordSize, records), 0},
    };
}

std::pair<std::size_t, std::size_t> ChangedRange(const std::string& before,
                                                 const std::string& path) {
    const std::string after = ReadBytes(path);
    // The fuzz targets link this file without the test framework: a change
    // of size fails the test through an exception.
    if (after.size() != before.size())
        throw std::runtime_error(path + " changed size: " + std::to_string(before.size()) + " -> " +
                                 std::to_string(after.size()) + " bytes");
    std::size_t first = std::string::npos, last = 0;
    for (std::size_t i = 0; i < std::min(after.size(), before.size()); ++i)
        if (after[i] != before[i]) {
            if (first == std::string::npos) first = i;
            last = i;
        }
    return {first, last};
}

} // namespace orvane::testing
