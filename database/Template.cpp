#include "database/Template.h"

#include "database/Headers.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace orvane {

int FieldDef::ByteWidth() const {
    switch (Type) {
    case 'C':
        return Width;
    case 'D':
        return 8;
    case 'I':
        return 4;
    default:
        return 0;
    }
}

std::int64_t FieldsEnd(const std::vector<FieldDef>& fields) {
    std::int64_t end = 0;
    for (const auto& f : fields)
        end = std::max(end, std::int64_t{f.Offset} + f.ByteWidth());
    return end;
}

std::optional<std::pair<std::size_t, std::size_t>>
FirstOverlap(const std::vector<FieldDef>& fields) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].ByteWidth() > 0) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return fields[a].Offset < fields[b].Offset;
    });
    // The field reaching furthest so far: a later start before its end overlaps it.
    std::optional<std::size_t> furthest;
    std::int64_t end = 0;
    for (std::size_t i : order) {
        if (furthest && fields[i].Offset < end) return std::make_pair(*furthest, i);
        const std::int64_t e = std::int64_t{fields[i].Offset} + fields[i].ByteWidth();
        if (!furthest || e > end) {
            furthest = i;
            end = e;
        }
    }
    return std::nullopt;
}

std::vector<std::string> SplitTemplateLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!current.empty()) {
                lines.push_back(std::move(current));
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

namespace {
int ParseWhole(std::string_view item, BiText what, std::string_view line) {
    std::string_view t = item;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        throw FormatError(txt::TemplateNotWhole, Cp1252ToUtf8(item), what, Cp1252ToUtf8(line));
    return value;
}

// Splits off the text before the next comma; the rest follows that comma.
std::string_view NextItem(std::string_view& rest, std::string_view line) {
    auto pos = rest.find(',');
    if (pos == std::string_view::npos) throw FormatError(txt::TemplateFewItems, Cp1252ToUtf8(line));
    std::string_view item = rest.substr(0, pos);
    rest.remove_prefix(pos + 1);
    return item;
}
} // namespace

FieldDef ParseFieldLine(std::string_view line) {
    FieldDef f;
    f.Name = std::string(line.substr(0, 4));
    std::string_view rest = line;
    NextItem(rest, line); // the name item
    f.Offset = ParseWhole(NextItem(rest, line), txt::TemplateOffsetWord, line);
    f.Width = ParseWhole(NextItem(rest, line), txt::TemplateWidthWord, line);
    std::string_view type = NextItem(rest, line);
    f.Type = type.empty() ? ' ' : type.front();
    f.Title = std::string(rest);

    // In 64 bits: offset + width of two large numbers must not wrap into a
    // small one that passes the check.
    const std::int64_t end =
        std::int64_t{f.Offset} + (f.Type == 'C' ? std::int64_t{f.Width} : f.ByteWidth());
    if (f.Offset < 0 || f.Width < 0 || f.Offset >= kMaxRecordSize || end > kMaxRecordSize)
        throw FormatError(txt::TemplateFieldOutside, Cp1252ToUtf8(f.Name), f.Offset, f.Width,
                          kMaxRecordSize, Cp1252ToUtf8(line));
    return f;
}

TemplateInfo ParseTemplate(std::string_view text) {
    TemplateInfo info;
    info.Lines = SplitTemplateLines(text);
    if (info.Lines.empty()) throw FormatError(txt::TemplateEmpty);
    info.FieldCount = ParseWhole(info.Lines[0], txt::TemplateCountWord, info.Lines[0]);
    if (info.FieldCount < 0) throw FormatError(txt::TemplateNegativeCount);
    if (static_cast<std::size_t>(info.FieldCount) + 1 > info.Lines.size())
        throw FormatError(txt::TemplateMissingLines, info.FieldCount, info.Lines.size() - 1);
    info.Fields.reserve(static_cast<std::size_t>(info.FieldCount));
    for (int i = 1; i <= info.FieldCount; ++i)
        info.Fields.push_back(ParseFieldLine(info.Lines[i]));
    return info;
}

DefinitionPage MakeDefinitionPage(const std::string& dataType, const TemplateInfo& info,
                                  bool english) {
    DefinitionPage page;
    page.Summary =
        Format(txt::DefinitionsSummary.In(english ? Lang::English : Lang::French, info.FieldCount),
               Cp1252ToUtf8(dataType + ".dbt").c_str(), info.FieldCount);
    page.Lines.assign(info.Lines.begin() + 1, info.Lines.begin() + 1 + info.FieldCount);
    return page;
}

void ApplyColumns(RecordTable& table, const std::vector<FieldDef>& fields) {
    table.SetColumnCount(static_cast<int>(fields.size()) + kFirstFieldColumn);
    for (std::size_t i = 0; i < fields.size(); ++i)
        table.SetCell(kFirstFieldColumn + static_cast<int>(i), 0, fields[i].Title);
}

} // namespace orvane
