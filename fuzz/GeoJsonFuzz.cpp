// The GeoJSON export of any table: fields of any kind and title (quotes,
// backslashes, control characters, repeated titles), cells of any bytes, a
// latitude/longitude pair among them. The file must be strict JSON (RFC
// 8259: no NaN, no repeated name in an object), hold one Feature per row,
// and every coordinate must be a place: longitude within ±180, latitude
// within ±90.
#include "FuzzSupport.h"

#include "exchange/GeoJsonFile.h"
#include "platform/Errors.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace orvane;

namespace {

constexpr std::size_t kMostFields = 8;
constexpr std::size_t kMostRows = 16;

// A strict reader of JSON that keeps what the checks need: the features'
// geometries. Any departure from the grammar stops the run.
class StrictJson {
  public:
    explicit StrictJson(const std::string& text) : t_(text) {}

    struct Feature {
        bool nullGeometry = false;
        std::vector<double> coordinates; // lon, lat, lon, lat, ...
    };

    // The whole file: one FeatureCollection.
    std::vector<Feature> Collection() {
        std::vector<Feature> features;
        Value(0, &features);
        Blank();
        fuzz::Require(at_ == t_.size(), "GeoJSON: bytes after the collection");
        return features;
    }

  private:
    // depth 0: the collection, 1: its features array, 2: a feature,
    // 3: a geometry, deeper: anything.
    void Value(int depth, std::vector<Feature>* features, Feature* feature = nullptr) {
        Blank();
        fuzz::Require(at_ < t_.size(), "GeoJSON: a value is missing");
        const char c = t_[at_];
        if (c == '{') return Object(depth, features, feature);
        if (c == '[') return Array(depth, features, feature);
        if (c == '"') return (void)String();
        if (Word("null")) {
            if (depth == 3 && feature) feature->nullGeometry = true;
            return;
        }
        if (Word("true") || Word("false")) return;
        const double number = Number();
        if (feature && depth >= 4) feature->coordinates.push_back(number);
    }

    void Object(int depth, std::vector<Feature>* features, Feature* feature) {
        ++at_;
        std::set<std::string> names;
        Blank();
        if (Take('}')) return;
        do {
            Blank();
            fuzz::Require(at_ < t_.size() && t_[at_] == '"', "GeoJSON: a name is not a string");
            const std::string name = String();
            fuzz::Require(names.insert(name).second, "GeoJSON: a name repeats in an object");
            Blank();
            fuzz::Require(Take(':'), "GeoJSON: no ':' after a name");
            if (depth == 0 && name == "features") {
                Value(1, features);
            } else if (depth == 2 && name == "geometry") {
                Value(3, nullptr, feature);
            } else if (depth == 3 && name == "coordinates") {
                Value(4, nullptr, feature);
            } else {
                Value(depth >= 4 ? depth + 1 : 9, nullptr, nullptr);
            }
            Blank();
        } while (Take(','));
        fuzz::Require(Take('}'), "GeoJSON: an object does not end");
    }

    void Array(int depth, std::vector<Feature>* features, Feature* feature) {
        ++at_;
        Blank();
        if (Take(']')) return;
        do {
            if (depth == 1 && features) {
                features->emplace_back();
                Value(2, nullptr, &features->back());
            } else {
                Value(depth >= 4 ? depth + 1 : 9, nullptr, depth >= 4 ? feature : nullptr);
            }
            Blank();
        } while (Take(','));
        fuzz::Require(Take(']'), "GeoJSON: an array does not end");
    }

    std::string String() {
        ++at_;
        std::string out;
        for (;;) {
            fuzz::Require(at_ < t_.size(), "GeoJSON: a string does not end");
            const auto c = static_cast<unsigned char>(t_[at_++]);
            if (c == '"') return out;
            fuzz::Require(c >= 0x20, "GeoJSON: a control character inside a string");
            if (c != '\\') {
                out.push_back(static_cast<char>(c));
                continue;
            }
            fuzz::Require(at_ < t_.size(), "GeoJSON: an escape does not end");
            const char e = t_[at_++];
            if (e == 'u') {
                fuzz::Require(at_ + 4 <= t_.size(), "GeoJSON: a short \\u escape");
                for (int i = 0; i < 4; ++i)
                    fuzz::Require(std::isxdigit(static_cast<unsigned char>(t_[at_ + i])) != 0,
                                  "GeoJSON: a \\u escape that is not hexadecimal");
                out.append("\\u").append(t_, at_, 4);
                at_ += 4;
            } else {
                fuzz::Require(std::string_view("\"\\/bfnrt").find(e) != std::string_view::npos,
                              "GeoJSON: an unknown escape");
                out.push_back('\\');
                out.push_back(e);
            }
        }
    }

