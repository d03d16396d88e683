// The byte value entry: one value shown four ways (hexadecimal, decimal with a
// 0-255 counter, one character, yes/no), the views kept in step, and the
// decimal text handed back on "Fermer" (ResultText). The dialog keeps one
// ByteEntry for the whole run, forwards each control event to it and then
// copies Views() back into its controls.
#pragma once

#include "forms/EditorNotice.h"
#include "settings/Texts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class EntryMode { Hexadecimal = 0, Decimal = 1, Character = 2, YesNo = 3 };

// The hexadecimal field holds at most this many characters.
inline constexpr int kHexDigits = 8;

// Everything the dialog shows. Texts are 8-bit (Windows-1252) like the cells.
struct ByteViews {
    std::string title;        // lblLibelle: the field's title
    bool integerField = true; // the mode choice and the panel of other inputs hidden
    EntryMode mode = EntryMode::Hexadecimal;
    std::string hexText = "00000000"; // edhexa
    int counter = 0;                  // UpDown position, 0-255
    std::string decimalText = "0";    // edDecimal
    std::string characterText;        // cbAlpha: the character of the counter, empty for 0
    bool yes = false;                 // cbYN

    bool operator==(const ByteViews&) const = default;
};

// Presets of the record editor: an integer field (hexadecimal input only) and
// a one-byte field (every view on the value, decimal mode).
ByteViews IntegerPreset(std::string title, std::int64_t value);
ByteViews BytePreset(std::string title, std::int64_t value, std::string valueText);

// The low 32 bits as 8 upper-case hexadecimal digits (0000002A for 42).
std::string HexText(std::uint32_t value);
// The hexadecimal field's value on "Fermer": upper-cased, cut to its last 8
// characters; a character that is not a hexadecimal digit counts 0.
std::uint32_t HexResult(std::string_view text);
// The letters of the character box's list: "A" to "Z".
std::vector<std::string> LetterList();

struct HexKeyResult {
    bool accepted = true;               // false: the key is kept out of the field
    std::optional<EditorNotice> notice; // shown for a refused key
};

struct ByteOkResult {
    bool closes = true;                 // false: the dialog stays open
    std::optional<EditorNotice> notice; // why it stays open
};

class ByteEntry {
  public:
    // The record editor's preset before each showing; ResultText is kept.
    void Preset(const ByteViews& views) { views_ = views; }
    const ByteViews& Views() const { return views_; }
    // The input of the chosen mode and its label are enabled, the others not.
    bool InputEnabled(EntryMode input) const { return input == views_.mode; }

    // The mode choice: only the enabled input changes; no view is recomputed.
    void SetMode(EntryMode mode) { views_.mode = mode; }
    // A counter arrow: +1 or -1, no wrap.
    void CounterStep(int delta);
    // The decimal field's text after a key. A text that is not a whole number
    // (mid-typing, empty) leaves every view as it was; one outside 0-255 sets
    // the counter to the nearest bound and the field shows that bound.
    void DecimalTyped(std::string_view text);
    // A character typed into the character box: the box holds just that one.
    void CharacterTyped(unsigned char character);
    // A letter chosen from the list: the box's text, the first character counts.
    void CharacterChosen(std::string_view boxText);
    // The yes/no box clicked: the counter becomes 1 or 0; hexadecimal and
    // character views stay as they were.
    void YesNoClicked(bool ticked);
    // A key pressed in the hexadecimal field, before it takes effect:
    // Backspace, Enter, 0-9, A-F and a-f pass; any other key is refused.
    HexKeyResult HexKey(char key) const;
    // The hexadecimal field's text after an accepted key. For a one-byte field
    // a value of 0-255 brings the other views along; a larger one leaves them.
    void HexTyped(std::string_view text);

    // "Fermer": computes ResultText by the mode. Character mode with an empty
    // box is refused and the dialog stays open.
    ByteOkResult Ok(Lang lang);

    std::string ResultText; // kept between uses; written only by Ok

  private:
    void FollowCounter(bool character); // yes/no, hexadecimal, decimal (and character)
    ByteViews views_;
};

} // namespace orvane
