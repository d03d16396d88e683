#include "forms/RecordEditor.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"
#include "table/WholeNumber.h"

#include <charconv>

namespace orvane {

namespace {

const EditorLine kNoLine{};

std::string WithoutLastCharacter(std::string_view value) {
    return std::string(value.empty() ? value : value.substr(0, value.size() - 1));
}

[[noreturn]] void ThrowNotANumber(const BiText& text, int tableRow, const EditorLine& line) {
    throw ConversionError(text, tableRow, Cp1252ToUtf8(line.title), QuotedValue(line.value));
}

} // namespace

std::optional<EditorPosition> PositionOfField(int field) {
    if (field < 0 || field >= kEditorFieldLimit) return std::nullopt;
    return EditorPosition{field / kFieldsPerPage + 1, field % kFieldsPerPage + 1};
}

int FieldAt(int page, int row) {
    if (page < 1 || page > kEditorPages || row < 1 || row > kFieldsPerPage) return -1;
    return (page - 1) * kFieldsPerPage + row - 1;
}

RowKind KindOf(char type, int width) {
    if (type == 'I') return RowKind::Integer;
    if (type == 'D') return RowKind::Decimal;
    if (type == 'C') return width == 1 ? RowKind::Byte : RowKind::Text;
    return RowKind::None;
}

bool ValueRuleHolds(RowKind kind, int width, std::string_view value, char decimalSeparator) {
    switch (kind) {
    case RowKind::Integer:
        return ParseWholeNumber(value).has_value();
    case RowKind::Decimal:
        return ParseDecimal(value, decimalSeparator).has_value();
    case RowKind::Byte: {
        auto n = ParseWholeNumber(value);
        return n && *n >= 0 && *n <= 255;
    }
    case RowKind::Text:
        return static_cast<long long>(value.size()) <= width;
    case RowKind::None:
        break;
    }
    return true;
}

std::string ShortestDecimalText(double value, char decimalSeparator) {
    if (value == 0) return "0"; // "-0" too
    char buffer[400];
    auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::string text(buffer, end);
    if (text.find('e') != std::string::npos) {
        // Far from a whole number of seconds of arc: fixed form, trailing zeros cut.
        end =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 20).ptr;
        text.assign(buffer, end);
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0')
                text.pop_back();
            if (text.back() == '.') text.pop_back();
        }
        if (text == "-0") text = "0";
    }
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text;
}

std::string EditorPrintTitle(int page, std::string_view dataType, int tableRow) {
    const char* format = page == 2   ? txt::EditorPrintTitle2
                         : page == 3 ? txt::EditorPrintTitle3
                                     : txt::EditorPrintTitle1;
    return Format(format, std::string(dataType).c_str(), tableRow);
}

// --- RecordEditor ------------------------------------------------------------------------

void RecordEditor::Fill(const RecordTable& table, int row, const std::vector<EditorField>& fields) {
    lines_.clear();
    tableRow_ = row;
    if (row < 1 || row >= table.RowCount()) return; // no record to show
    int shown = std::min(static_cast<int>(fields.size()), kEditorFieldLimit);
    lines_.reserve(static_cast<std::size_t>(shown));
    for (int i = 0; i < shown; ++i) {
        const EditorField& f = fields[static_cast<std::size_t>(i)];
        EditorLine line;
        line.title = f.Title;
        line.type = std::string(1, f.Type);
        line.width = std::to_string(f.Width);
        line.widthValue = f.Width;
        line.value = std::string(table.Cell(kFirstFieldColumn + i, row));
        line.filled = line.value;
        line.kind = KindOf(f.Type, f.Width);
        line.field = i;
        lines_.push_back(std::move(line));
    }
}

const EditorLine& RecordEditor::FieldLine(int field) const {
    if (field < 0 || field >= static_cast<int>(lines_.size())) return kNoLine;
    return lines_[static_cast<std::size_t>(field)];
}

