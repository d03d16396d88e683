#include "database/RecordConversion.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/DecimalText.h"
#include "platform/Errors.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

std::string FieldTitle(const FieldDef& f) {
    return Cp1252ToUtf8(f.Title);
}

// Where a field's bytes start in a record buffer and how many it has there,
// bounded by the buffer whatever the template says. False when the field has
// no place in it: it starts past the buffer, or a number does not fit whole.
inline bool FieldPlace(const FieldDef& f, std::size_t bufferSize, std::size_t& offset,
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

// A row's cells as the table stores them: its texts back to back, and
// where each cell ends in them (kept in ends, reused from row to row).
// The pointers are held here, not read from the vector, so that the stores
// of a record being built (bytes, which may alias anything) do not make
// the compiler read them again for every cell.
class StoredRow {
  public:
    StoredRow(const RecordTable& table, int row, std::vector<std::uint32_t>& ends) {
        ends.resize(static_cast<std::size_t>(table.ColumnCount()));
        texts_ = table.RowTexts(row, ends.data(), ends.size()).data();
        ends_ = ends.data();
        count_ = ends.size();
    }
    std::string_view operator()(std::size_t col) const {
        if (col >= count_) return std::string_view();
        const std::uint32_t begin = col ? ends_[col - 1] : 0;
        return std::string_view(texts_ + begin, ends_[col] - begin);
    }

  private:
    const std::uint32_t* ends_;
    std::size_t count_;
    const char* texts_;
};

[[noreturn]] void ThrowCell(const BiText& text, int row, const std::string& title,
                            std::string_view cell) {
    throw ConversionError(text, row, title, QuotedValue(cell));
}

} // namespace

// ---------------------------------------------------------------------------
// Record -> cells

namespace {
// The longest text of a number in a cell: 4 decimals of the largest double.
constexpr std::size_t kDoubleRoom = kFixed4Room;
constexpr std::size_t kNumberRoom = 24;
} // namespace

RecordDecoder::RecordDecoder(const std::vector<FieldDef>& fields, char decimalSeparator,
                             BadDoublePolicy policy, UserInteraction* ui)
    : decimalSeparator_(decimalSeparator), policy_(policy), ui_(ui) {
    steps_.reserve(fields.size());
    std::size_t room = 4 * kNumberRoom; // the flag columns
    for (const FieldDef& f : fields) {
        std::size_t offset = 0, width = 0;
        Kind kind = Kind::Keep; // not converted, or no place in a record: the cell stays
        if (FieldPlace(f, kMaxRecordSize, offset, width)) {
            switch (f.Type) {
            case 'C':
                kind = f.Width == 1 ? Kind::Byte : Kind::Text;
                room += f.Width == 1 ? kNumberRoom : width;
                break;
            case 'D':
                kind = Kind::Double;
                room += kDoubleRoom;
                break;
            case 'I':
                kind = Kind::Integer;
                room += kNumberRoom;
                break;
            default:
                break;
            }
        }
        steps_.push_back(
            {kind, static_cast<std::uint16_t>(offset), static_cast<std::uint16_t>(width)});
    }
    room_ = room;
    ends_.resize(steps_.size() + kFirstFieldColumn);
}

char* RecordDecoder::Keep(char* p, const RecordTable& table, int col, int row) {
    const std::string_view cell = table.Cell(col, row);
    if (!cell.empty()) std::memcpy(p, cell.data(), cell.size());
    return p + cell.size();
}