    // The grammar of RFC 8259: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    double Number() {
        const std::size_t from = at_;
        Take('-');
        fuzz::Require(at_ < t_.size() && Digit(), "GeoJSON: not a value");
        if (!Take('0'))
            while (Digit())
                ++at_;
        if (Take('.')) {
            fuzz::Require(Digit(), "GeoJSON: no digit after a decimal point");
            while (Digit())
                ++at_;
        }
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            fuzz::Require(Digit(), "GeoJSON: no digit in an exponent");
            while (Digit())
                ++at_;
        }
        const double value = std::strtod(t_.substr(from, at_ - from).c_str(), nullptr);
        fuzz::Require(std::isfinite(value), "GeoJSON: a number beyond a double");
        return value;
    }

    bool Digit() const { return at_ < t_.size() && t_[at_] >= '0' && t_[at_] <= '9'; }
    bool Take(char c) {
        if (at_ >= t_.size() || t_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool Word(std::string_view w) {
        if (t_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }
    void Blank() {
        while (at_ < t_.size() &&
               (t_[at_] == ' ' || t_[at_] == '\n' || t_[at_] == '\r' || t_[at_] == '\t'))
            ++at_;
    }

    const std::string& t_;
    std::size_t at_ = 0;
};

// A text of the input, up to a byte 0x1F (which ends it) or 512 bytes: room
// for a number beyond a double.
std::string Piece(fuzz::Input& in) {
    std::string text;
    for (std::size_t i = 0; i < 512 && !in.Rest().empty(); ++i) {
        const char c = static_cast<char>(in.Byte());
        if (c == '\x1f') break;
        text.push_back(c);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t shape = in.Byte();
    const std::size_t fieldCount = 1 + shape % kMostFields;
    const std::size_t rowCount = (shape >> 3) % (kMostRows + 1);
    const char separator = shape & 0x80 ? ',' : '.';

    // Fields: a kind, a title from the input; "Latitude" and "Longitude" in
    // turn when the kind byte asks for a place.
    std::vector<FieldDef> fields;
    int offset = 4;
    for (std::size_t f = 0; f < fieldCount; ++f) {
        const std::uint8_t kind = in.Byte();
        FieldDef field;
        field.Name = "f" + std::to_string(f);
        field.Type = "CDIC"[kind & 3];
        field.Width = field.Type == 'D' ? 8 : field.Type == 'I' ? 4 : (kind & 4 ? 1 : 12);
        field.Offset = offset;
        offset += field.Width;
        field.Title = kind & 8 ? (kind & 16 ? "Longitude" : "Latitude") : Piece(in);
        fields.push_back(std::move(field));
    }

    SessionState s;
    s.Language = "english";
    s.SimulatorVersion = 2;
    s.Display.decimalSeparator = separator;
    s.DataType = "NAVAID";
    s.CurrentPod = std::make_unique<ArchiveFile>();
    s.CurrentPod->Fields = fields;
    s.FieldCount = static_cast<int>(fields.size());
    ApplyColumns(s.Table, fields);
    s.Table.SetRowCount(static_cast<int>(rowCount) + 1);
    for (std::size_t r = 1; r <= rowCount; ++r) {
        s.Table.SetCell(kColNumber, static_cast<int>(r), std::to_string(r));
        for (std::size_t f = 0; f < fieldCount; ++f)
            s.Table.SetCell(kFirstFieldColumn + static_cast<int>(f), static_cast<int>(r),
                            Piece(in));
    }

    UnattendedInteraction ui;
    const std::string path = fuzz::RamFiles::Get().Folder() + "/out.geojson";
    int written = 0;
    try {
        written = ExportGeoJson(s, path, false, ui);
    } catch (const OrvaneError&) {
        return 0;
    }
    fuzz::Require(written == static_cast<int>(rowCount), "GeoJSON: a row was not written");
    if (rowCount == 0) return 0; // an empty table writes a collection without features
    const std::string json = fuzz::RamFiles::Read(path);
    const auto features = StrictJson(json).Collection();
    fuzz::Require(features.size() == rowCount, "GeoJSON: not one Feature per row");
    for (const auto& feature : features) {
        fuzz::Require(feature.nullGeometry != !feature.coordinates.empty(),
                      "GeoJSON: a geometry that is neither null nor coordinates");
        fuzz::Require(feature.coordinates.size() % 2 == 0, "GeoJSON: a coordinate without a pair");
        for (std::size_t i = 0; i + 1 < feature.coordinates.size(); i += 2) {
            fuzz::Require(std::abs(feature.coordinates[i]) <= 180,
                          "GeoJSON: a longitude beyond 180");
            fuzz::Require(std::abs(feature.coordinates[i + 1]) <= 90,
                          "GeoJSON: a latitude beyond 90");
        }
    }
    return 0;
}