const EditorLine& RecordEditor::Line(int page, int row) const {
    return FieldLine(FieldAt(page, row));
}

void RecordEditor::SetValue(int page, int row, std::string value) {
    int field = FieldAt(page, row);
    if (FieldLine(field).field < 0) return;
    lines_[static_cast<std::size_t>(field)].value = std::move(value);
}

bool RecordEditor::Changed() const {
    for (const EditorLine& line : lines_)
        if (line.value != line.filled) return true;
    return false;
}

CheckResult RecordEditor::React(Check check, int page, int row, std::string_view value, Lang lang) {
    CheckResult result;
    result.value = std::string(value);
    const EditorLine& line = Line(page, row);
    int width = line.widthValue;
    if (line.field < 0 || ValueRuleHolds(line.kind, width, value, DecimalSeparator)) {
        SetValue(page, row, result.value);
        return result;
    }

    EditorNotice notice{{}, txt::InputErrorTitle, NoticeIcon::None, true};
    bool removeLast = check == Check::Trim;
    switch (line.kind) {
    case RowKind::Integer:
        // Only the dialog at the end of the editing speaks the user's language.
        notice.text =
            check == Check::Leave ? txt::IntegerRequested.In(lang) : txt::IntegerRequested.fr;
        notice.icon = check == Check::Leave ? NoticeIcon::Error : NoticeIcon::None;
        notice.beep = check != Check::Trim;
        result.backToRow = check == Check::Leave;
        break;
    case RowKind::Decimal:
        notice.text = txt::DecimalRequested;
        break;
    case RowKind::Byte:
        notice = EditorNotice{txt::ByteRangeOnly, {}, NoticeIcon::None, false};
        break;
    case RowKind::Text:
        if (check == Check::Trim) {
            notice.text = Format(txt::LineLimited, line.width.c_str());
            notice.beep = false;
        } else {
            notice.text = txt::LineCut;
            result.value.resize(static_cast<std::size_t>(std::max(width, 0)));
        }
        break;
    case RowKind::None:
        break;
    }
    if (removeLast) result.value = WithoutLastCharacter(result.value);
    result.valueChanged = result.value != value;
    result.notice = std::move(notice);
    SetValue(page, row, result.value);
    return result;
}

CheckResult RecordEditor::ValidateOnLeave(int page, int row, std::string_view entered,
                                          std::string_view value, Lang lang) {
    if (entered == value) {
        SetValue(page, row, std::string(value));
        return {std::nullopt, std::string(value)};
    }
    return React(Check::Leave, page, row, value, lang);
}

CheckResult RecordEditor::WarnOnKey(int page, int row, std::string_view value) {
    return React(Check::Warn, page, row, value, Lang::French);
}

CheckResult RecordEditor::TrimOnKey(int page, int row, std::string_view value) {
    return React(Check::Trim, page, row, value, Lang::French);
}

CheckResult RecordEditor::KeyPressed(int page, int row, std::string_view valueBefore) {
    return page == 1 ? WarnOnKey(page, row, valueBefore) : TrimOnKey(page, row, valueBefore);
}

CheckResult RecordEditor::KeyReleased(int page, int row, std::string_view valueAfter) {
    if (page == 1) return TrimOnKey(page, row, valueAfter);
    SetValue(page, row, std::string(valueAfter));
    return {std::nullopt, std::string(valueAfter)};
}