bool RecordDecoder::Decode(const RecordBuffer& record, RecordTable& table, int row) {
    const int columns =
        std::max(table.ColumnCount(), kFirstFieldColumn + static_cast<int>(steps_.size()));
    if (ends_.size() < static_cast<std::size_t>(columns))
        ends_.resize(static_cast<std::size_t>(columns));
    // The texts go straight into the row's own storage, which has room for
    // every field's longest text and for the cells kept from the row as it is
    // (those are never longer than all its texts together). Cells past the
    // table's columns are written there too, and dropped.
    char* const texts = table.BeginPackedRow(room_ + table.RowTextBytes(row));
    char* p = texts;
    std::size_t cell = 0;
    const auto close = [&] { ends_[cell++] = static_cast<std::uint32_t>(p - texts); };
    const auto number = [&](auto n) {
        p = std::to_chars(p, p + kNumberRoom, n).ptr;
        close();
    };

    number(row);
    p = Keep(p, table, kColModif, row);
    close();
    const bool deleted = GetU16(&record[0]) == 42;
    if (deleted) *p++ = 'x';
    close();
    const std::uint16_t mark = GetU16(&record[2]);
    number(mark);
    deleted_ += deleted;
    selected_ += mark == 1;

    bool ok = true;
    std::size_t i = 0;
    for (; i < steps_.size(); ++i) {
        const Step& step = steps_[i];
        const unsigned char* bytes = record.data() + step.offset;
        switch (step.kind) {
        case Kind::Byte:
            number(unsigned{bytes[0]});
            break;
        case Kind::Text: {
            // The text is confined to its own field.
            const void* zero = step.width ? std::memchr(bytes, 0, step.width) : nullptr;
            const std::size_t n =
                zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - bytes)
                     : step.width;
            if (n) std::memcpy(p, bytes, n);
            p += n;
            close();
            break;
        }
        case Kind::Double: {
            const double d = GetF64(bytes);
            if (std::isfinite(d)) {
                p = WriteFixed4(p, d);
                if (decimalSeparator_ != '.') p[-5] = decimalSeparator_;
                close();
            } else if (policy_ == BadDoublePolicy::FailRecord) {
                ok = false; // this field and the ones after it keep what they held
            } else {
                if (ui_) ui_->Show(MessageKind::Warning, MessageOf(txt::LineError, row));
                p = Keep(p, table, kFirstFieldColumn + static_cast<int>(i), row); // as it was
                close();
            }
            break;
        }
        case Kind::Integer:
            number(GetU32(bytes));
            break;
        case Kind::Keep:
            p = Keep(p, table, kFirstFieldColumn + static_cast<int>(i), row);
            close();
            break;
        }
        if (!ok) break;
    }
    for (int c = kFirstFieldColumn + static_cast<int>(i); c < columns; ++c) {
        p = Keep(p, table, c, row);
        close();
    }
    table.CommitPackedRow(row, ends_.data());
    return ok;
}

bool RecordToCells(const RecordBuffer& record, const std::vector<FieldDef>& fields,
                   RecordTable& table, int row, char decimalSeparator, BadDoublePolicy policy,
                   UserInteraction* ui) {
    return RecordDecoder(fields, decimalSeparator, policy, ui).Decode(record, table, row);
}

// ---------------------------------------------------------------------------
// Cells -> record

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

std::string_view TrimCell(std::string_view t) {
    while (!t.empty() && IsBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back()))
        t.remove_suffix(1);
    return t;
}

