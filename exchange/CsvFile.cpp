#include "exchange/CsvFile.h"

#include "exchange/ExchangeShared.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>
#include <charconv>

namespace orvane {

namespace {

constexpr std::string_view kEol = "\r\n";
// Lines are gathered and written in blocks of about this size.
constexpr std::size_t kWriteBlock = 1 << 20;

void Flush(BinaryFile& file, std::string& pending) {
    if (!pending.empty()) file.Write(pending.data(), pending.size());
    pending.clear();
}

// The lines of a text: each ends with LF, optionally preceded by CR; a last
// line without a line end is kept, and no empty line follows a final LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line =
            text.substr(start, (end == std::string_view::npos ? text.size() : end) - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

} // namespace

// ---------------------------------------------------------------------------
// Export

int ExportCsv(SessionState& s, const std::string& path, bool selectionOnly, UserInteraction& ui,
              BusyIndicator* busy, const ProgressFn& progress) {
    BusyScope scope(busy);
    const Lang lang = s.Language_();
    if (!s.CurrentPod) throw RefusedError(txt::NoTableLoaded.In(lang));
    const RecordTable& t = s.Table;
    const std::vector<FieldDef>& fields = s.Fields();
    const int fieldCount = s.FieldCount;

    if (selectionOnly) {
        bool any = false;
        for (int r = 1; r < t.RowCount() && !any; ++r)
            any = t.Cell(kColExport, r) == "1";
        if (!any) {
            // No file is made, and an earlier file of that name stays.
            ui.ShowMessage(MessageKind::Error, txt::NoSelectedRecord.In(lang));
            return 0;
        }
    }

    AtomicFile out(path, txt::ReadOnlyTarget.In(lang));
    BinaryFile& file = out.File();
    std::string pending;
    pending.reserve(kWriteBlock + 4096);
    pending.append(s.DataType).append(kEol);
    pending.append(";Export;");
    for (int i = 0; i < fieldCount; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        pending.append(k < fields.size() ? fields[k].Title
                                         : std::string(t.Cell(kFirstFieldColumn + i, 0)));
        pending.append(" ; ");
    }
    pending.append(kEol);

    int written = 0;
    std::vector<std::string_view> cells;
    const auto cell = [&cells](std::size_t col) {
        return col < cells.size() ? cells[col] : std::string_view();
    };
    ProgressSteps steps(progress, t.RowCount() - 1);
    for (int r = 1; r < t.RowCount(); ++r) {
        steps.At(r);
        t.RowCells(r, cells);
        if (selectionOnly && cell(kColExport) != "1") continue;
        pending.append(cell(kColSuppr)).append(";");
        pending.append(cell(kColExport)).append(";");
        for (int i = 0; i < fieldCount; ++i) {
            pending.append(cell(static_cast<std::size_t>(kFirstFieldColumn + i)));
            // Export all ends the line without a separator; the selection
            // form puts one after every field.
            if (selectionOnly || i + 1 < fieldCount) pending.push_back(';');
        }
        pending.append(kEol);
        ++written;
        if (pending.size() >= kWriteBlock) Flush(file, pending);
    }
    Flush(file, pending);
    out.Commit();
    return written;
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

    const ChosenFile chosen = ParseChosenFile(path, ".CSV");
    if (!chosen.accepted) return out; // another extension: nothing happens
    s.WorkDir = chosen.folder.empty() ? s.WorkDir : chosen.folder;

    const std::vector<unsigned char> bytes = ReadWholeFile(path);
    const std::vector<std::string_view> lines =
        SplitLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const std::string typeText = lines.empty() ? std::string() : std::string(lines[0]);
    // Added to a table, a file without a type is data that does not match it.
    const bool add = mode == ImportMode::Add && !s.DataType.empty();
    if (typeText.empty() && !add)
        throw FormatError(Format(txt::CsvNoDataType.In(lang), path.c_str()));
    // Line 2 holds the headings and is not read.
    const std::size_t firstLine = std::min<std::size_t>(2, lines.size());
    const int lineCount = static_cast<int>(lines.size() - firstLine);

    LoadedTemplate loaded; // an open's new template and archive object
    if (add) {
        if (typeText != s.DataType || !s.CurrentPod) {
            ui.ShowMessage(MessageKind::Error, txt::AddedDataMismatch.In(lang));
            FinishImportCounters(s, out);
            return out;
        }
    } else {
        if (s.SimulatorVersion != 1 && s.SimulatorVersion != 2)
            throw RefusedError(txt::NoSimulatorVersion.In(lang));
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
            SplitCsvLine(lines[firstLine + static_cast<std::size_t>(k)], fieldCount, pieces);
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
        s.CurrentPod = std::move(loaded.pod);
    }
    out.tableChanged = true;

    RecordTable& t = s.Table;
    FinishImportTable(t, firstRow);
    out.status = Format(txt::StatusCsv.In(lang), Cp1252ToUtf8(chosen.baseName + ".csv").c_str(),
                        Cp1252ToUtf8(s.DataType).c_str(), t.RowCount() - 1);
    out.enable = {true, true, true, true, true, true};
    FinishImportCounters(s, out);
    return out;
}

} // namespace orvane