EntryRequest RecordEditor::OpenEntryDialog(int page, int row, MouseButton button) const {
    EntryRequest request;
    const EditorLine& line = Line(page, row);
    if (line.field < 0) return request;
    std::string lower = ToLowerAscii(line.title);
    bool latitude = lower.find("latitude") != std::string::npos;
    if (latitude || lower.find("longitude") != std::string::npos) {
        // The pair follows the field order, across a page boundary too.
        int first = latitude ? line.field : line.field - 1;
        const EditorLine& lat = FieldLine(first);
        const EditorLine& lon = FieldLine(first + 1);
        if (lat.field < 0 || lon.field < 0)
            throw ConversionError(latitude ? txt::NoLongitudeAfter : txt::NoLatitudeBefore,
                                  Cp1252ToUtf8(line.title));
        auto latValue = ParseDecimal(lat.value, DecimalSeparator);
        if (!latValue) ThrowNotANumber(txt::BadNumber, tableRow_, lat);
        auto lonValue = ParseDecimal(lon.value, DecimalSeparator);
        if (!lonValue) ThrowNotANumber(txt::BadNumber, tableRow_, lon);
        request.kind = EntryRequest::Kind::Coordinates;
        request.latitudeField = lat.field;
        request.longitudeField = lon.field;
        request.latitude = *latValue;
        request.longitude = *lonValue;
        return request;
    }
    if (button != MouseButton::Right ||
        (line.kind != RowKind::Integer && line.kind != RowKind::Byte))
        return request;
    auto value = ParseWholeNumber(line.value);
    if (!value) ThrowNotANumber(txt::BadWholeNumber, tableRow_, line);
    request.kind = EntryRequest::Kind::Byte;
    request.byteField = line.field;
    request.byteViews = line.kind == RowKind::Integer ? IntegerPreset(line.title, *value)
                                                      : BytePreset(line.title, *value, line.value);
    return request;
}

void RecordEditor::ApplyCoordinates(const EntryRequest& request, double latitude,
                                    double longitude) {
    if (request.kind != EntryRequest::Kind::Coordinates) return;
    if (FieldLine(request.latitudeField).field >= 0)
        lines_[static_cast<std::size_t>(request.latitudeField)].value =
            ShortestDecimalText(latitude, DecimalSeparator);
    if (FieldLine(request.longitudeField).field >= 0)
        lines_[static_cast<std::size_t>(request.longitudeField)].value =
            ShortestDecimalText(longitude, DecimalSeparator);
}

void RecordEditor::ApplyByte(const EntryRequest& request, const std::string& resultText) {
    if (request.kind != EntryRequest::Kind::Byte || FieldLine(request.byteField).field < 0) return;
    lines_[static_cast<std::size_t>(request.byteField)].value = resultText;
}

CarryBackResult RecordEditor::CarryBack(RecordTable& table, Lang lang) const {
    if (tableRow_ < 1 || tableRow_ >= table.RowCount()) return {};
    for (const EditorLine& line : lines_) {
        if (line.value == line.filled) continue; // as loaded: passed through untouched
        if (ValueRuleHolds(line.kind, line.widthValue, line.value, DecimalSeparator)) continue;
        EditorPosition at = *PositionOfField(line.field);
        return {
            false,
            EditorNotice{Format(txt::EditorValueRefused.In(lang), Cp1252ToUtf8(line.title).c_str(),
                                at.page, at.row, Cp1252ToUtf8(line.value).c_str()),
                         txt::InputErrorTitle, NoticeIcon::Error, true},
            at};
    }
    // A table emptied by "Erase all" has lost its field columns while the
    // template still names them: they come back with their titles, or the
    // values would go nowhere.
    const int needed = kFirstFieldColumn + static_cast<int>(lines_.size());
    if (table.ColumnCount() < needed) {
        const int from = table.ColumnCount();
        table.SetColumnCount(needed);
        for (int c = std::max(from, kFirstFieldColumn); c < needed; ++c)
            table.SetCell(c, 0, lines_[static_cast<std::size_t>(c - kFirstFieldColumn)].title);
    }
    for (const EditorLine& line : lines_)
        table.SetCell(kFirstFieldColumn + line.field, tableRow_, line.value);
    table.SetCell(kColModif, tableRow_, "x");
    table.SetCell(kColExport, tableRow_, "1");
    table.SelectedCount = table.CountSelected();
    return {};
}

} // namespace orvane
