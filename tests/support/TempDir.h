// A scratch folder for one test: a unique folder under /tmp (or $TMPDIR),
// removed with everything in it when the object goes away.
#pragma once

#include <string>
#include <vector>

namespace orvane::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing separator.
    const std::string& Path() const { return path_; }
    // Path of name inside the folder (name may hold '/').
    std::string File(const std::string& name) const;
    // Writes bytes to name (creating its folders) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // The whole content of name; throws when it cannot be read.
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // Every regular file below the folder, as paths relative to it with '/',
    // sorted.
    std::vector<std::string> ListFiles() const;

  private:
    std::string path_;
};

} // namespace orvane::testing
