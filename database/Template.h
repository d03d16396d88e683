// DBT templates: the text that lists the fields of one record type. The
// field list drives every conversion between record bytes and cells, and the
// table's columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

class RecordTable;

struct FieldDef {
    std::string Name;  // up to 4 characters
    int Offset = 0;    // first byte within the record
    int Width = 0;     // width in bytes (C fields); D and I take 8 and 4
    char Type = ' ';   // 'C', 'D', 'I' or another letter (not converted)
    std::string Title; // column heading, 8-bit text as in the template

    bool IsByte() const { return Type == 'C' && Width == 1; }
    bool IsText() const { return Type == 'C' && Width != 1; }
    bool IsConverted() const { return Type == 'C' || Type == 'D' || Type == 'I'; }
    // Bytes the field covers in a record (0 for types that are not converted).
    int ByteWidth() const;
    // Numeric fields are right-aligned in the grid, texts left-aligned.
    bool RightAligned() const { return Type != 'C'; }
};

// Where the furthest converted field of a list ends (0 for none), in 64 bits.
std::int64_t FieldsEnd(const std::vector<FieldDef>& fields);

// The first two converted fields (in offset order) that share record bytes,
// as indexes into fields, the one that starts first first; none when no
// bytes are shared. A record written with them loses one field's bytes.
std::optional<std::pair<std::size_t, std::size_t>>
FirstOverlap(const std::vector<FieldDef>& fields);

struct TemplateInfo {
    int FieldCount = 0;
    std::vector<std::string> Lines; // every line of the text, as split
    std::vector<FieldDef> Fields;   // FieldCount definitions
};

// Lines end with CR LF, LF alone or CR alone; empty lines are skipped. A last
// line without a line end is kept.
std::vector<std::string> SplitTemplateLines(std::string_view text);
// One definition line: name, offset, width, type, title. Throws FormatError
// for a number that is not a whole number or a field that does not fit in a
// record of the largest size.
FieldDef ParseFieldLine(std::string_view line);
// The whole template. Throws FormatError (bad count, missing definition lines).
TemplateInfo ParseTemplate(std::string_view text);

// The definitions page: the summary line (UTF-8) and the template lines
// exactly as read (8-bit), one per field.
struct DefinitionPage {
    std::string Summary;            // "%s - %d champs" / "%s - %d fields"
    std::vector<std::string> Lines; // FieldCount lines
};
DefinitionPage MakeDefinitionPage(const std::string& dataType, const TemplateInfo& info,
                                  bool english);

// Gives the table FieldCount + 4 columns and the field titles as headings
// of columns 4 onward. The flag headings are left as they are.
void ApplyColumns(RecordTable& table, const std::vector<FieldDef>& fields);

} // namespace orvane
