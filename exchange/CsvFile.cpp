#include "exchange/CsvFile.h"

#include "database/TableCheck.h"
#include "database/TableWriter.h"
#include "exchange/ExchangeShared.h"
#include "exchange/TableFormats.h"
#include "platform/ByteScan.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "table/TableText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace orvane {

namespace {

constexpr std::string_view kEol = "\r\n";

// Whether text holds a character CsvUnwritableAt finds (the export runs it
// over every row): ';' and bytes up to CR, then the exact search.
bool HoldsUnwritable(std::string_view text) {
    return HoldsLowByteOr(text, '\r', ';') && CsvUnwritableAt(text) != std::string_view::npos;
}

// The lines of a text, one at a time: each ends with LF, optionally
// preceded by CR; a last line without a line end is kept, and no empty line
// follows a final LF. No list of all lines is made: a file of many short
// lines costs no more than the rows it fills.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (start_ >= text_.size()) return false;
        const std::size_t end = std::min(text_.find('\n', start_), text_.size());
        line = text_.substr(start_, end - start_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start_ = end + 1;
        return true;
    }
    // How many lines Next() gives from the start.
    std::size_t Count() const {
        if (text_.empty()) return 0;
        const auto ends = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n'));
        return ends + (text_.back() == '\n' ? 0 : 1);
    }

  private:
    std::string_view text_;
    std::size_t start_ = 0;
};

// The CSV lines: the data type, the headings, then one line per row,
// gathered into blocks.
class CsvEncoder {
  public:
    CsvEncoder(const SessionState& s, bool selectionOnly)
        : t_(s.Table), fields_(s.Fields()), fieldCount_(s.FieldCount), dataType_(s.DataType),
          lang_(s.Language_()), selectionOnly_(selectionOnly) {}

    void Begin(BinaryFile& file) {
        std::string heading(dataType_);
        heading.append(kEol).append(";Export;");
        for (int i = 0; i < fieldCount_; ++i)
            heading.append(Title(kFirstFieldColumn + i)).append(" ; ");
        heading.append(kEol);
        char* at = block_.Reserve(heading.size());
        std::memcpy(at, heading.data(), heading.size());
        block_.Advance(file, at + heading.size());
        ends_.resize(static_cast<std::size_t>(kFirstFieldColumn + fieldCount_));
    }

    void Row(BinaryFile& file, int r) {
        // The row's cells from Suppr on lie back to back in its texts: one
        // scan finds a character the format cannot hold, then each cell is
        // copied as a block. The ends are held in locals: the bytes stored
        // below may alias anything, and members would be read again per cell.
        const std::uint32_t* ends = ends_.data();
        const std::size_t columns = ends_.size();
        const std::string_view texts = t_.RowTexts(r, ends_.data(), columns);
        const std::uint32_t first = ends[kColSuppr - 1];
        const std::uint32_t last = ends[columns - 1];
        if (HoldsUnwritable(texts.substr(first, last - first))) RefuseRow(r, texts);
        // The texts, a separator after each cell, the line end, and the
        // spill of a fixed-size copy.
        char* p = block_.Reserve((last - first) + columns + kEol.size() + 16);
        const char* rowTexts = texts.data();
        const std::size_t rowBytes = texts.size();
        for (std::size_t c = kColSuppr; c < columns; ++c) {
            p = CopyStoredCell(p, rowTexts, ends[c - 1], ends[c], rowBytes);
            *p++ = ';';
        }
        // Export all ends the line without a separator; the selection form
        // puts one after every field.
        if (!selectionOnly_ && fieldCount_ > 0) --p;
        std::memcpy(p, kEol.data(), kEol.size());
        block_.Advance(file, p + kEol.size());
    }

    void End(BinaryFile& file, int) { block_.Flush(file); }
    void Committed() {}

  private:
    std::string Title(int col) const {
        const int field = col - kFirstFieldColumn;
        return field >= 0 && static_cast<std::size_t>(field) < fields_.size()
                   ? fields_[static_cast<std::size_t>(field)].Title
                   : std::string(t_.Cell(col, 0));
    }

    // The format has no quoting: a text holding a separator or a line end
    // could not be read back as it was, so the export refuses the table,
    // naming the first such cell of the row.
    [[noreturn]] void RefuseRow(int r, std::string_view texts) const {
        for (std::size_t c = kColSuppr; c < ends_.size(); ++c) {
            const std::string_view text = texts.substr(ends_[c - 1], ends_[c] - ends_[c - 1]);
            const std::size_t at = CsvUnwritableAt(text);
            if (at != std::string_view::npos)
                throw RefusedError(txt::CsvUnwritableCell, r,
                                   Cp1252ToUtf8(Title(static_cast<int>(c))).c_str(),
                                   CsvCharacterName(text[at]));
        }
        throw std::logic_error("a row's cells hold what the row does not");
    }

    const RecordTable& t_;
    const std::vector<FieldDef>& fields_;
    int fieldCount_;
    const std::string& dataType_;
    Lang lang_;
    bool selectionOnly_;
    RowBlock block_;
    std::vector<std::uint32_t> ends_; // where each cell of a row ends
};

} // namespace

// ---------------------------------------------------------------------------
// Export

int ExportCsv(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy, const ProgressFn& progress) {
    CsvEncoder encoder(s, selectionOnly);
    return WriteTableFile(s, {path, selectionOnly, ui, busy, progress},
                          {&txt::NoSelectedRecord, false}, encoder);
}

