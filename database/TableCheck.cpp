#include "database/TableCheck.h"

#include "database/RecordConversion.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "table/TableText.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

namespace orvane {

namespace {

bool TitleHas(const FieldDef& f, const char* word) {
    return ToLowerAscii(f.Title).find(word) != std::string::npos;
}

FindingKind KindOf(CellFault fault) {
    switch (fault) {
    case CellFault::NotNumber:
        return FindingKind::NotNumber;
    case CellFault::TooLong:
        return FindingKind::TooLong;
    case CellFault::ByteRange:
        return FindingKind::ByteRange;
    default:
        return FindingKind::NotWholeNumber;
    }
}

// The degrees of a value outside low...high, with as many decimals as it
// takes for the text to read outside them too ("-90.00001°", not "-90.0000°").
std::string DegreesBeyond(double degrees, double low, double high, char decimalSeparator) {
    int decimals = 4;
    for (; decimals < 12; ++decimals) {
        const double unit = std::pow(10.0, decimals);
        const double shown = std::round(degrees * unit) / unit;
        if (shown < low || shown > high) break;
    }
    return FormatFixed(degrees, decimals, decimalSeparator) + "°";
}

// Whether a coordinate cell of seconds lies outside low...high degrees,
// told from its whole seconds alone when they are far enough from the
// limits (most cells): 1 outside, 0 inside, -1 when it takes the exact
// value (a text of another form, or one near a limit).
int OutsideBySeconds(std::string_view text, char decimalSeparator, double low, double high) {
    const char* p = text.data();
    const char* const end = p + text.size();
    if (p != end && *p == '+') ++p;
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t whole = 0;
    int digits = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        if (++digits > 15) return -1;
        whole = whole * 10 + static_cast<unsigned>(*p - '0');
    }
    if (p != end && *p == decimalSeparator) ++p;
    for (; p != end; ++p)
        if (*p < '0' || *p > '9') return -1;
    // The value lies within [least, most]; a second of margin keeps the
    // division by 3600 from mattering.
    const double w = static_cast<double>(whole);
    const double least = negative ? -(w + 1) : w, most = negative ? -w : w + 1;
    if (least > low * 3600 + 1 && most < high * 3600 - 1) return 0;
    if (most < low * 3600 - 1 || least > high * 3600 + 1) return 1;
    return -1;
}

// Whether a long text holds a byte a CSV file cannot: one vectorised search
// per byte value, far quicker than a byte loop over a whole row's texts.
bool HoldsCsvUnwritable(std::string_view text) {
    for (const char c : {';', '\r', '\n', '\0'})
        if (std::memchr(text.data(), c, text.size())) return true;
    return false;
}

} // namespace

std::size_t CsvUnwritableAt(std::string_view text) {
    // One pass over the bytes (find_first_of would search the set per byte):
    // the check runs it over every cell of the table.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c <= ';' && (c == ';' || c == '\r' || c == '\n' || c == '\0')) return i;
    }
    return std::string_view::npos;
}

const BiText& CsvCharacterName(char c) {
    switch (c) {
    case ';':
        return txt::CsvCharSemicolon;
    case '\r':
        return txt::CsvCharCr;
    case '\n':
        return txt::CsvCharLf;
    default:
        return txt::CsvCharNul;
    }
}

int KeyColumn(const std::vector<FieldDef>& fields, std::string_view dataType) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (TitleHas(fields[i], "unique")) return kFirstFieldColumn + static_cast<int>(i);
    // Runways, frequencies and ILS share their airport's key and code; only
    // airports own one. The airport key first: small fields have no ICAO code.
    if (dataType != "AIRPORT") return -1;
    for (const char* word : {"key", "icao", "oaci"})
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (TitleHas(fields[i], word)) return kFirstFieldColumn + static_cast<int>(i);
    return -1;
}

