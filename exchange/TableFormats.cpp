#include "exchange/TableFormats.h"

#include "database/DbdFile.h"
#include "database/Headers.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "exchange/GeoJsonFile.h"
#include "platform/BinaryFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <array>

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

// The header's Name up to its first dot, upper case: "AIRPORT.DBD" -> "AIRPORT".
std::string DataTypeOfDex(const std::string& path) {
    BinaryFile file;
    if (!file.TryOpen(path, OpenMode::Read) || file.Size() < DexHeader::kSize) return {};
    DexHeader header;
    file.ReadExact(header.bytes.data(), DexHeader::kSize);
    const std::string name = ToUpperAscii(header.Name());
    return name.substr(0, name.find('.'));
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
// simulator version's archives first (OpenFilterFor).
constexpr std::array kFormats{
    TableFormat{TableFormatId::Dbd, "DBD", ".dbd", &txt::OpenDbdFilter, &txt::SaveDbdFilter, true,
                ReadDbd, SaveDbd, false, DataTypeOfFile},
    TableFormat{TableFormatId::Archive, "POD/EPD", ".pod;.epd", &txt::OpenFilterFly2, nullptr,
                false, ReadArchive, nullptr, false, DataTypeOfFile},
    TableFormat{TableFormatId::Dex, "DEX", ".dex", &txt::DexOpenFilter, &txt::DexSaveFilter, true,
                ReadDex, ExportDex, true, DataTypeOfDex},
    TableFormat{TableFormatId::Csv, "CSV", ".csv", &txt::CsvOpenFilter, &txt::CsvSaveFilter, true,
                ReadCsv, ExportCsv, true, DataTypeOfCsv},
    TableFormat{TableFormatId::GeoJson, "GeoJSON", ".geojson", nullptr, &txt::GeoJsonSaveFilter,
                false, nullptr, ExportGeoJson, true, NoDataType},
};

} // namespace

std::string TableFormat::DefaultSuffix() const {
    return std::string(extensions.substr(1, extensions.find(';') - 1));
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

std::string DataTypeOfTableFile(const std::string& path) {
    const TableFormat* format = FormatOfPath(path);
    return format ? format->dataTypeOf(path) : std::string();
}

} // namespace orvane
