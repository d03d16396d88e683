#include "forms/ByteEntry.h"

#include "table/WholeNumber.h"

#include <algorithm>

namespace orvane {

namespace {

std::string CharacterOf(int code) {
    return code == 0 ? std::string() : std::string(1, static_cast<char>(code));
}

} // namespace

ByteViews IntegerPreset(std::string title, std::int64_t value) {
    ByteViews v;
    v.title = std::move(title);
    v.integerField = true;
    v.mode = EntryMode::Hexadecimal;
    // The field holds 8 digits: the 32 bits a record stores.
    v.hexText = HexText(static_cast<std::uint32_t>(value));
    return v;
}

ByteViews BytePreset(std::string title, std::int64_t value, std::string valueText) {
    ByteViews v;
    v.title = std::move(title);
    v.integerField = false;
    v.mode = EntryMode::Decimal;
    v.hexText = HexText(static_cast<std::uint32_t>(value));
    v.counter = static_cast<int>(std::clamp<std::int64_t>(value, 0, 255));
    v.decimalText = std::move(valueText);
    v.characterText = CharacterOf(v.counter);
    v.yes = value != 0;
    return v;
}

std::string HexText(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(kHexDigits, '0');
    for (int i = kHexDigits - 1; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return out;
}

std::uint32_t HexResult(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(kHexDigits))
        text = text.substr(text.size() - kHexDigits);
    std::uint32_t value = 0;
    for (char c : text) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        if (c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        value = value * 16 + digit;
    }
    return value;
}

std::vector<std::string> LetterList() {
    std::vector<std::string> letters;
    for (char c = 'A'; c <= 'Z'; ++c)
        letters.emplace_back(1, c);
    return letters;
}

void ByteEntry::FollowCounter(bool character) {
    views_.yes = views_.counter != 0;
    views_.hexText = HexText(static_cast<std::uint32_t>(views_.counter));
    views_.decimalText = std::to_string(views_.counter);
    if (character) views_.characterText = CharacterOf(views_.counter);
}

void ByteEntry::CounterStep(int delta) {
    views_.counter = std::clamp(views_.counter + delta, 0, 255);
    FollowCounter(true);
}

void ByteEntry::DecimalTyped(std::string_view text) {
    auto value = ParseWholeNumber(text);
    if (!value) {
        views_.decimalText = std::string(text);
        return;
    }
    views_.counter = static_cast<int>(std::clamp<std::int64_t>(*value, 0, 255));
    FollowCounter(true);
    if (*value >= 0 && *value <= 255) views_.decimalText = std::string(text); // as typed
}

void ByteEntry::CharacterTyped(unsigned char character) {
    views_.counter = character;
    FollowCounter(false);
    views_.characterText = std::string(1, static_cast<char>(character));
}

void ByteEntry::CharacterChosen(std::string_view boxText) {
    views_.characterText = std::string(boxText);
    if (boxText.empty()) return;
    views_.counter = static_cast<unsigned char>(boxText.front());
    FollowCounter(false);
}

void ByteEntry::YesNoClicked(bool ticked) {
    views_.yes = ticked;
    views_.counter = ticked ? 1 : 0;
    views_.decimalText = std::to_string(views_.counter);
}

HexKeyResult ByteEntry::HexKey(char key) const {
    bool ok = key == '\b' || key == '\r' || (key >= '0' && key <= '9') ||
              (key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f');
    if (ok) return {};
    return {false, EditorNotice{txt::BadHexCharacter, {}, NoticeIcon::Error, false}};
}

void ByteEntry::HexTyped(std::string_view text) {
    views_.hexText = std::string(text);
    if (views_.integerField) return;
    std::uint32_t value = HexResult(text);
    if (value > 255) return;
    views_.counter = static_cast<int>(value);
    views_.yes = value != 0;
    views_.decimalText = std::to_string(value);
    views_.characterText = CharacterOf(views_.counter);
}

ByteOkResult ByteEntry::Ok(Lang lang) {
    switch (views_.mode) {
    case EntryMode::Hexadecimal:
        ResultText = std::to_string(HexResult(views_.hexText));
        break;
    case EntryMode::Decimal:
        ResultText = std::to_string(views_.counter);
        break;
    case EntryMode::Character:
        if (views_.characterText.empty())
            return {false, EditorNotice{txt::NoCharacterChosen.In(lang), {}, NoticeIcon::Warning}};
        ResultText = std::to_string(static_cast<unsigned char>(views_.characterText.front()));
        break;
    case EntryMode::YesNo:
        ResultText.assign(1, views_.yes ? '1' : '0');
        break;
    }
    return {};
}

} // namespace orvane
