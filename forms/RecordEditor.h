// The record editor's logic: one table row shown as field lines on three
// pages of 29 fields, the checks run while a value is typed and when its
// editing ends, the choice of entry dialog for a mouse press (coordinate pair
// or byte value), and the carry back into the table. The window keeps one
// RecordEditor, draws its lines, forwards each event and shows the notices.
#pragma once

#include "forms/ByteEntry.h"
#include "forms/EditorNotice.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Each page grid: a heading row and 29 field rows.
inline constexpr int RowsPerPage = 30;
inline constexpr int kEditorPages = 3;
inline constexpr int kFieldsPerPage = RowsPerPage - 1;
// Fields from this index on are neither shown nor written back.
inline constexpr int kEditorFieldLimit = kEditorPages * kFieldsPerPage;
// The page grid's columns (pixels) and row height.
inline constexpr std::array<int, 4> kEditorColumnWidths{250, 30, 30, 100};
inline constexpr int kEditorRowHeight = 18;

// What the editor needs of a template field (FieldDef has these members).
struct EditorField {
    std::string Title; // 8-bit
    char Type = ' ';
    int Width = 0;
};

struct EditorPosition {
    int page = 0; // 1-3
    int row = 0;  // 1-29
    bool operator==(const EditorPosition&) const = default;
};
// Where field i (from 0) is shown; nullopt from kEditorFieldLimit on.
std::optional<EditorPosition> PositionOfField(int field);
// The field shown at a page row; -1 for the heading row or outside the pages.
int FieldAt(int page, int row);

// Which value rule a line follows.
enum class RowKind { None, Integer, Decimal, Byte, Text };
RowKind KindOf(char type, int width);

// One line of a page: the four columns, 8-bit texts. Only value is editable.
struct EditorLine {
    std::string title, type, width, value;
    RowKind kind = RowKind::None;
    int widthValue = 0; // width as a number
    int field = -1;     // -1: an empty row
    std::string filled; // the value as filled from the table
};

// A check's reaction; nothing happens when notice is empty.
struct CheckResult {
    std::optional<EditorNotice> notice;
    std::string value; // the cell's value after the reaction (cut, or last character gone)
    bool valueChanged = false;
    bool backToRow = false; // the page's current row goes back to the checked row
};

enum class MouseButton { Left, Right, Other };

// What a mouse press on a page asks the window to open.
struct EntryRequest {
    enum class Kind { None, Coordinates, Byte };
    Kind kind = Kind::None;
    // Coordinates: the pair's fields and values (seconds of arc).
    int latitudeField = -1, longitudeField = -1;
    double latitude = 0, longitude = 0;
    // Byte: the field and the dialog's preset.
    int byteField = -1;
    ByteViews byteViews;
};

struct CarryBackResult {
    bool done = true;                   // false: nothing written, the editor stays open
    std::optional<EditorNotice> notice; // why not
    EditorPosition focus;               // the line to correct
};

class RecordEditor {
  public:
    // The page shown; kept from one opening to the next.
    int CurrentPage = 1;
    // The system's decimal separator, for decimal values and coordinates.
    char DecimalSeparator = '.';

    // Fill (the editor is shown): the lines of table row `row` from the fields.
    void Fill(const RecordTable& table, int row, const std::vector<EditorField>& fields);
    // The same from the template's own field list (FieldDef or alike).
    template <class FieldList>
    void FillFrom(const RecordTable& table, int row, const FieldList& fields) {
        std::vector<EditorField> editorFields;
        for (const auto& f : fields)
            editorFields.push_back({f.Title, f.Type, f.Width});
        Fill(table, row, editorFields);
    }

    int TableRow() const { return tableRow_; }
    // An empty line for the heading row, empty rows and rows outside the pages.
    const EditorLine& Line(int page, int row) const;
    const EditorLine& FieldLine(int field) const;
    // The grid's value cell edited (ignored on an empty row).
    void SetValue(int page, int row, std::string value);
    // A shown value differs from the row's (closing without "Fermer" loses it).
    bool Changed() const;

    // The editing of a value ends with a text other than the one it had when
    // the cell was entered (nothing happens when they are equal).
    CheckResult ValidateOnLeave(int page, int row, std::string_view entered, std::string_view value,
                                Lang lang);
    // Checks on a typed key, on the value before the key (page 1) ...
    CheckResult WarnOnKey(int page, int row, std::string_view value);
    // ... and on the value after it (page 1) or before it (pages 2 and 3).
    CheckResult TrimOnKey(int page, int row, std::string_view value);
    // The window's key events, which run the checks each page runs: a
    // character key pressed (value before the key) and a key released (value
    // after it). The value is stored either way.
    CheckResult KeyPressed(int page, int row, std::string_view valueBefore);
    CheckResult KeyReleased(int page, int row, std::string_view valueAfter);

    // A mouse press on a page row (already the current row). Throws
    // ConversionError when a value the dialog needs does not convert or a
    // coordinate has no partner field; nothing changes then.
    EntryRequest OpenEntryDialog(int page, int row, MouseButton button) const;
    // The entry dialogs' OK: the values go into the requested lines.
    void ApplyCoordinates(const EntryRequest& request, double latitude, double longitude);
    void ApplyByte(const EntryRequest& request, const std::string& resultText);

    // "Fermer": every shown value into the table row, "x" in Modif, "1" in
    // Export, SelectedCount recounted. A value changed in the editor that
    // breaks its field's rule is refused first (nothing written).
    CarryBackResult CarryBack(RecordTable& table, Lang lang) const;

  private:
    enum class Check { Leave, Warn, Trim };
    CheckResult React(Check check, int page, int row, std::string_view value, Lang lang);
    std::vector<EditorLine> lines_; // one per shown field
    int tableRow_ = 0;
};

// The rule of a kind holds for a value (the checks and the carry back).
bool ValueRuleHolds(RowKind kind, int width, std::string_view value, char decimalSeparator);

// Shortest decimal text of a number (up to 15 significant digits, no exponent,
// no trailing zeros), the form the coordinate entry writes back.
std::string ShortestDecimalText(double value, char decimalSeparator);

// The print title of a page: data type and table row.
std::string EditorPrintTitle(int page, std::string_view dataType, int tableRow);

} // namespace orvane
