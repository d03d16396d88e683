// A file written beside its target under a temporary name and renamed into
// place by Commit(). Until then the target stays as it was; a writer that is
// destroyed without Commit() removes its temporary file.
//
// The temporary is always a new file: its name holds a random part, and a
// name already taken (a file, or a link someone planted) is never opened but
// another name drawn. Nothing is removed or renamed under a temporary's name
// unless it is still the file this writer made, and the cleanup of stale
// temporaries removes regular files alone, never a link.
//
// The target is refused when it is read-only; a symbolic link stays a link
// (the file it points to is replaced, or made when the link points to
// nothing yet), unless the writer is told to replace the link itself (an
// extraction, which never writes through a link). Commit() puts the bytes on
// the disk before the rename and the rename on the disk after it, so a power
// cut leaves the old file or the new one, never a truncated one; a failure
// to put the rename on the disk is reported (the file is in place, its
// durability unknown). Temporaries of the same target left behind by
// processes that no longer run are removed.
//
// AtomicFileGroup does the same for many files at once (an extraction): each
// file is written once under its temporary name, then one sync puts all of
// them on the disk, they are renamed into place in the order given, and one
// more sync puts the renames on the disk.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/FileTexts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// What a symbolic link at the target becomes.
enum class LinkAtTarget {
    Follow,  // the file it points to gets the new bytes; the link stays
    Replace, // the link itself is replaced by the new file; what it points to is untouched
};

// Who removes the temporaries that dead processes left beside the target.
enum class StaleTemporaries {
    Remove,       // the writer, when it is made (a scan of the target's folder)
    LeftToCaller, // the caller, once per folder (RemoveStaleTemporariesIn)
};

class AtomicFile {
  public:
    // readOnlyText: the refusal for a read-only target, "%s" standing for
    // the target's name.
    explicit AtomicFile(std::string target, BiText readOnlyText = txt::ReadOnlyTarget,
                        LinkAtTarget links = LinkAtTarget::Follow,
                        StaleTemporaries stale = StaleTemporaries::Remove);
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
    // The temporary of `target` that a draw of the name source names.
    static std::string TemporaryPathFor(const std::string& target, std::uint64_t draw);

  private:
    friend class AtomicFileGroup;

    std::string target_; // the file actually replaced (a link's destination)
    std::string temp_;
    bool replacesLink_ = false; // target_ is a link that the new file replaces
    BinaryFile file_;
    FileIdentity made_; // the temporary as it was created
    bool done_ = false;
};

// Removes every temporary in folder whose process no longer runs, whatever
// its target.
void RemoveStaleTemporariesIn(const std::string& folder);

// Files written through AtomicFile and put into place together by Commit().
// Until then every target stays as it was; a group destroyed without
// Commit() removes the temporaries of the files it holds.
class AtomicFileGroup {
  public:
    AtomicFileGroup() = default;
    ~AtomicFileGroup();
    AtomicFileGroup(const AtomicFileGroup&) = delete;
    AtomicFileGroup& operator=(const AtomicFileGroup&) = delete;

    // Closes file, written to its end (a failure is a FileError and the file
    // is dropped), and keeps its temporary for Commit().
    void Add(AtomicFile& file);
    // A folder made for the group's files: its own entry goes to the disk too.
    void AddFolder(const std::string& folder);
    // Puts the files' bytes on the disk, renames each over its target in the
    // order they were added (a later file of the same target wins), then puts
    // the renames on the disk. A rename that fails stops there with a
    // FileError: the files before it are in place, the others are dropped.
    void Commit();
    // Removes the temporaries of the files not yet in place.
    void Discard();

  private:
    struct Pending {
        std::string temp;
        std::string target;
        bool replacesLink;
        FileIdentity made;
    };
    std::vector<Pending> pending_;
    std::vector<std::string> folders_; // made for the group
};

// The source of the random part of temporaries' names (the system's random
// numbers by default). Tests and fuzz targets put their own in place to plant
// files at the names the next temporaries try; returns the one before.
using TemporaryNameDraw = std::uint64_t (*)();
TemporaryNameDraw SetTemporaryNameDraw(TemporaryNameDraw draw);

// Writes a whole byte string to path through an AtomicFile.
void WriteFileAtomically(const std::string& path, const std::string& bytes,
                         BiText readOnlyText = txt::ReadOnlyTarget);

} // namespace orvane