bool ParseCellInt64(std::string_view text, std::int64_t& value) {
    std::string_view t = TrimCell(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    const bool negative = t.front() == '-';
    const std::string_view digits = negative ? t.substr(1) : t;
    if (digits.empty() || digits.size() > 18) {
        // Long texts take the library's path, with its overflow checks.
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
        return ec == std::errc() && end == t.data() + t.size();
    }
    std::int64_t v = 0; // 18 digits cannot overflow
    for (const char c : digits) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    value = negative ? -v : v;
    return true;
}

bool ParseCellDouble(std::string_view text, char decimalSeparator, double& value) {
    std::string_view t = TrimCell(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    if (ParsePlainDecimal(t, decimalSeparator, value)) return true; // most cells
    char small[64];
    std::string large;
    char* s = small;
    if (t.size() > sizeof small) {
        large.assign(t);
        s = large.data();
    } else {
        std::memcpy(small, t.data(), t.size());
    }
    for (std::size_t i = 0; i < t.size(); ++i) {
        char& c = s[i];
        if (c == decimalSeparator)
            c = '.';
        else if (c == '.' || !((c >= '0' && c <= '9') || c == '-' || c == 'e' || c == 'E'))
            return false; // another separator, letters of "inf"/"nan", blanks inside
    }
    auto [end, ec] = std::from_chars(s, s + t.size(), value);
    return ec == std::errc() && end == s + t.size() && std::isfinite(value);
}

RecordEncoder::RecordEncoder(const std::vector<FieldDef>& fields, char decimalSeparator, Lang lang,
                             RowConversion how)
    : fields_(fields), decimalSeparator_(decimalSeparator), lang_(lang), how_(std::move(how)) {
    steps_.reserve(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        std::size_t offset = 0, width = 0;
        if (!f.IsConverted() || (how_.skipField && how_.skipField(f)) ||
            !FieldPlace(f, kMaxRecordSize, offset, width))
            continue; // the record's bytes stay
        const Kind kind = f.Type == 'D'   ? Kind::Double
                          : f.Type == 'I' ? Kind::Integer
                          : f.Width == 1  ? Kind::Byte
                                          : Kind::Text;
        steps_.push_back({kind, static_cast<std::uint16_t>(offset),
                          static_cast<std::uint16_t>(width), static_cast<std::uint32_t>(i)});
    }
}

void RecordEncoder::Write(const RecordTable& table, int row, unsigned char* out) {
    // The row's texts as stored, with where each cell ends: no view per cell.
    const StoredRow cell(table, row, ends_);
    out[0] = cell(kColSuppr) == "x" ? 42 : 0;
    std::int64_t mark = 0;
    const std::string_view exportCell = cell(kColExport);
    if (exportCell.size() == 1 && exportCell[0] >= '0' && exportCell[0] <= '9')
        mark = exportCell[0] - '0'; // "0" or "1", nearly always
    else if (!ParseCellInt64(exportCell, mark))
        ThrowCell(txt::BadWholeNumber, row, "Export", exportCell);
    out[2] = static_cast<unsigned char>(mark & 0xFF);

    const char separator = decimalSeparator_;
    const bool signedIntegers = how_.signedIntegers;
    for (const Step& step : steps_) {
        const std::string_view text = cell(kFirstFieldColumn + step.field);
        if (FastConvert(step, text, out + step.offset, separator, signedIntegers)) continue;
        const FieldDef& f = fields_[step.field];
        switch (Convert(step, text, out + step.offset)) {
        case CellFault::None:
        case CellFault::ByteRange: // the low 8 bits, as ever
            break;
        case CellFault::NotNumber:
            ThrowCell(txt::BadNumber, row, FieldTitle(f), text);
        case CellFault::NotWholeNumber:
            ThrowCell(txt::BadWholeNumber, row, FieldTitle(f), text);
        case CellFault::NotSigned32:
            ThrowCell(txt::NotSigned32, row, FieldTitle(f), text);
        case CellFault::TooLong:
            throw ConversionError(txt::TextTooLong, row, FieldTitle(f).c_str(), QuotedValue(text),
                                  static_cast<int>(step.width));
        }
    }
}

CellFault RecordEncoder::Convert(const Step& step, std::string_view text, unsigned char* p) const {
    switch (step.kind) {
    case Kind::Byte: {
        std::int64_t v = 0;
        if (!ParseCellInt64(text, v)) return CellFault::NotWholeNumber;
        p[0] = static_cast<unsigned char>(v & 0xFF);
        return v < 0 || v > 255 ? CellFault::ByteRange : CellFault::None;
    }
    case Kind::Text:
        if (text.size() > step.width) return CellFault::TooLong;
        // Confined to the field: the text, then a zero byte when it is
        // shorter than the field.
        if (!text.empty()) std::memcpy(p, text.data(), text.size());
        if (text.size() < step.width) p[text.size()] = 0;
        return CellFault::None;
    case Kind::Double: {
        double d = 0;
        if (!ParseCellDouble(text, decimalSeparator_, d)) return CellFault::NotNumber;
        PutF64(p, d);
        return CellFault::None;
    }
    case Kind::Integer: {
        std::int64_t v = 0;
        if (how_.signedIntegers) {
            if (!ParseCellInt64(text, v) || v < INT32_MIN || v > INT32_MAX)
                return CellFault::NotSigned32;
        } else if (!ParseCellInt64(text, v)) {
            return CellFault::NotWholeNumber;
        }
        // Low 32 bits: "%u" texts and negative values both fit.
        PutU32(p, static_cast<std::uint32_t>(v & 0xFFFFFFFF));
        return CellFault::None;
    }
    }
    return CellFault::None;
}

namespace {

// Whether the sizeof(Word) bytes at p are all decimal digits.
template <class Word> bool DigitsWord(const char* p) {
    Word x;
    std::memcpy(&x, p, sizeof x);
    return AllDigitBytes(x);
}

// Whether the n bytes at p are all decimal digits, a word at a time (the
// last word overlapping the one before).
bool AllDigits(const char* p, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8)
            if (!DigitsWord<std::uint64_t>(p + i)) return false;
        return DigitsWord<std::uint64_t>(p + n - 8);
    }
    if (n >= 4) return DigitsWord<std::uint32_t>(p) && DigitsWord<std::uint32_t>(p + n - 4);
    if (n >= 2) return DigitsWord<std::uint16_t>(p) && DigitsWord<std::uint16_t>(p + n - 2);
    return n == 0 || static_cast<unsigned char>(*p - '0') <= 9;
}

// The text without one leading '+' and, when allowed, one '-' after it.
const char* AfterSign(std::string_view text, bool allowNegative) {
    const char* p = text.data();
    const char* const end = p + text.size();
    if (p != end && *p == '+') ++p;
    if (allowNegative && p != end && *p == '-') ++p;
    return p;
}

// A whole number as decoded records and typed cells nearly always hold it:
// [+][-]digits, no blanks, 1 to maxDigits digits (at most 18, which
// ParseCellInt64 reads without overflow). False only means the general
// reader has to decide.
bool PlainWhole(std::string_view text, std::size_t maxDigits) {
    const char* p = AfterSign(text, true);
    const std::size_t n = static_cast<std::size_t>(text.data() + text.size() - p);
    return n && n <= maxDigits && AllDigits(p, n);
}

// A one-byte value 0-255 written [+]digits.
bool PlainByte(std::string_view text) {
    const char* p = AfterSign(text, false);
    const std::size_t n = static_cast<std::size_t>(text.data() + text.size() - p);
    std::uint64_t value = 0;
    return n <= 3 && ParseDigits({p, n}, value) && value <= 255;
}

// A decimal number [+][-]digits[<separator>digits] with at least one digit
// and at most 40 characters after the sign: finite and far from the limits
// of a double, so it always reads. False only means the general reader has
// to decide.
bool PlainDecimal(std::string_view text, char separator) {
    if (separator != '.' && separator != ',') return false;
    const char* p = AfterSign(text, true);
    const char* const end = text.data() + text.size();
    const std::size_t n = static_cast<std::size_t>(end - p);
    if (n > 40) return false;
    // Decoded cells have four decimals.
    if (n >= 6 && end[-5] == separator) return AllDigits(p, n - 5) && AllDigits(end - 4, 4);
    bool any = false, point = false;
    for (; p != end; ++p) {
        if (static_cast<unsigned char>(*p - '0') <= 9)
            any = true;
        else if (*p == separator && !point)
            point = true;
        else
            return false;
    }
    return any;
}

} // namespace

