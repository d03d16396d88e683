#include "exchange/GeoJsonFile.h"

#include "database/RecordConversion.h"
#include "database/TableWriter.h"
#include "exchange/MapPlaces.h"
#include "platform/Cp1252.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvane {

namespace {

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

class GeoJsonEncoder {
  public:
    GeoJsonEncoder(const SessionState& s, UserInteraction& ui)
        : t_(s.Table), fields_(s.Fields()), separator_(s.DecimalSeparator()), places_(s), ui_(ui) {
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

    void Begin(BinaryFile&) { pending_.append("{\"type\":\"FeatureCollection\",\"features\":["); }

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
        block_.WriteWhenFull(file);
    }

    void End(BinaryFile& file, int) {
        pending_.append("\n]}\n");
        block_.Write(file);
    }
    void Committed() { places_.WarnPlaceless(ui_); }

  private:
    // A Point, a LineString through a runway's ends, or null where no
    // place reads (or one is no place).
    void AppendGeometry(int row) {
        const std::vector<GeoPoint>& places = places_.Of(cells_, row);
        if (places.empty()) {
            pending_.append("null");
            return;
        }
        const bool line = places.size() > 1;
        pending_.append(line ? "{\"type\":\"LineString\",\"coordinates\":["
                             : "{\"type\":\"Point\",\"coordinates\":");
        for (std::size_t i = 0; i < places.size(); ++i) {
            pending_.append(i > 0 ? ",[" : "[");
            AppendDegrees(pending_, places[i].lon);
            pending_.push_back(',');
            AppendDegrees(pending_, places[i].lat);
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

    const RecordTable& t_;
    const std::vector<FieldDef>& fields_;
    char separator_;
    MapPlaces places_;
    std::vector<std::string> keys_; // each "name": ready to append
    std::vector<std::string_view> cells_;
    BlockText block_;
    std::string& pending_ = block_.Text();
    std::string utf8_;
    bool first_ = true;
    UserInteraction& ui_;
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
