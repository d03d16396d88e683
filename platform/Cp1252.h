// Windows-1252 <-> UTF-8. The core keeps data as 8-bit Windows-1252 bytes;
// these two are used where text leaves or enters the core.
#pragma once

#include "platform/Wording.h"

#include <string>
#include <string_view>

namespace orvane {

std::string Cp1252ToUtf8(std::string_view bytes);
// The same, appended to out (runs of ASCII are copied whole).
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);
// The same into a caller's buffer, which has room for 3 bytes per byte;
// returns the end of what was written.
char* Cp1252ToUtf8Into(char* out, std::string_view bytes);
// True when every byte is below 0x80 (the text reads the same in UTF-8).
bool IsAscii(std::string_view bytes);
// Characters outside Windows-1252 become '?'. Invalid UTF-8 bytes are taken
// as Windows-1252 bytes themselves.
std::string Utf8ToCp1252(std::string_view utf8);
// The same, with the Latin letters Windows-1252 lacks written as their base
// letter ("Łódź" -> "Lódz") and combining accents dropped, so that a name
// stays readable; other characters still become '?'.
std::string Utf8ToCp1252Transliterated(std::string_view utf8);
// Where the first byte that is no UTF-8 stands; npos when the text is UTF-8.
std::size_t InvalidUtf8At(std::string_view text);
// A cell's text as a message quotes it, in UTF-8: whole when short, else its
// first few dozen characters, "…" and its length, so that a huge cell never
// makes a huge message.
TextArg QuotedValue(std::string_view bytes);

} // namespace orvane
