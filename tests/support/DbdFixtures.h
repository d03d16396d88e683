// Builders for templates, records and DBD files used by the tests and the
// benchmarks. Everything here is made by our own code.
#pragma once

#include "support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::testing {

struct FieldSpec {
    std::string name;
    int offset;
    int width;
    char type;
    std::string title;
};

// The template text: the count line, then one definition line per field.
std::string TemplateText(const std::vector<FieldSpec>& fields, const std::string& eol = "\r\n");

// One record's bytes, built field by field.
class RecordBuilder {
  public:
    explicit RecordBuilder(int size) : bytes_(static_cast<std::size_t>(size), '\0') {}
    RecordBuilder& Marks(std::uint16_t deletion, std::uint16_t exportMark);
    RecordBuilder& Text(int offset, const std::string& text); // no terminator added
    RecordBuilder& Byte(int offset, unsigned char value);
    RecordBuilder& Double(int offset, double value);
    RecordBuilder& Int(int offset, std::uint32_t value);
    RecordBuilder& Raw(int offset, const std::string& bytes);
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// A 56-byte DBD header followed by the records.
std::string DbdHeaderBytes(const std::string& tag, std::int32_t recordCount,
                           std::int32_t recordSize, std::int32_t stamp = 0,
                           const std::string& filler = "");
std::string DbdBytes(const std::string& tag, int recordSize,
                     const std::vector<std::string>& records, std::int32_t stamp = 0);
// A 40-byte DEX header (the DBD's name, record size and count), and one
// followed by the records, each cut or zero-padded to the size.
std::string DexHeaderBytes(const std::string& name, std::int32_t size, std::int32_t count);
std::string DexBytes(const std::string& name, int size, const std::vector<std::string>& records);

// A realistic airport template: about 60 fields (texts, doubles, integers,
// bytes) in a record of 330 bytes, every byte after the marks covered.
std::vector<FieldSpec> AirportLikeFields();
inline constexpr int kAirportLikeRecordSize = 330;
// A record of that template for index n, in canonical form (texts zero-padded,
// doubles with at most 4 decimals). With accented, the texts of every second
// record begin with an accented letter (Windows-1252), as French and German
// names do.
std::string AirportLikeRecord(int n, bool accented = false);

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// A DBD file of `records` airport-like records and its template, in a
// folder of their own; `bytes` is the DBD file's content.
struct AirportLikeFiles {
    explicit AirportLikeFiles(int records, bool accented = false);
    TempDir dir;
    std::string dbt, dbd, bytes;
};

} // namespace orvane::testing
