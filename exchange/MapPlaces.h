// What the map exports (GeoJSON, KML) share: each row's places as the map
// draws them, one warning for the rows whose coordinates read as numbers but
// are no place, and the text gathered and written in large blocks.
#pragma once

#include "database/SessionState.h"
#include "platform/BinaryFile.h"
#include "platform/UserInteraction.h"
#include "table/CoordinatePairs.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class MapPlaces {
  public:
    explicit MapPlaces(const SessionState& s);
    // The places of a row (cells from column 0): one is a point, more (a
    // runway's two ends) a line through them. Empty when none reads, or
    // when a coordinate reads but is no place (beyond the poles, or too
    // large to be finite): the row is then counted for the warning.
    const std::vector<GeoPoint>& Of(const std::vector<std::string_view>& cells, int row);
    // One warning naming the first row without its place, once the file is
    // in place.
    void WarnPlaceless(UserInteraction& ui) const;

  private:
    std::vector<CoordinateFields> pairs_;
    char separator_;
    std::vector<GeoPoint> places_;
    int placeless_ = 0, firstPlaceless_ = 0;
};

// Text gathered in blocks of about a megabyte before it is written.
class BlockText {
  public:
    BlockText();
    std::string& Text() { return text_; }
    // Writes the text once a block is full.
    void WriteWhenFull(BinaryFile& file);
    void Write(BinaryFile& file);

  private:
    std::string text_;
};

// Degrees to a billionth (a tenth of a millimetre): the cells' own
// precision, without the last bits the conversion from seconds adds.
void AppendDegrees(std::string& out, double degrees);

} // namespace orvane
