#include "database/TableCheck.h"

#include "database/RecordConversion.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "table/TableText.h"
#include "table/ValueDisplay.h"

#include <algorithm>
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

} // namespace

std::size_t CsvUnwritableAt(std::string_view text) {
    static constexpr std::string_view kUnwritable(";\r\n\0", 4);
    return text.find_first_of(kUnwritable);
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

std::vector<Finding> CheckTable(const RecordTable& table, const std::vector<FieldDef>& fields,
                                std::string_view dataType, char decimalSeparator) {
    std::vector<Finding> findings;
    // The coordinate fields: D fields whose title names one of the words
    // (both words make a latitude, as in the hints).
    std::vector<int> latitudes, longitudes;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].Type != 'D') continue;
        const int col = kFirstFieldColumn + static_cast<int>(i);
        if (TitleHas(fields[i], "latitude"))
            latitudes.push_back(col);
        else if (TitleHas(fields[i], "longitude"))
            longitudes.push_back(col);
    }
    const int keyColumn = KeyColumn(fields, dataType);
    std::unordered_map<std::string_view, int> firstRowOfKey;

    RecordEncoder encoder(fields, decimalSeparator, Lang::English);
    std::vector<CellFinding> faults;
    std::vector<Finding> rowFindings;
    for (int row = 1; row < table.RowCount(); ++row) {
        rowFindings.clear();
        encoder.Faults(table, row, faults);
        for (const CellFinding& f : faults)
            rowFindings.push_back({row, f.column, KindOf(f.fault)});
        const auto range = [&](const std::vector<int>& cols, double low, double high,
                               FindingKind kind) {
            for (int col : cols) {
                double v = 0;
                if (!ParseCellDouble(table.Cell(col, row), decimalSeparator, v))
                    continue; // already found as not a number
                if (v / 3600 < low || v / 3600 > high) rowFindings.push_back({row, col, kind});
            }
        };
        range(latitudes, -90, 90, FindingKind::LatitudeRange);
        range(longitudes, -180, 360, FindingKind::LongitudeRange);
        if (keyColumn >= 0) {
            const std::string_view key = TrimCell(table.Cell(keyColumn, row));
            if (key.empty()) {
                rowFindings.push_back({row, keyColumn, FindingKind::EmptyKey});
            } else {
                auto [it, fresh] = firstRowOfKey.emplace(key, row);
                if (!fresh)
                    rowFindings.push_back({row, keyColumn, FindingKind::DuplicateKey, it->second});
            }
        }
        // A cell a CSV export would refuse, unless it is already found.
        for (int col = kColSuppr; col < table.ColumnCount(); ++col) {
            if (CsvUnwritableAt(table.Cell(col, row)) == std::string_view::npos) continue;
            if (std::none_of(rowFindings.begin(), rowFindings.end(),
                             [col](const Finding& f) { return f.column == col; }))
                rowFindings.push_back({row, col, FindingKind::CsvUnwritable});
        }
        std::stable_sort(rowFindings.begin(), rowFindings.end(),
                         [](const Finding& a, const Finding& b) { return a.column < b.column; });
        findings.insert(findings.end(), rowFindings.begin(), rowFindings.end());
    }
    return findings;
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
        const std::string degrees = FormatFixed(v / 3600, 4, decimalSeparator) + "°";
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
