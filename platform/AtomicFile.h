// A file written beside its target under a temporary name and renamed into
// place by Commit(). Until then the target stays as it was; a writer that is
// destroyed without Commit() removes its temporary file.
//
// The target is refused when it is read-only; a symbolic link stays a link
// (the file it points to is replaced), unless the writer is told to replace
// the link itself (an extraction, which never writes through a link). Commit() puts the bytes on
// the disk before the rename and the rename on the disk after it, so a power cut leaves the old
// file or the new one, never a truncated one. Temporaries of the same target left behind by
// processes that no longer run are removed.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/FileTexts.h"

#include <string>
#include <string_view>

namespace orvane {

// What a symbolic link at the target becomes.
enum class LinkAtTarget {
    Follow,  // the file it points to gets the new bytes; the link stays
    Replace, // the link itself is replaced by the new file; what it points to is untouched
};

class AtomicFile {
  public:
    // readOnlyText: the refusal for a read-only target, "%s" standing for
    // the target's name.
    explicit AtomicFile(std::string target, BiText readOnlyText = txt::ReadOnlyTarget,
                        LinkAtTarget links = LinkAtTarget::Follow);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    BinaryFile& File() { return file_; }
    const std::string& Target() const { return target_; }
    const std::string& TemporaryPath() const { return temp_; }

    // Flushes, syncs, closes and renames the temporary file over the target.
    // On failure the temporary is removed and the target is as it was.
    void Commit();
    // Closes and removes the temporary file; the target is untouched.
    void Discard();

    // The prefix every temporary of `target` starts with (its folder included).
    static std::string TemporaryPrefixFor(const std::string& target);

  private:
    std::string target_; // the file actually replaced (a link's destination)
    std::string temp_;
    bool replacesLink_ = false; // target_ is a link that the new file replaces
    BinaryFile file_;
    bool done_ = false;
};

// Writes a whole byte string to path through an AtomicFile.
void WriteFileAtomically(const std::string& path, const std::string& bytes,
                         BiText readOnlyText = txt::ReadOnlyTarget);

} // namespace orvane
