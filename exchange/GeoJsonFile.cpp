#include "exchange/GeoJsonFile.h"

#include "database/RecordConversion.h"
#include "database/TableWriter.h"
#include "platform/Cp1252.h"
#include "table/CoordinatePairs.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvane {

namespace {

// Features are gathered and written in blocks of about this size.
constexpr std::size_t kWriteBlock = 1 << 20;
// The places a row may give, as on the map.
constexpr std::size_t kMostPlaces = 255;

// A JSON string of UTF-8 text: quotes, backslashes and control characters
// escaped.
void AppendJsonString(std::string& out, std::string_view utf8) {
    out.push_back('"');
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out.append("\\u00");
            out.push_back(kHex[u >> 4]);
            out.push_back(kHex[u & 15]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void AppendNumber(std::string& out, double value) {
    char digits[32];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Degrees to a billionth (a tenth of a millimetre): the cells' own
// precision, without the last bits the conversion from seconds adds.
double Rounded(double degrees) {
    return std::round(degrees * 1e9) / 1e9;
}

class GeoJsonEncoder {
  public:
    GeoJsonEncoder(const SessionState& s, UserInteraction& ui)
        : t_(s.Table), fields_(s.Fields()), separator_(s.DecimalSeparator()),
          pairs_(CoordinatePairsOf(t_)), ui_(ui), lang_(s.Language_()) {
        // Property names: the fields' titles, a repeated one numbered so
        // that every name stays unique. Names are compared as they are, before
        // escaping: two titles are one JSON name exactly when they are equal.
        std::vector<std::string> names;
        for (std::size_t f = 0; f < fields_.size(); ++f) {
            std::string title = Cp1252ToUtf8(fields_[f].Title);
            if (title.empty()) title = Cp1252ToUtf8(fields_[f].Name);
            std::string name = title;
            for (int n = 2; std::find(names.begin(), names.end(), name) != names.end(); ++n)
                name = title + " " + std::to_string(n);
            std::string key;
            AppendJsonString(key, name);
            keys_.push_back(key + ":");
            names.push_back(std::move(name));
        }
    }

    void Begin(BinaryFile&) {
        pending_.reserve(kWriteBlock + 4096);
        pending_.append("{\"type\":\"FeatureCollection\",\"features\":[");
    }

    void Row(BinaryFile& file, int row) {
        pending_.append(first_ ? "\n" : ",\n");
        first_ = false;
        pending_.append("{\"type\":\"Feature\",\"geometry\":");
        t_.RowCells(row, cells_);
        AppendGeometry(row);
        pending_.append(",\"properties\":{");
        for (std::size_t f = 0; f < fields_.size(); ++f) {
            if (f > 0) pending_.push_back(',');
            pending_.append(keys_[f]);
            const std::size_t col = kFirstFieldColumn + f;
            AppendValue(fields_[f], col < cells_.size() ? cells_[col] : std::string_view());
        }
        pending_.append("}}");
        if (pending_.size() >= kWriteBlock) Flush(file);
    }

    void End(BinaryFile& file, int) {
        pending_.append("\n]}\n");
        Flush(file);
    }
    // Rows written without the place their coordinates would give: one
    // warning naming the first, once the file is in place.
    void Committed() {
        if (placeless_ > 0)
            ui_.ShowMessage(MessageKind::Warning, Format(txt::GeoJsonRowsWithoutPlace.In(lang_),
                                                         firstPlaceless_, placeless_));
    }

  private:
    // The row's places as the map shows them: one is a Point, more (a
    // runway's two ends) a LineString through them; none reads: null. A
    // coordinate that reads as a number but is no place (beyond the poles, or
    // too large to be finite) makes the whole geometry null.
    void AppendGeometry(int row) {
        places_.clear();
        std::size_t outOfRange = 0;
        AppendRowPlaces(cells_, pairs_, separator_, places_, kMostPlaces, &outOfRange);
        if (outOfRange > 0 && placeless_++ == 0) firstPlaceless_ = row;
        if (places_.empty() || outOfRange > 0) {
            pending_.append("null");
            return;
        }
        const bool line = places_.size() > 1;
        pending_.append(line ? "{\"type\":\"LineString\",\"coordinates\":["
                             : "{\"type\":\"Point\",\"coordinates\":");
        for (std::size_t i = 0; i < places_.size(); ++i) {
            const GeoPoint p = places_[i];
            pending_.append(i > 0 ? ",[" : "[");
            AppendNumber(pending_, Rounded(p.lon));
            pending_.push_back(',');
            AppendNumber(pending_, Rounded(p.lat));
            pending_.push_back(']');
        }
        pending_.append(line ? "]}" : "}");
    }

    // Numeric fields as JSON numbers, null when empty; a cell that does not
    // read as a number keeps its text, so that nothing of the table is lost.
    void AppendValue(const FieldDef& field, std::string_view cell) {
        const bool number = field.Type == 'D' || field.Type == 'I' || field.IsByte();
        if (number && cell.empty()) {
            pending_.append("null");
            return;
        }
        if (field.Type == 'D') {
            const auto value = ParseDecimal(cell, separator_);
            if (value && std::isfinite(*value)) return AppendNumber(pending_, *value);
        } else if (field.Type == 'I' || field.IsByte()) {
            std::int64_t value = 0;
            if (ParseCellInt64(cell, value)) return AppendNumber(pending_, value);
        }
        utf8_.clear();
        AppendCp1252AsUtf8(utf8_, cell);
        AppendJsonString(pending_, utf8_);
    }

    void Flush(BinaryFile& file) {
        if (!pending_.empty()) file.Write(pending_.data(), pending_.size());
        pending_.clear();
    }

    const RecordTable& t_;
    const std::vector<FieldDef>& fields_;
    char separator_;
    std::vector<CoordinateFields> pairs_;
    std::vector<GeoPoint> places_;
    std::vector<std::string> keys_; // each "name": ready to append
    std::vector<std::string_view> cells_;
    std::string pending_;
    std::string utf8_;
    bool first_ = true;
    UserInteraction& ui_;
    Lang lang_;
    int placeless_ = 0, firstPlaceless_ = 0;
};

} // namespace

int ExportGeoJson(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
                  BusyIndicator* busy, const ProgressFn& progress) {
    TableToWrite(s);
    GeoJsonEncoder encoder(s, ui);
    return WriteTableFile(s, {path, selectionOnly, ui, busy, progress},
                          {&txt::NoSelectedRecords, false}, encoder);
}

} // namespace orvane
