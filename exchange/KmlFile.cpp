#include "exchange/KmlFile.h"

#include "database/TableWriter.h"
#include "exchange/MapPlaces.h"
#include "platform/Cp1252.h"

namespace orvane {

namespace {

// UTF-8 text as XML character data or an attribute value: the markup
// characters escaped, and the control characters XML 1.0 cannot carry at
// all replaced (tab, line feed and carriage return stay, as references so
// that an attribute keeps them too).
void AppendXmlText(std::string& out, std::string_view utf8) {
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '"':
            out.append("&quot;");
            break;
        case '\'':
            out.append("&apos;");
            break;
        case '\t':
            out.append("&#9;");
            break;
        case '\n':
            out.append("&#10;");
            break;
        case '\r':
            out.append("&#13;");
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out.append("\xEF\xBF\xBD"); // U+FFFD
            else
                out.push_back(c);
        }
    }
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

class KmlEncoder {
  public:
    KmlEncoder(const SessionState& s, UserInteraction& ui)
        : t_(s.Table), fields_(s.Fields()), places_(s), label_(PlaceLabelColumn(t_)), ui_(ui) {
        for (const FieldDef& f : fields_) {
            std::string name = "<Data name=\"";
            AppendXmlText(name, Cp1252ToUtf8(f.Title.empty() ? f.Name : f.Title));
            dataNames_.push_back(name + "\"><value>");
        }
        pending_.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>");
        AppendUtf8(s.DataType);
        pending_.append("</name>\n");
    }

    void Begin(BinaryFile&) {}

    void Row(BinaryFile& file, int row) {
        t_.RowCells(row, cells_);
        pending_.append("<Placemark>");
        if (label_ >= 0) {
            pending_.append("<name>");
            AppendUtf8(Trimmed(Cell(std::size_t(label_))));
            pending_.append("</name>");
        }
        pending_.append("<ExtendedData>");
        for (std::size_t f = 0; f < fields_.size(); ++f) {
            pending_.append(dataNames_[f]);
            AppendUtf8(Cell(kFirstFieldColumn + f));
            pending_.append("</value></Data>");
        }
        pending_.append("</ExtendedData>");
        AppendGeometry(row);
        pending_.append("</Placemark>\n");
        block_.WriteWhenFull(file);
    }

    void End(BinaryFile& file, int) {
        pending_.append("</Document>\n</kml>\n");
        block_.Write(file);
    }

    void Committed() { places_.WarnPlaceless(ui_); }

  private:
    std::string_view Cell(std::size_t col) const {
        return col < cells_.size() ? cells_[col] : std::string_view();
    }

    void AppendUtf8(std::string_view cp1252) {
        utf8_.clear();
        AppendCp1252AsUtf8(utf8_, cp1252);
        AppendXmlText(pending_, utf8_);
    }

    // A Point, a LineString through a runway's ends, or no geometry where
    // no place reads (or one is no place).
    void AppendGeometry(int row) {
        const std::vector<GeoPoint>& places = places_.Of(cells_, row);
        if (places.empty()) return;
        const bool line = places.size() > 1;
        pending_.append(line ? "<LineString><coordinates>" : "<Point><coordinates>");
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (i > 0) pending_.push_back(' ');
            AppendDegrees(pending_, places[i].lon);
            pending_.push_back(',');
            AppendDegrees(pending_, places[i].lat);
        }
        pending_.append(line ? "</coordinates></LineString>" : "</coordinates></Point>");
    }

    const RecordTable& t_;
    const std::vector<FieldDef>& fields_;
    MapPlaces places_;
    int label_;
    std::vector<std::string> dataNames_; // each `<Data name="title"><value>`
    std::vector<std::string_view> cells_;
    BlockText block_;
    std::string& pending_ = block_.Text();
    std::string utf8_;
    UserInteraction& ui_;
};

} // namespace

int ExportKml(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy, const ProgressFn& progress) {
    TableToWrite(s);
    KmlEncoder encoder(s, ui);
    return WriteTableFile(s, {path, selectionOnly, ui, busy, progress},
                          {&txt::NoSelectedRecords, false}, encoder);
}

} // namespace orvane
