#include "platform/Cp1252.h"

#include "platform/FileTexts.h"

#include <cstdint>
#include <cstring>

namespace orvane {

namespace {
// Code points of bytes 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined
// (those bytes map to the C1 control of the same value).
constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char ToCp1252(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp || (kHigh[i] == 0 && cp == 0x80u + i))
            return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

bool IsAscii(std::string_view bytes) {
    const char* in = bytes.data();
    const char* const end = in + bytes.size();
    std::uint64_t high = 0;
    for (; end - in >= 8; in += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, in, 8);
        high |= eight;
    }
    for (; in != end; ++in)
        high |= static_cast<unsigned char>(*in);
    return (high & 0x8080808080808080u) == 0;
}

char* Cp1252ToUtf8Into(char* out, std::string_view bytes) {
    const char* in = bytes.data();
    const char* const end = in + bytes.size();
    while (in != end) {
        // Eight ASCII bytes at a time: most texts hold nothing else.
        std::uint64_t eight;
        if (end - in >= 8 && (std::memcpy(&eight, in, 8), (eight & 0x8080808080808080u) == 0)) {
            std::memcpy(out, in, 8);
            in += 8;
            out += 8;
            continue;
        }
        const char ch = *in++;
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            *out++ = ch;
            continue;
        }
        const std::uint32_t cp = c < 0xA0 && kHigh[c - 0x80] ? kHigh[c - 0x80] : c;
        if (cp < 0x800) {
            *out++ = static_cast<char>(0xC0 | cp >> 6);
        } else {
            *out++ = static_cast<char>(0xE0 | cp >> 12);
            *out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t ascii = i;
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80)
            ++ascii;
        out.append(bytes.data() + i, ascii - i);
        if (ascii == bytes.size()) break;
        const auto c = static_cast<unsigned char>(bytes[ascii]);
        AppendUtf8(out, c < 0xA0 && kHigh[c - 0x80] ? kHigh[c - 0x80] : c);
        i = ascii + 1;
    }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    AppendCp1252AsUtf8(out, bytes);
    return out;
}

TextArg QuotedValue(std::string_view bytes) {
    // A value up to this long is quoted whole; a longer one by its first
    // kQuotedHead characters (one byte is one character here).
    constexpr std::size_t kQuotedWhole = 48, kQuotedHead = 40;
    if (bytes.size() <= kQuotedWhole) return Cp1252ToUtf8(bytes);
    return std::make_shared<const Message>(
        MessageOf(txt::ShortenedValue, Cp1252ToUtf8(bytes.substr(0, kQuotedHead)),
                  static_cast<unsigned long long>(bytes.size())));
}

namespace {

// The length of the UTF-8 sequence at s[i] and its code point; 0 when the
// bytes there are no UTF-8 (a stray continuation byte, a cut sequence, an
// overlong form such as C0 AF for '/', a surrogate, a code point past U+10FFFF).
int DecodeUtf8(std::string_view s, std::size_t i, std::uint32_t& cp) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + std::size_t(len) > s.size()) return 0;
    cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < len; ++k) {
        const auto d = static_cast<unsigned char>(s[i + std::size_t(k)]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (d & 0x3F);
    }
    static constexpr std::uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (len > 1 && (cp < kLeast[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)) return 0;
    return len;
}

// The Latin letters Windows-1252 lacks (Latin Extended-A, U+0100..U+017F)
// as their base letter.
constexpr char kLatinExtendedA[] = "AaAaAaCcCcCcCcDd"
                                   "DdEeEeEeEeEeGgGg"
                                   "GgGgHhHhIiIiIiIi"
                                   "IiJjJjKkkLlLlLlL"
                                   "lLlNnNnNnnNnOoOo"
                                   "OoOoRrRrRrSsSsSs"
                                   "SsTtTtTtUuUuUuUu"
                                   "UuUuWwYyYZzZzZzs";

std::string Utf8ToCp1252With(std::string_view s, bool transliterate) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        std::uint32_t cp = 0;
        const int len = DecodeUtf8(s, i, cp);
        if (len == 0) {
            out += s[i++];
            continue;
        }
        i += std::size_t(len);
        char c = ToCp1252(cp);
        if (c == '?' && transliterate) {
            if (cp >= 0x0300 && cp <= 0x036F) continue; // a combining accent
            if (cp >= 0x0100 && cp <= 0x017F) c = kLatinExtendedA[cp - 0x0100];
            if (cp >= 0x0218 && cp <= 0x021B) c = "SsTt"[cp - 0x0218];      // comma below
            if (cp == 0x018F || cp == 0x0259) c = cp == 0x018F ? 'E' : 'e'; // schwa
            if (cp == 0x01A0 || cp == 0x01A1) c = cp == 0x01A0 ? 'O' : 'o'; // horn
            if (cp == 0x01AF || cp == 0x01B0) c = cp == 0x01AF ? 'U' : 'u';
        }
        out += c;
    }
    return out;
}

} // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    return Utf8ToCp1252With(utf8, false);
}

std::string Utf8ToCp1252Transliterated(std::string_view utf8) {
    return Utf8ToCp1252With(utf8, true);
}

std::size_t InvalidUtf8At(std::string_view text) {
    std::uint32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const int len = DecodeUtf8(text, i, cp);
        if (len == 0) return i;
        i += std::size_t(len);
    }
    return std::string_view::npos;
}

} // namespace orvane
