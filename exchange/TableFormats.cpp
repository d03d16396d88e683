#include "exchange/TableFormats.h"

#include "database/DbdFile.h"
#include "database/Headers.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "exchange/GeoJsonFile.h"
#include "exchange/KmlFile.h"
#include "platform/BinaryFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <array>
#include <vector>

namespace orvane {

namespace {

TableRead ReadDbd(SessionState& s, const std::string& path, const std::string& templateSource,
                  UserInteraction& ui, BusyIndicator* busy, const ProgressFn& progress) {
    return {OpenDbdFromDisk(s, path, templateSource, ui, busy, progress).loaded};
}

TableRead ReadArchive(SessionState& s, const std::string& path, const std::string& templateSource,
                      UserInteraction& ui, BusyIndicator* busy, const ProgressFn& progress) {
    return {OpenDbdFromArchive(s, path, templateSource, ui, busy, progress).loaded};
}

TableRead ReadDex(SessionState& s, const std::string& path, const std::string& templateSource,
                  UserInteraction& ui, BusyIndicator* busy, const ProgressFn& progress) {
    const ImportOutcome out =
        ImportDex(s, path, ImportMode::Open, ui, busy, templateSource, progress);
    return {out.tableChanged, out.converted};
}

TableRead ReadCsv(SessionState& s, const std::string& path, const std::string& templateSource,
                  UserInteraction& ui, BusyIndicator* busy, const ProgressFn& progress) {
    return {ImportCsv(s, path, ImportMode::Open, ui, busy, templateSource, progress).tableChanged};
}

std::string DataTypeOfDex(const std::string& path) {
    BinaryFile file;
    if (!file.TryOpen(path, OpenMode::Read) || file.Size() < DexHeader::kSize) return {};
    DexHeader header;
    file.ReadExact(header.bytes.data(), DexHeader::kSize);
    return DexDataType(header);
}

// Line 1 is the data type.
std::string DataTypeOfCsv(const std::string& path) {
    BinaryFile file;
    if (!file.TryOpen(path, OpenMode::Read)) return {};
    char head[64] = {};
    const std::string_view text(head, file.ReadSome(head, sizeof head));
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

// Calls f with each extension of a ";"-separated list.
template <class F> void ForEachExtension(std::string_view list, F f) {
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(';'), list.size());
        f(list.substr(0, end));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
}

std::string NoDataType(const std::string&) {
    return {};
}

// The archive's filter is the Fly! II one; the editor puts the current
// simulator version's archives first (OpenFilterFor). A template is read by
// the loads that need one, never as a table of its own.
constexpr std::array kFormats{
    TableFormat{TableFormatId::Dbd, "DBD", ".dbd", &txt::OpenDbdFilter, &txt::SaveDbdFilter, true,
                ReadDbd, nullptr, SaveDbd, ExportMenu::Own, true, DataTypeOfDbdFile},
    TableFormat{TableFormatId::Archive, "POD/EPD", ".pod;.epd", &txt::OpenFilterFly2, nullptr,
                false, ReadArchive, nullptr, nullptr, ExportMenu::None, false, UpperDataTypeOf},
    TableFormat{TableFormatId::Template, "DBT", ".dbt", nullptr, nullptr, false, nullptr, nullptr,
                nullptr, ExportMenu::None, false, UpperDataTypeOf},
    TableFormat{TableFormatId::Dex, "DEX", ".dex", &txt::DexOpenFilter, &txt::DexSaveFilter, true,
                ReadDex, ImportDex, ExportDex, ExportMenu::Own, false, DataTypeOfDex},
    TableFormat{TableFormatId::Csv, "CSV", ".csv", &txt::CsvOpenFilter, &txt::CsvSaveFilter, true,
                ReadCsv, ImportCsv, ExportCsv, ExportMenu::Own, true, DataTypeOfCsv},
    TableFormat{TableFormatId::GeoJson, "GeoJSON", ".geojson", nullptr, nullptr, false, nullptr,
                nullptr, ExportGeoJson, ExportMenu::Shared, true, NoDataType},
    TableFormat{TableFormatId::Kml, "KML", ".kml", nullptr, nullptr, false, nullptr, nullptr,
                ExportKml, ExportMenu::Shared, true, NoDataType},
};

} // namespace

std::string TableFormat::DefaultSuffix() const {
    return std::string(extensions.substr(1, extensions.find(';') - 1));
}

std::string TableFormat::SaveFilter(Lang lang) const {
    if (saveFilter) return saveFilter->In(lang);
    std::string patterns;
    ForEachExtension(extensions, [&](std::string_view e) {
        patterns.append(patterns.empty() ? "*" : ";*").append(e);
    });
    return Format(txt::FormatSaveFilter.In(lang), std::string(name).c_str(), patterns.c_str());
}

std::span<const TableFormat> TableFormats() {
    return kFormats;
}

const TableFormat& FormatById(TableFormatId id) {
    for (const TableFormat& f : kFormats)
        if (f.id == id) return f;
    return kFormats.front(); // every id has its row
}

const TableFormat* FormatOfPath(const std::string& path) {
    const std::string ext = ToLowerAscii(ExtensionOf(path));
    if (ext.size() < 2) return nullptr;
    for (const TableFormat& f : kFormats) {
        bool found = false;
        ForEachExtension(f.extensions, [&](std::string_view e) { found = found || e == ext; });
        if (found) return &f;
    }
    return nullptr;
}

bool IsFormat(const std::string& path, TableFormatId id) {
    const TableFormat* format = FormatOfPath(path);
    return format && format->id == id;
}

std::string ReadablePatterns() {
    std::string patterns;
    for (const TableFormat& f : kFormats) {
        if (!f.read) continue;
        ForEachExtension(f.extensions, [&](std::string_view e) {
            patterns.append(patterns.empty() ? "*" : ";*").append(e);
        });
    }
    return patterns;
}

namespace {

// The extensions of the formats that can, as a sentence: ".a, .b or .c".
template <class Can> std::string ExtensionsThat(Can can) {
    std::vector<std::string_view> all;
    for (const TableFormat& f : kFormats)
        if (can(f)) ForEachExtension(f.extensions, [&](std::string_view e) { all.push_back(e); });
    std::string text;
    for (std::size_t i = 0; i < all.size(); ++i)
        text.append(i == 0 ? "" : i + 1 == all.size() ? " or " : ", ").append(all[i]);
    return text;
}

} // namespace

std::string ReadableExtensions() {
    return ExtensionsThat([](const TableFormat& f) { return f.read != nullptr; });
}

std::string WritableExtensions() {
    return ExtensionsThat([](const TableFormat& f) { return f.write != nullptr; });
}

std::string DataTypeOfTableFile(const std::string& path) {
    const TableFormat* format = FormatOfPath(path);
    return format ? format->dataTypeOf(path) : std::string();
}

} // namespace orvane