void TableChecker::CheckAll(const RecordTable& table, const std::vector<FieldDef>& fields,
                            std::string_view dataType, char decimalSeparator) {
    fields_ = fields;
    dataType_ = dataType;
    decimalSeparator_ = decimalSeparator;
    // The coordinate fields: D fields whose title names one of the words
    // (both words make a latitude, as in the hints).
    latitudes_.clear();
    longitudes_.clear();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].Type != 'D') continue;
        const int col = kFirstFieldColumn + static_cast<int>(i);
        if (TitleHas(fields_[i], "latitude"))
            latitudes_.push_back(col);
        else if (TitleHas(fields_[i], "longitude"))
            longitudes_.push_back(col);
    }
    keyColumn_ = KeyColumn(fields_, dataType_);
    const int rows = std::max(table.RowCount(), 1);
    findings_.clear();
    keyOfRow_.assign(static_cast<std::size_t>(rows), -1);
    holders_.clear();
    freeHolders_.clear();
    slots_.clear();
    usedSlots_ = 0;
    if (keyColumn_ >= 0) {
        // Room for every row's key without growing.
        holders_.reserve(static_cast<std::size_t>(rows));
        std::size_t size = 16;
        while (size < 2 * static_cast<std::size_t>(rows) + 2)
            size *= 2;
        slots_.assign(size, Slot{});
    }
    // Rows in order: the first row of a key is indexed before its repeats
    // are checked.
    RecordEncoder encoder(fields_, decimalSeparator_, Lang::English);
    std::vector<CellFinding> faults;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (keyColumn_ >= 0) Index(row, TrimCell(table.Cell(keyColumn_, row)));
        CheckRow(table, row, encoder, faults, findings_);
    }
}

void TableChecker::RecheckRows(const RecordTable& table, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(keyOfRow_.size()) - 1);
    if (first > last) return;
    // Keys first: the rows that held a changed row's old key or hold its new
    // one may have changed which of them comes first.
    std::vector<int> others;
    const auto holders = [&](std::string_view key) {
        if (key.empty()) return;
        if (const int e = FindKey(key, std::hash<std::string_view>{}(key)); e >= 0) {
            const KeyHolders& h = holders_[static_cast<std::size_t>(e)];
            others.push_back(h.first);
            others.insert(others.end(), h.more.begin(), h.more.end());
        }
    };
    for (int row = first; keyColumn_ >= 0 && row <= last; ++row) {
        const std::string_view key = TrimCell(table.Cell(keyColumn_, row));
        const int old = keyOfRow_[static_cast<std::size_t>(row)];
        if (old >= 0 ? holders_[static_cast<std::size_t>(old)].key == key : key.empty()) continue;
        if (old >= 0) holders(holders_[static_cast<std::size_t>(old)].key);
        holders(key);
        Unindex(row);
        Index(row, key);
    }
    RecordEncoder encoder(fields_, decimalSeparator_, Lang::English);
    std::vector<CellFinding> faults;
    std::vector<Finding> found;
    for (int row = first; row <= last; ++row)
        CheckRow(table, row, encoder, faults, found);
    ReplaceRows(first, last, found);
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());
    for (int row : others) {
        if (row >= first && row <= last) continue;
        found.clear();
        CheckRow(table, row, encoder, faults, found);
        ReplaceRows(row, row, found);
    }
}

void TableChecker::ReplaceRows(int first, int last, const std::vector<Finding>& found) {
    const auto from = std::lower_bound(findings_.begin(), findings_.end(), first,
                                       [](const Finding& f, int row) { return f.row < row; });
    const auto to = std::upper_bound(from, findings_.end(), last,
                                     [](int row, const Finding& f) { return row < f.row; });
    // Overwrite what both have, then grow or shrink by the difference.
    const std::size_t had = static_cast<std::size_t>(to - from);
    const std::size_t at = static_cast<std::size_t>(from - findings_.begin());
    const std::size_t common = std::min(had, found.size());
    std::copy(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(common),
              findings_.begin() + static_cast<std::ptrdiff_t>(at));
    const auto tail = findings_.begin() + static_cast<std::ptrdiff_t>(at + common);
    if (had > common)
        findings_.erase(tail, tail + static_cast<std::ptrdiff_t>(had - common));
    else
        findings_.insert(tail, found.begin() + static_cast<std::ptrdiff_t>(common), found.end());
}

int TableChecker::FindKey(std::string_view key, std::size_t hash) const {
    if (slots_.empty()) return -1;
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash);
    // Ends at a slot never used: at most half of them are.
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.holder == -1) return -1;
        if (slot.holder >= 0 && slot.hash == tag &&
            holders_[static_cast<std::size_t>(slot.holder)].key == key)
            return slot.holder;
    }
}

