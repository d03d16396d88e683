#include "database/AirportLookup.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr const char* kIndexName = "DATABASE\\APRTICAO.DBI";
constexpr const char* kDbdName = "DATABASE\\AIRPORT.DBD";
constexpr std::size_t kKeyLength = 5;
constexpr std::size_t kPositionAt = 5;
constexpr std::size_t kMinRowLength = kPositionAt + 4;
constexpr std::size_t kTextAt = 4; // after the two 16-bit marks
constexpr std::size_t kTextLength = 8;

} // namespace

std::string NormaliseIcaoCode(std::string_view code) {
    return ToUpperAscii(code);
}

std::string AirportArchivePath(const SessionState& s) {
    const char* name = s.SimulatorVersion == 1   ? "Airport.EPD"
                       : s.SimulatorVersion == 2 ? "Airport.POD"
                                                 : nullptr;
    if (!name) throw RefusedError(txt::NoSimulatorVersion);
    return ResolvePathCase(JoinPath(JoinPath(s.FlyDir, "system"), name));
}

std::optional<std::string> LookupAirport(const std::string& archivePath, std::string_view code,
                                         UserInteraction& ui) {
    ArchiveFile pod(archivePath, &ui); // closed when the lookup ends, whatever happens
    if (!pod.IsOpen()) throw FileError(txt::CannotOpenArchive, archivePath.c_str());
    pod.ReadHeader();
    pod.ReadDirectory();

    if (!pod.ReadIndex(kIndexName)) {
        ui.Show(MessageKind::Warning, MessageOf(txt::AirportDbdNotFound));
        return std::nullopt;
    }

    const std::string wanted = NormaliseIcaoCode(code);
    const std::size_t rows = static_cast<std::size_t>(pod.IndexRowCount());
    const std::size_t length = static_cast<std::size_t>(pod.IndexRowLength());
    if (rows > 0 && length < kMinRowLength)
        throw FormatError(txt::IcaoBadRowLength, archivePath.c_str(), static_cast<int>(length));
    std::optional<std::size_t> found;
    std::uint32_t position = 0;
    // ReadIndex sized the body to rows x length; every row read lies inside it.
    for (std::size_t r = 0; r < rows && (r + 1) * length <= pod.IndexBody.size(); ++r) {
        const unsigned char* row = pod.IndexBody.data() + r * length;
        const auto* key = reinterpret_cast<const char*>(row);
        const std::string_view keyText(
            key, static_cast<std::size_t>(std::find(key, key + kKeyLength, '\0') - key));
        if (keyText == wanted) {
            found = r;
            position = GetU32(row + kPositionAt);
            break;
        }
    }
    if (!found) {
        ui.Show(MessageKind::Warning, MessageOf(txt::IcaoNotFound, Cp1252ToUtf8(wanted)));
        return std::nullopt;
    }

    const int index = pod.FindEntry(kDbdName);
    const std::int64_t entryOffset = pod.ReadDbdHeader(kDbdName);
    if (entryOffset < 0) {
        // The EPD reader has said so already; the POD reader is silent.
        if (pod.Kind() == ArchiveKind::Pod)
            ui.Show(MessageKind::Warning, MessageOf(txt::EntryNotFound, kDbdName));
        return std::nullopt;
    }
    const ArchiveEntry& entry = pod.Entries()[static_cast<std::size_t>(index)];
    if (std::uint64_t(position) + kTextAt + kTextLength > entry.size)
        throw FormatError(txt::IcaoBadPosition, archivePath.c_str(), static_cast<int>(*found),
                          position, entry.size);

    char text[kTextLength] = {};
    pod.File().Seek(static_cast<std::uint64_t>(entryOffset));
    if (!pod.ReadRelative(std::int64_t(position) + std::int64_t(kTextAt), text, kTextLength))
        throw FileError(txt::AirportRecordUnreadable, archivePath, position, kDbdName);
    return std::string(text,
                       static_cast<std::size_t>(std::find(text, text + kTextLength, '\0') - text));
}

std::optional<std::string> LookupAirport(const SessionState& s, std::string_view code,
                                         UserInteraction& ui) {
    return LookupAirport(AirportArchivePath(s), code, ui);
}

} // namespace orvane
