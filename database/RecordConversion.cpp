#include "database/RecordConversion.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace orvane {

namespace {

std::string_view Trim(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

std::string FieldTitle(const FieldDef& f) {
    return Cp1252ToUtf8(f.Title);
}

// Where a field's bytes start in a record buffer and how many it has there,
// bounded by the buffer whatever the template says. False when the field has
// no place in it: it starts past the buffer, or a number does not fit whole.
bool FieldPlace(const FieldDef& f, std::size_t bufferSize, std::size_t& offset,
                std::size_t& width) {
    if (f.Offset < 0 || static_cast<std::size_t>(f.Offset) >= bufferSize) return false;
    offset = static_cast<std::size_t>(f.Offset);
    const std::size_t room = bufferSize - offset;
    width = static_cast<std::size_t>(std::max(f.ByteWidth(), 0));
    if (f.IsText()) {
        width = std::min(width, room);
        return true;
    }
    return width <= room;
}

[[noreturn]] void ThrowCell(const BiText& text, Lang lang, int row, const std::string& title,
                            std::string_view cell) {
    throw ConversionError(Format(text.In(lang), row, title.c_str(), Cp1252ToUtf8(cell).c_str()));
}

} // namespace

// ---------------------------------------------------------------------------
// Record -> cells

namespace {

// One row's texts back to back and where each ends: reused from record to
// record, so a load writes each text once here and once into the table.
struct RowText {
    std::string text;
    std::vector<std::uint32_t> ends;

    void Close() { ends.push_back(static_cast<std::uint32_t>(text.size())); }
    template <class T> void Number(T n) {
        char buffer[24];
        text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, n).ptr);
        Close();
    }
    void Keep(const RecordTable& table, int col, int row) {
        text.append(table.Cell(col, row));
        Close();
    }
};

} // namespace

bool RecordToCells(const RecordBuffer& record, const std::vector<FieldDef>& fields,
                   RecordTable& table, int row, char decimalSeparator, BadDoublePolicy policy,
                   UserInteraction* ui) {
    thread_local RowText out;
    out.text.clear();
    out.ends.clear();
    const int columns =
        std::max(table.ColumnCount(), kFirstFieldColumn + static_cast<int>(fields.size()));

    out.Number(row);
    out.Keep(table, kColModif, row);
    if (GetU16(&record[0]) == 42) out.text.push_back('x');
    out.Close();
    out.Number(GetU16(&record[2]));

    bool ok = true;
    std::size_t i = 0;
    for (; i < fields.size() && ok; ++i) {
        const FieldDef& f = fields[i];
        const int col = kFirstFieldColumn + static_cast<int>(i);
        std::size_t offset = 0, width = 0;
        if (!FieldPlace(f, record.size(), offset, width)) {
            out.Keep(table, col, row);
            continue;
        }
        const unsigned char* p = record.data() + offset;
        switch (f.Type) {
        case 'C':
            if (f.Width == 1) {
                out.Number(unsigned{p[0]});
            } else {
                // The text is confined to its own field.
                std::size_t n = 0;
                while (n < width && p[n] != 0)
                    ++n;
                out.text.append(reinterpret_cast<const char*>(p), n);
                out.Close();
            }
            break;
        case 'D': {
            const double d = GetF64(p);
            if (std::isfinite(d)) {
                AppendFixed(out.text, d, 4, decimalSeparator);
                out.Close();
            } else if (policy == BadDoublePolicy::FailRecord) {
                ok = false; // this field and the ones after it keep what they held
                --i;
            } else {
                if (ui) ui->ShowMessage(MessageKind::Warning, Format(txt::LineError, row));
                out.Keep(table, col, row); // the cell is left as it was
            }
            break;
        }
        case 'I':
            out.Number(GetU32(p));
            break;
        default:
            out.Keep(table, col, row); // not converted: the cell is not touched
            break;
        }
    }
    for (int c = kFirstFieldColumn + static_cast<int>(i); c < columns; ++c)
        out.Keep(table, c, row);
    table.SetRowPacked(row, out.text, out.ends.data(), out.ends.size());
    return ok;
}

// ---------------------------------------------------------------------------
// Cells -> record

bool ParseCellInt64(std::string_view text, std::int64_t& value) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size();
}

bool ParseCellDouble(std::string_view text, char decimalSeparator, double& value) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    std::string s(t);
    for (char& c : s) {
        if (c == decimalSeparator)
            c = '.';
        else if (c == '.' ||
                 !(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == 'e' || c == 'E'))
            return false; // another separator, letters of "inf"/"nan", blanks inside
    }
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

void ConvertRowInto(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                    char decimalSeparator, RecordBuffer& record, Lang lang,
                    const RowConversion& how) {
    RecordBuffer out = record;
    out[0] = table.Cell(kColSuppr, row) == "x" ? 42 : 0;
    std::int64_t mark = 0;
    std::string_view exportCell = table.Cell(kColExport, row);
    if (!ParseCellInt64(exportCell, mark))
        ThrowCell(txt::BadWholeNumber, lang, row, "Export", exportCell);
    out[2] = static_cast<unsigned char>(mark & 0xFF);

    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (!f.IsConverted() || (how.skipField && how.skipField(f))) continue;
        std::string_view cell = table.Cell(kFirstFieldColumn + static_cast<int>(i), row);
        std::size_t offset = 0, width = 0;
        if (!FieldPlace(f, out.size(), offset, width)) continue;
        unsigned char* p = out.data() + offset;
        switch (f.Type) {
        case 'C':
            if (f.Width == 1) {
                std::int64_t v = 0;
                if (!ParseCellInt64(cell, v))
                    ThrowCell(txt::BadWholeNumber, lang, row, FieldTitle(f), cell);
                p[0] = static_cast<unsigned char>(v & 0xFF);
            } else {
                if (cell.size() > width)
                    throw ConversionError(Format(txt::TextTooLong.In(lang), row,
                                                 FieldTitle(f).c_str(), Cp1252ToUtf8(cell).c_str(),
                                                 static_cast<int>(width)));
                // Confined to the field: the text, then a zero byte when it is
                // shorter than the field.
                std::copy(cell.begin(), cell.end(), p);
                if (cell.size() < width) p[cell.size()] = 0;
            }
            break;
        case 'D': {
            double d = 0;
            if (!ParseCellDouble(cell, decimalSeparator, d))
                ThrowCell(txt::BadNumber, lang, row, FieldTitle(f), cell);
            PutF64(p, d);
            break;
        }
        case 'I': {
            std::int64_t v = 0;
            if (how.signedIntegers) {
                if (!ParseCellInt64(cell, v) || v < INT32_MIN || v > INT32_MAX)
                    ThrowCell(txt::NotSigned32, lang, row, FieldTitle(f), cell);
            } else if (!ParseCellInt64(cell, v)) {
                ThrowCell(txt::BadWholeNumber, lang, row, FieldTitle(f), cell);
            }
            // Low 32 bits: "%u" texts and negative values both fit.
            PutU32(p, static_cast<std::uint32_t>(v & 0xFFFFFFFF));
            break;
        }
        default:
            break;
        }
    }
    record = out;
}

void BuildRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                 char decimalSeparator, RecordBuffer& record, Lang lang) {
    std::fill(record.begin(), record.end(), 0);
    ConvertRowInto(table, row, fields, decimalSeparator, record, lang);
}

} // namespace orvane
