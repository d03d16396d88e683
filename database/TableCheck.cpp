#include "database/TableCheck.h"

#include "database/RecordConversion.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

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

} // namespace

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
    byRow_.assign(static_cast<std::size_t>(rows), {});
    keyOfRow_.assign(static_cast<std::size_t>(rows), {});
    rowsOfKey_.clear();
    count_ = 0;
    flatCurrent_ = false;
    // Rows in order: the first row of a key is indexed before its repeats
    // are checked.
    RecordEncoder encoder(fields_, decimalSeparator_, Lang::English);
    std::vector<CellFinding> faults;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (keyColumn_ >= 0) Index(row, std::string(TrimCell(table.Cell(keyColumn_, row))));
        CheckRow(table, row, encoder, faults);
    }
}

void TableChecker::RecheckRows(const RecordTable& table, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(byRow_.size()) - 1);
    if (first > last) return;
    std::vector<int> rows;
    for (int row = first; row <= last; ++row) {
        rows.push_back(row);
        if (keyColumn_ < 0) continue;
        std::string key(TrimCell(table.Cell(keyColumn_, row)));
        const std::string& old = keyOfRow_[static_cast<std::size_t>(row)];
        if (key == old) continue;
        // The rows that held the old key or hold the new one may have
        // changed which of them comes first.
        for (const std::string* k : {&old, static_cast<const std::string*>(&key)})
            if (auto it = rowsOfKey_.find(*k); it != rowsOfKey_.end())
                rows.insert(rows.end(), it->second.begin(), it->second.end());
        Unindex(row);
        Index(row, std::move(key));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    RecordEncoder encoder(fields_, decimalSeparator_, Lang::English);
    std::vector<CellFinding> faults;
    for (int row : rows)
        CheckRow(table, row, encoder, faults);
    flatCurrent_ = false;
}

void TableChecker::Unindex(int row) {
    std::string& key = keyOfRow_[static_cast<std::size_t>(row)];
    if (key.empty()) return;
    if (auto it = rowsOfKey_.find(key); it != rowsOfKey_.end()) {
        std::vector<int>& holders = it->second;
        holders.erase(std::lower_bound(holders.begin(), holders.end(), row));
        if (holders.empty()) rowsOfKey_.erase(it);
    }
    key.clear();
}

void TableChecker::Index(int row, std::string key) {
    if (key.empty()) return;
    std::vector<int>& holders = rowsOfKey_[key];
    holders.insert(std::lower_bound(holders.begin(), holders.end(), row), row);
    keyOfRow_[static_cast<std::size_t>(row)] = std::move(key);
}

void TableChecker::CheckRow(const RecordTable& table, int row, RecordEncoder& encoder,
                            std::vector<CellFinding>& faults) {
    std::vector<Finding>& found = byRow_[static_cast<std::size_t>(row)];
    count_ -= found.size();
    found.clear();
    encoder.Faults(table, row, faults);
    for (const CellFinding& f : faults)
        found.push_back({row, f.column, KindOf(f.fault)});
    const auto range = [&](const std::vector<int>& cols, double low, double high,
                           FindingKind kind) {
        for (int col : cols) {
            double v = 0;
            if (!ParseCellDouble(table.Cell(col, row), decimalSeparator_, v))
                continue; // already found as not a number
            if (v / 3600 < low || v / 3600 > high) found.push_back({row, col, kind});
        }
    };
    range(latitudes_, -90, 90, FindingKind::LatitudeRange);
    range(longitudes_, -180, 360, FindingKind::LongitudeRange);
    if (keyColumn_ >= 0) {
        const std::string& key = keyOfRow_[static_cast<std::size_t>(row)];
        if (key.empty()) {
            found.push_back({row, keyColumn_, FindingKind::EmptyKey});
        } else if (const int firstRow = rowsOfKey_.find(key)->second.front(); firstRow != row) {
            found.push_back({row, keyColumn_, FindingKind::DuplicateKey, firstRow});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Finding& a, const Finding& b) { return a.column < b.column; });
    count_ += found.size();
}

const std::vector<Finding>& TableChecker::Findings() const {
    if (!flatCurrent_) {
        flat_.clear();
        flat_.reserve(count_);
        for (const std::vector<Finding>& row : byRow_)
            flat_.insert(flat_.end(), row.begin(), row.end());
        flatCurrent_ = true;
    }
    return flat_;
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
    const std::string cell = Cp1252ToUtf8(table.Cell(finding.column, finding.row));
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
    }
    return Format(txt::CheckLine.In(lang), finding.row, title.c_str(), what.c_str());
}

} // namespace orvane
