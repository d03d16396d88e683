#include "settings/Memo.h"

#include "platform/AtomicFile.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace orvane {

std::string MemoFilePath(const std::string& iniPath) {
    return FolderOf(iniPath) + "memo.txt";
}

std::optional<std::string> ReadMemo(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    const std::vector<unsigned char> bytes = ReadWholeFile(path);
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            text += '\n';
        } else {
            text += c;
        }
    }
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return Cp1252ToUtf8(text);
}

std::string MemoBytes(std::string_view utf8Text) {
    const std::string bytes = Utf8ToCp1252(utf8Text);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    for (char c : bytes) {
        if (c == '\n')
            out += "\r\n";
        else if (c != '\r')
            out += c;
    }
    return out + "\r\n";
}

void WriteMemo(const std::string& path, std::string_view utf8Text, Lang lang) {
    WriteFileAtomically(path, MemoBytes(utf8Text), txt::ReadOnlyTarget.In(lang));
}

} // namespace orvane