bool RecordEncoder::Plain(const Step& step, std::string_view text) const {
    switch (step.kind) {
    case Kind::Byte:
        return PlainByte(text);
    case Kind::Text:
        return text.size() <= step.width;
    case Kind::Double:
        return PlainDecimal(text, decimalSeparator_);
    case Kind::Integer:
        return PlainWhole(text, how_.signedIntegers ? 9 : 18);
    }
    return false;
}

bool RecordEncoder::FastConvert(const Step& step, std::string_view text, unsigned char* p,
                                char separator, bool signedIntegers) {
    switch (step.kind) {
    case Kind::Text:
        if (text.size() > step.width) return false;
        if (!text.empty()) std::memcpy(p, text.data(), text.size());
        if (text.size() < step.width) p[text.size()] = 0;
        return true;
    case Kind::Integer: {
        // Digits only, as decoded records hold them: at most 10, which a
        // signed 32-bit field checks against its range.
        std::uint64_t v = 0;
        if (text.size() > 10 || !ParseDigits(text, v)) return false;
        if (signedIntegers && v > INT32_MAX) return false;
        PutU32(p, static_cast<std::uint32_t>(v));
        return true;
    }
    case Kind::Byte: {
        std::uint64_t v = 0;
        if (text.size() > 3 || !ParseDigits(text, v)) return false;
        p[0] = static_cast<unsigned char>(v & 0xFF); // the low 8 bits, as ever
        return true;
    }
    case Kind::Double: {
        // Blanks and a '+' are the general reader's to strip.
        if (text.empty() || text.front() == '+' || IsBlank(text.front()) || IsBlank(text.back()))
            return false;
        double d = 0;
        if (!ParsePlainDecimal(text, separator, d)) return false;
        PutF64(p, d);
        return true;
    }
    }
    return false;
}

void RecordEncoder::Faults(const RecordTable& table, int row, std::vector<CellFinding>& out) {
    out.clear();
    const StoredRow cell(table, row, ends_);
    std::int64_t mark = 0;
    const std::string_view exportCell = cell(kColExport);
    if (!PlainWhole(exportCell, 18) && !ParseCellInt64(exportCell, mark))
        out.push_back({kColExport, CellFault::NotWholeNumber});
    // Most cells are in the forms decoded records have, which need no
    // conversion to be known good; the others are converted aside.
    RecordBuffer scratch;
    for (const Step& step : steps_) {
        const int column = kFirstFieldColumn + static_cast<int>(step.field);
        const std::string_view text = cell(column);
        if (Plain(step, text)) continue;
        const CellFault fault = Convert(step, text, scratch.data() + step.offset);
        if (fault != CellFault::None) out.push_back({column, fault});
    }
}

void RecordEncoder::Build(const RecordTable& table, int row, RecordBuffer& record) {
    BuildAt(table, row, record.data(), record.size());
}

void RecordEncoder::BuildAt(const RecordTable& table, int row, unsigned char* out,
                            std::size_t size) {
    std::memset(out, 0, size);
    Write(table, row, out);
}

void RecordEncoder::ConvertInto(const RecordTable& table, int row, RecordBuffer& record) {
    RecordBuffer out = record;
    Write(table, row, out.data());
    record = out;
}

void ConvertRowInto(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                    char decimalSeparator, RecordBuffer& record, Lang lang,
                    const RowConversion& how) {
    RecordEncoder(fields, decimalSeparator, lang, how).ConvertInto(table, row, record);
}

void BuildRecord(const RecordTable& table, int row, const std::vector<FieldDef>& fields,
                 char decimalSeparator, RecordBuffer& record, Lang lang) {
    RecordEncoder(fields, decimalSeparator, lang).Build(table, row, record);
}

} // namespace orvane