void TableChecker::GrowSlots() {
    const std::size_t live = holders_.size() - freeHolders_.size();
    std::size_t size = 16;
    while (size < 4 * (live + 1))
        size *= 2;
    slots_.assign(size, Slot{});
    usedSlots_ = 0;
    for (std::size_t e = 0; e < holders_.size(); ++e) {
        if (holders_[e].first < 0) continue;
        const std::size_t hash = std::hash<std::string_view>{}(holders_[e].key);
        std::size_t i = hash & (size - 1);
        while (slots_[i].holder != -1)
            i = (i + 1) & (size - 1);
        slots_[i] = {static_cast<int>(e), static_cast<std::uint32_t>(hash)};
        ++usedSlots_;
    }
}

void TableChecker::Unindex(int row) {
    int& entry = keyOfRow_[static_cast<std::size_t>(row)];
    if (entry < 0) return;
    const int e = entry;
    entry = -1;
    KeyHolders& h = holders_[static_cast<std::size_t>(e)];
    if (h.first != row) {
        h.more.erase(std::lower_bound(h.more.begin(), h.more.end(), row));
    } else if (h.more.empty()) {
        // No row holds the key any more: its slot is marked as used before,
        // so that the keys placed after it are still found.
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = std::hash<std::string_view>{}(h.key) & mask;
        while (slots_[i].holder != e)
            i = (i + 1) & mask;
        slots_[i].holder = -2;
        h.first = -1;
        freeHolders_.push_back(e);
    } else {
        h.first = h.more.front();
        h.more.erase(h.more.begin());
    }
}

void TableChecker::Index(int row, std::string_view key) {
    if (key.empty()) return;
    const std::size_t hash = std::hash<std::string_view>{}(key);
    int e = FindKey(key, hash);
    if (e < 0) {
        if (2 * (usedSlots_ + 1) > slots_.size()) GrowSlots();
        if (!freeHolders_.empty()) {
            e = freeHolders_.back();
            freeHolders_.pop_back();
            holders_[static_cast<std::size_t>(e)].key.assign(key);
            holders_[static_cast<std::size_t>(e)].more.clear();
        } else {
            e = static_cast<int>(holders_.size());
            holders_.push_back({std::string(key), 0, {}});
        }
        holders_[static_cast<std::size_t>(e)].first = row;
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i].holder >= 0)
            i = (i + 1) & mask;
        if (slots_[i].holder == -1) ++usedSlots_;
        slots_[i] = {e, static_cast<std::uint32_t>(hash)};
    } else {
        KeyHolders& h = holders_[static_cast<std::size_t>(e)];
        if (row < h.first) {
            h.more.insert(h.more.begin(), h.first);
            h.first = row;
        } else {
            h.more.insert(std::lower_bound(h.more.begin(), h.more.end(), row), row);
        }
    }
    keyOfRow_[static_cast<std::size_t>(row)] = e;
}

void TableChecker::CheckRow(const RecordTable& table, int row, RecordEncoder& encoder,
                            std::vector<CellFinding>& faults, std::vector<Finding>& out) const {
    const std::size_t start = out.size();
    encoder.Faults(table, row, faults);
    for (const CellFinding& f : faults)
        out.push_back({row, f.column, KindOf(f.fault)});
    const auto range = [&](const std::vector<int>& cols, double low, double high,
                           FindingKind kind) {
        for (int col : cols) {
            const std::string_view text = table.Cell(col, row);
            int outside = OutsideBySeconds(text, decimalSeparator_, low, high);
            if (outside < 0) {
                double v = 0;
                if (!ParseCellDouble(text, decimalSeparator_, v))
                    continue; // already found as not a number
                outside = v / 3600 < low || v / 3600 > high;
            }
            if (outside) out.push_back({row, col, kind});
        }
    };
    range(latitudes_, -90, 90, FindingKind::LatitudeRange);
    range(longitudes_, -180, 360, FindingKind::LongitudeRange);
    if (const int key = keyOfRow_[static_cast<std::size_t>(row)]; key >= 0) {
        const int firstRow = holders_[static_cast<std::size_t>(key)].first;
        if (firstRow != row) out.push_back({row, keyColumn_, FindingKind::DuplicateKey, firstRow});
    } else if (keyColumn_ >= 0) {
        out.push_back({row, keyColumn_, FindingKind::EmptyKey});
    }
    // A cell a CSV export would refuse, unless it is already found: the
    // row's texts at once first, cell by cell only when they hold one.
    rowEnds_.resize(static_cast<std::size_t>(std::max(table.ColumnCount(), 0)));
    const std::string_view texts = table.RowTexts(row, rowEnds_.data(), rowEnds_.size());
    const std::size_t flagsEnd = kColSuppr > 0 ? rowEnds_[std::size_t(kColSuppr) - 1] : 0;
    if (HoldsCsvUnwritable(texts.substr(std::min<std::size_t>(flagsEnd, texts.size())))) {
        for (int col = kColSuppr; col < table.ColumnCount(); ++col) {
            if (CsvUnwritableAt(table.Cell(col, row)) == std::string_view::npos) continue;
            if (std::none_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
                             [col](const Finding& f) { return f.column == col; }))
                out.push_back({row, col, FindingKind::CsvUnwritable});
        }
    }
    // Column order; a row has a few findings at most, and those of one cell
    // keep their order.
    for (std::size_t i = start + 1; i < out.size(); ++i)
        for (std::size_t j = i; j > start && out[j].column < out[j - 1].column; --j)
            std::swap(out[j], out[j - 1]);
}

