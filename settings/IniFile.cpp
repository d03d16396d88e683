#include "settings/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/BinaryFile.h"
#include "platform/Errors.h"
#include "settings/Texts.h"

#include <cstddef>
#include <limits>
#include <vector>

namespace orvane {

namespace {

// One physical line: [begin, contentEnd) is its text, [contentEnd, end) its
// line end ("\r\n", "\n", "\r" or nothing on the last line).
struct Line {
    std::size_t begin, contentEnd, end;
};

std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t i = 0, n = bytes.size();
    while (i < n) {
        std::size_t start = i;
        while (i < n && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        std::size_t contentEnd = i;
        if (i < n && bytes[i] == '\r') ++i;
        if (i < n && bytes[i] == '\n' && (i == contentEnd || bytes[i - 1] == '\r')) ++i;
        lines.push_back({start, contentEnd, i});
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Letter case folding of Windows-1252: ASCII, the accented capitals
// 0xC0-0xDE (but 0xD7, the multiplication sign) and Š, Œ, Ž, Ÿ.
unsigned char Fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
    if (c == 0x9F) return 0xFF;
    return c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// What one line holds, as the profile functions see it.
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;      // section or key name, trimmed
    std::size_t valueBegin = 0; // offsets into the file, for keys
    std::size_t valueEnd = 0;
    bool hasEquals = false;
};

Parsed ParseLine(const std::string& bytes, const Line& line, bool first) {
    std::string_view text(bytes.data() + line.begin, line.contentEnd - line.begin);
    std::size_t lead = 0;
    // A UTF-8 signature at the start of the file is not part of the first line.
    if (first && text.substr(0, 3) == "\xEF\xBB\xBF") lead = 3;
    while (lead < text.size() && IsBlank(text[lead]))
        ++lead;
    std::string_view rest = text.substr(lead);
    Parsed p;
    if (rest.empty() || rest.front() == ';') return p;
    if (rest.front() == '[') {
        auto close = rest.rfind(']');
        if (close != std::string_view::npos) {
            p.kind = Parsed::Section;
            p.name = Trim(rest.substr(1, close - 1));
            return p;
        }
    }
    p.kind = Parsed::Key;
    auto eq = rest.find('=');
    if (eq == std::string_view::npos) {
        p.name = Trim(rest);
        p.valueBegin = p.valueEnd = line.contentEnd;
        return p;
    }
    p.hasEquals = true;
    p.name = Trim(rest.substr(0, eq));
    std::size_t vb = line.begin + lead + eq + 1;
    std::size_t ve = line.contentEnd;
    while (vb < ve && IsBlank(bytes[vb]))
        ++vb;
    while (ve > vb && IsBlank(bytes[ve - 1]))
        --ve;
    p.valueBegin = vb;
    p.valueEnd = ve;
    return p;
}

// Where a section and one of its keys are in the file.
struct Location {
    bool sectionFound = false;
    std::size_t sectionLine = 0; // index of the "[section]" line
    std::size_t sectionEnd = 0;  // index of the line after the section's last line
    bool keyFound = false;
    std::size_t keyLine = 0;
    Parsed key;
};

// The first section of that name and the first key of that name inside it,
// as the profile functions take them.
Location Find(const std::string& bytes, const std::vector<Line>& lines, std::string_view section,
              std::string_view key) {
    Location loc;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Parsed p = ParseLine(bytes, lines[i], i == 0);
        if (p.kind == Parsed::Section) {
            if (loc.sectionFound) {
                loc.sectionEnd = i;
                return loc;
            }
            if (SameName(p.name, section)) {
                loc.sectionFound = true;
                loc.sectionLine = i;
            }
        } else if (p.kind == Parsed::Key && loc.sectionFound && !loc.keyFound &&
                   SameName(p.name, key)) {
            loc.keyFound = true;
            loc.keyLine = i;
            loc.key = p;
        }
    }
    loc.sectionEnd = lines.size();
    return loc;
}

// The file's own line end (that of its first line), CR LF when it has none.
std::string LineEndOf(const std::string& bytes, const std::vector<Line>& lines) {
    for (const Line& l : lines)
        if (l.end > l.contentEnd) return bytes.substr(l.contentEnd, l.end - l.contentEnd);
    return "\r\n";
}

std::optional<long long> WholeNumber(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        if (value > (std::numeric_limits<long long>::max() - (c - '0')) / 10) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
    // A line break, or a bracket or equals sign in a name, would change the
    // file's structure instead of one value.
    auto breaks = [](std::string_view s) { return s.find_first_of("\r\n") != s.npos; };
    if (breaks(section) || breaks(key) || breaks(value) || section.find(']') != section.npos ||
        key.find('=') != key.npos || Trim(section).empty() || Trim(key).empty() ||
        Trim(key).front() == ';' || Trim(key).front() == '[')
        throw RefusedError(txt::SettingsEntryRefused, section, key);
}

} // namespace

IniFile IniFile::Load(const std::string& path) {
    if (!FileExists(path) && !DirectoryExists(path)) return IniFile();
    std::vector<unsigned char> raw = ReadWholeFile(path);
    return FromBytes(std::string(raw.begin(), raw.end()));
}

IniFile IniFile::FromBytes(std::string bytes) {
    IniFile ini;
    ini.bytes_ = std::move(bytes);
    return ini;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    auto lines = SplitLines(bytes_);
    Location loc = Find(bytes_, lines, section, key);
    if (!loc.keyFound) return std::nullopt;
    std::string value = bytes_.substr(loc.key.valueBegin, loc.key.valueEnd - loc.key.valueBegin);
    // One pair of enclosing quotes is dropped, as the profile functions do.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               const std::string& fallback) const {
    auto v = Get(section, key);
    return v ? *v : fallback;
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
    auto v = Get(section, key);
    if (!v) return fallback;
    auto n = WholeNumber(*v);
    if (!n || *n < std::numeric_limits<int>::min() || *n > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(*n);
}

bool IniFile::GetBool(std::string_view section, std::string_view key, bool fallback) const {
    auto v = Get(section, key);
    if (!v) return fallback;
    std::string_view t = Trim(*v);
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
    if (t.empty() || t.find_first_not_of("0123456789") != t.npos) return fallback;
    // Any whole number, however long, is true unless it is zero.
    return t.find_first_not_of('0') != t.npos;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    CheckWritable(section, key, value);
    auto lines = SplitLines(bytes_);
    Location loc = Find(bytes_, lines, section, key);
    const std::string eol = LineEndOf(bytes_, lines);

    if (loc.keyFound) {
        // Only the value's bytes change; the key's spelling, the blanks around
        // the equals sign and the line end stay.
        if (loc.key.hasEquals) {
            bytes_.replace(loc.key.valueBegin, loc.key.valueEnd - loc.key.valueBegin, value);
        } else {
            const Line& l = lines[loc.keyLine];
            std::size_t nameEnd = l.contentEnd;
            while (nameEnd > l.begin && IsBlank(bytes_[nameEnd - 1]))
                --nameEnd;
            bytes_.replace(nameEnd, l.contentEnd - nameEnd, "=" + std::string(value));
        }
        return;
    }

    std::string entry = std::string(Trim(key)) + "=" + std::string(value) + eol;
    if (loc.sectionFound) {
        // After the section's last non-blank line, so that the blank lines
        // that part it from the next section stay below it.
        std::size_t last = loc.sectionEnd - 1;
        while (last > loc.sectionLine &&
               Trim(std::string_view(bytes_).substr(lines[last].begin,
                                                    lines[last].contentEnd - lines[last].begin))
                   .empty())
            --last;
        const Line& l = lines[last];
        if (l.end == l.contentEnd) {
            bytes_.insert(l.end, eol + entry.substr(0, entry.size() - eol.size()));
        } else {
            bytes_.insert(l.end, entry);
        }
        return;
    }

    std::string tail;
    if (!lines.empty()) {
        const Line& l = lines.back();
        if (l.end == l.contentEnd) tail += eol; // the last line had no line end
        if (!Trim(std::string_view(bytes_).substr(l.begin, l.contentEnd - l.begin)).empty())
            tail += eol; // a blank line between sections
    }
    bytes_ += tail + "[" + std::string(Trim(section)) + "]" + eol + entry;
}

void IniFile::Save(const std::string& path) const {
    WriteFileAtomically(path, bytes_);
}

void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    IniFile ini = IniFile::Load(path);
    ini.Set(section, key, value);
    ini.Save(path);
}

} // namespace orvane
