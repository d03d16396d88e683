// The memo file "memo.txt": the notepad of the memo window, kept between
// runs in the settings file's folder (so no file dialog can move it). Plain
// Windows-1252 text, every line ended by CR LF.
#pragma once

#include "settings/Texts.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// memo.txt in the folder of the settings file at iniPath.
std::string MemoFilePath(const std::string& iniPath);

// The memo's lines as UTF-8 text joined by '\n' (CR LF, LF and CR all end a
// line; the last line's end makes no extra line). nullopt when the file does
// not exist; throws FileError when it exists but cannot be read.
std::optional<std::string> ReadMemo(const std::string& path);

// The lines of utf8Text ('\n'-separated) as Windows-1252, each ended by
// CR LF; characters outside Windows-1252 become '?'.
std::string MemoBytes(std::string_view utf8Text);

// Replaces the file through a temporary file and a rename: a failed save
// leaves the old file as it was. Throws FileError.
void WriteMemo(const std::string& path, std::string_view utf8Text, Lang lang);

} // namespace orvane