// ---------------------------------------------------------------------------
// Import

std::vector<std::string_view> SplitCsvLine(std::string_view line, int fieldCount) {
    std::vector<std::string_view> pieces;
    SplitCsvLine(line, fieldCount, pieces);
    return pieces;
}

void SplitCsvLine(std::string_view line, int fieldCount, std::vector<std::string_view>& pieces) {
    pieces.clear();
    std::string_view rest = line;
    // Suppr and Export: a line without ";" leaves them empty.
    for (int k = 0; k < 2; ++k) {
        std::size_t pos = rest.find(';');
        if (pos == std::string_view::npos) {
            pieces.push_back(std::string_view());
        } else {
            pieces.push_back(rest.substr(0, pos));
            rest.remove_prefix(pos + 1);
        }
    }
    for (int k = 0; k < fieldCount + 3; ++k) {
        std::size_t pos = rest.find(';');
        if (pos == std::string_view::npos) {
            pieces.push_back(rest);
            break;
        }
        pieces.push_back(rest.substr(0, pos));
        rest.remove_prefix(pos + 1);
    }
}

ImportOutcome ImportCsv(SessionState& s, const std::string& path, ImportMode mode,
                        UserInteraction& ui, BusyIndicator* busy, const std::string& templateSource,
                        const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    ImportOutcome out;

    const ChosenFile chosen = ParseChosenFile(path, TableFormatId::Csv);
    if (!chosen.accepted) return out; // another extension: nothing happens
    s.WorkDir = chosen.folder.empty() ? s.WorkDir : chosen.folder;

    const std::vector<unsigned char> bytes = ReadWholeFile(path);
    LineReader lines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const std::size_t allLines = lines.Count();
    std::string_view line;
    const std::string typeText = lines.Next(line) ? std::string(line) : std::string();
    // Added to a table, a file without a type is data that does not match it.
    const bool add = mode == ImportMode::Add && !s.DataType.empty();
    if (typeText.empty() && !add) throw FormatError(txt::CsvNoDataType, path.c_str());
    // Line 2 holds the headings and is not read.
    lines.Next(line);
    const std::size_t rowLines = allLines - std::min<std::size_t>(2, allLines);
    // Rows are counted in int: more lines than that cannot be held anyway.
    constexpr int kMostRows = std::numeric_limits<int>::max() - 2;
    if (rowLines > static_cast<std::size_t>(kMostRows))
        throw OrvaneError(txt::NotEnoughMemory, kMostRows);
    const int lineCount = static_cast<int>(rowLines);

    LoadedTemplate loaded; // an open's new template and archive object
    if (add) {
        if (typeText != s.DataType || !s.CurrentPod) throw RefusedError(txt::AddedDataMismatch);
    } else {
        if (s.SimulatorVersion != 1 && s.SimulatorVersion != 2)
            throw RefusedError(txt::NoSimulatorVersion);
        loaded = LoadImportTemplate(s, typeText, templateSource, ui);
        if (!loaded.found) {
            FinishImportCounters(s, out);
            return out; // the table stays
        }
        loaded.pod->Dex.SetRecordSize(TemplateRecordEnd(loaded.info.Fields));
        out.definitions = MakeDefinitionPage(typeText, loaded.info, lang == Lang::English);
        out.templateLoaded = true;
    }

    const int fieldCount = add ? s.FieldCount : loaded.info.FieldCount;
    ImportRows rows(s.Table, add ? nullptr : &loaded.info.Fields, lineCount, lang);
    const int firstRow = rows.FirstRow();
    try {
        RecordTable& t = rows.Table();
        std::vector<std::string_view> cells(static_cast<std::size_t>(fieldCount) +
                                            kFirstFieldColumn);
        std::vector<std::string_view> pieces;
        char number[16];
        ProgressSteps steps(progress, lineCount);
        for (int k = 0; k < lineCount; ++k) {
            steps.At(k + 1);
            const int row = firstRow + k;
            lines.Next(line);
            SplitCsvLine(line, fieldCount, pieces);
            cells[kColNumber] = std::string_view(
                number, std::to_chars(number, number + sizeof number, row).ptr - number);
            cells[kColModif] = std::string_view();
            // Columns 2.. take pieces 0..; a short line leaves the rest empty.
            for (std::size_t c = kColSuppr; c < cells.size(); ++c) {
                const std::size_t p = c - kColSuppr;
                cells[c] = p < pieces.size() ? pieces[p] : std::string_view();
            }
            t.SetRowCells(row, cells);
        }
    } catch (...) {
        rows.Abandon();
    }
    rows.Commit();
    if (!add) {
        s.DataType = typeText;
        s.FieldCount = fieldCount;
        s.ReplaceArchive(std::move(loaded.pod), ui);
    }
    out.tableChanged = true;

    RecordTable& t = s.Table;
    FinishImportTable(t, firstRow);
    out.status = Format(txt::StatusCsv.In(lang), Cp1252ToUtf8(chosen.baseName + ".csv").c_str(),
                        Cp1252ToUtf8(s.DataType).c_str(), t.RowCount() - 1);
    if (!add) { // an add keeps the table's file and history
        s.LoadStatus = out.status;
        s.CameFrom({SourceKind::Csv, path, {}});
        s.FinishLoad();
    }
    FinishImportCounters(s, out);
    return out;
}

} // namespace orvane
