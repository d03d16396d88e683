// A small INI layer with the semantics of the Windows profile functions:
// section and key names matched without regard to case, defaults for missing
// keys and for integers that are not whole numbers, and writes that replace
// one key's line and leave every other line byte for byte as it was.
// Values are 8-bit (Windows-1252) text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

class IniFile {
  public:
    IniFile() = default;
    // A missing file gives an empty IniFile; an unreadable one throws FileError.
    static IniFile Load(const std::string& path);
    static IniFile FromBytes(std::string bytes);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          const std::string& fallback) const;
    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    bool GetBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the key's line, or adds it at the end of its section, or adds
    // the section at the end of the file.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Bytes() const { return bytes_; }
    // Writes the file through a temporary file beside it. Throws FileError.
    void Save(const std::string& path) const;

  private:
    std::string bytes_;
};

// Load, set one key, save: WritePrivateProfileString.
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

} // namespace orvane
