// A file written beside its target under a temporary name and renamed into
// place by Commit(). Until then the target stays as it was; a writer that is
// destroyed without Commit() removes its temporary file.
#pragma once

#include "platform/BinaryFile.h"

#include <string>

namespace orvane {

class AtomicFile {
  public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    BinaryFile& File() { return file_; }
    const std::string& Target() const { return target_; }
    const std::string& TemporaryPath() const { return temp_; }

    // Flushes, closes and renames the temporary file over the target.
    void Commit();
    // Closes and removes the temporary file; the target is untouched.
    void Discard();

  private:
    std::string target_;
    std::string temp_;
    BinaryFile file_;
    bool done_ = false;
};

// Writes a whole byte string to path through an AtomicFile.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

} // namespace orvane
