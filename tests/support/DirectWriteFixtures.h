// Fixtures of the direct write and the airport lookup: a navaid archive whose
// records hold protected fields, every field kind and bytes no field covers,
// and an airport archive with its ICAO index.
#pragma once

#include "database/ArchiveWriter.h"
#include "support/DbdFixtures.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvane::testing {

// 100-byte records: a protected key (C 10 at 4), a name (C 20 at 14), a byte
// (C 1 at 34), a frequency (D at 35), protected latitude and longitude (D at
// 43, 51), a variation (I at 59), a field of another type (X 4 at 63), a
// protected airport number (I at 67) and ICAO code (C 5 at 71); bytes 76-99
// are covered by no field.
const std::vector<FieldSpec>& NavWriteFields();
inline constexpr int kNavWriteRecordSize = 100;
// Record n: every byte first filled with a pattern, then the fields; the
// marks are 0x0700 (not deleted, byte 1 = 7) and 0x0901 (export 1, byte 3 = 9).
std::string NavWriteRecord(int n);
// The DBD entry's bytes: tag "navd", count records.
std::string NavWriteDbd(int count);
// Entries DATABASE\NAVAID.DBD, DATABASE\NAVAID.DBT and an empty "PAD": in a
// short-header POD the DBD entry then starts at byte 200.
std::vector<ArchiveSourceEntry> NavWriteEntries(int count);

// The airport archive: one 20-byte AIRPORT.DBD record per text (the text at
// byte 4, no terminator added) and APRTICAO.DBI rows of rowLength bytes, one
// per key, pointing at the record of the same index (or at `positions` when
// given: byte positions from the start of the DBD entry).
struct AirportRow {
    std::string key;  // written into bytes 0-4, zero-padded
    std::string text; // the record's text
};
inline constexpr int kAirportRecordSize = 20;
std::uint32_t AirportRecordPosition(int index); // 56 + index x 20
std::vector<ArchiveSourceEntry> AirportEntries(const std::vector<AirportRow>& rows,
                                               int rowLength = 12,
                                               const std::vector<std::uint32_t>& positions = {});

// Bytes [first, last] of the file at path that differ from before (first is
// npos when none does); a change of size fails the test.
std::pair<std::size_t, std::size_t> ChangedRange(const std::string& before,
                                                 const std::string& path);

} // namespace orvane::testing
