#include "exchange/MapPlaces.h"

#include "settings/Texts.h"

#include <charconv>
#include <cmath>

namespace orvane {

namespace {

constexpr std::size_t kWriteBlock = 1 << 20;
// The places a row may give, as on the map.
constexpr std::size_t kMostPlaces = 255;

} // namespace

MapPlaces::MapPlaces(const SessionState& s)
    : pairs_(CoordinatePairsOf(s.Table)), separator_(s.DecimalSeparator()) {}

const std::vector<GeoPoint>& MapPlaces::Of(const std::vector<std::string_view>& cells, int row) {
    places_.clear();
    std::size_t outOfRange = 0;
    AppendRowPlaces(cells, pairs_, separator_, places_, kMostPlaces, &outOfRange);
    if (outOfRange > 0) {
        if (placeless_++ == 0) firstPlaceless_ = row;
        places_.clear();
    }
    return places_;
}

void MapPlaces::WarnPlaceless(UserInteraction& ui) const {
    if (placeless_ > 0)
        ui.Show(MessageKind::Warning,
                MessageOf(txt::GeoJsonRowsWithoutPlace, firstPlaceless_, placeless_));
}

BlockText::BlockText() {
    text_.reserve(kWriteBlock + 4096);
}

void BlockText::WriteWhenFull(BinaryFile& file) {
    if (text_.size() >= kWriteBlock) Write(file);
}

void BlockText::Write(BinaryFile& file) {
    if (!text_.empty()) file.Write(text_.data(), text_.size());
    text_.clear();
}

void AppendDegrees(std::string& out, double degrees) {
    char digits[32];
    const double rounded = std::round(degrees * 1e9) / 1e9;
    out.append(digits, std::to_chars(digits, digits + sizeof digits, rounded).ptr);
}

} // namespace orvane