std::vector<Finding> CheckTable(const RecordTable& table, const std::vector<FieldDef>& fields,
                                std::string_view dataType, char decimalSeparator) {
    TableChecker checker;
    checker.CheckAll(table, fields, dataType, decimalSeparator);
    return checker.Findings();
}

std::string FindingText(const Finding& finding, const RecordTable& table,
                        const std::vector<FieldDef>& fields, char decimalSeparator, Lang lang) {
    const int field = finding.column - kFirstFieldColumn;
    const std::string title = field >= 0 && field < static_cast<int>(fields.size())
                                  ? Cp1252ToUtf8(fields[static_cast<std::size_t>(field)].Title)
                                  : Cp1252ToUtf8(table.Cell(finding.column, 0));
    // A long cell is quoted by its start and its length.
    const std::string cell =
        FormatArgs("%s", {QuotedValue(table.Cell(finding.column, finding.row))}, lang);
    std::string what;
    switch (finding.kind) {
    case FindingKind::NotNumber:
        what = Format(txt::CheckNotNumber.In(lang), cell.c_str());
        break;
    case FindingKind::NotWholeNumber:
        what = Format(txt::CheckNotWhole.In(lang), cell.c_str());
        break;
    case FindingKind::TooLong:
        what = Format(txt::CheckTooLong.In(lang), cell.c_str(),
                      field >= 0 ? fields[static_cast<std::size_t>(field)].Width : 0);
        break;
    case FindingKind::ByteRange:
        what = Format(txt::CheckByteRange.In(lang), cell.c_str());
        break;
    case FindingKind::LatitudeRange:
    case FindingKind::LongitudeRange: {
        double v = 0;
        ParseCellDouble(table.Cell(finding.column, finding.row), decimalSeparator, v);
        const std::string degrees = finding.kind == FindingKind::LatitudeRange
                                        ? DegreesBeyond(v / 3600, -90, 90, decimalSeparator)
                                        : DegreesBeyond(v / 3600, -180, 360, decimalSeparator);
        what = Format(
            (finding.kind == FindingKind::LatitudeRange ? txt::CheckLatitude : txt::CheckLongitude)
                .In(lang),
            degrees.c_str());
        break;
    }
    case FindingKind::DuplicateKey:
        what = Format(txt::CheckDuplicate.In(lang), cell.c_str(), finding.firstRow);
        break;
    case FindingKind::EmptyKey:
        what = txt::CheckEmptyKey.In(lang);
        break;
    case FindingKind::CsvUnwritable: {
        const std::string_view raw = table.Cell(finding.column, finding.row);
        const std::size_t at = CsvUnwritableAt(raw);
        what = Format(txt::CheckCsvUnwritable.In(lang), EscapeControls(cell).c_str(),
                      CsvCharacterName(at < raw.size() ? raw[at] : '\0').In(lang));
        break;
    }
    }
    return Format(txt::CheckLine.In(lang), finding.row, title.c_str(), what.c_str());
}

} // namespace orvane
