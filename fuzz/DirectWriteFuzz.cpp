// The in-place record write against a copy of any archive: the table is
// loaded from the archive's own DBD entry and template, then one row (chosen
// by the input) is written back. Whatever happens, every byte of the copy
// outside that row's record stays as it was.
#include "FuzzSupport.h"

#include "database/DirectWrite.h"
#include "platform/Errors.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const char* extension = fuzz::ArchiveExtension(in.Byte());
    const int row = in.Byte();
    const std::string_view bytes = in.Rest();
    const std::string& path = fuzz::RamFiles::Get().Put(std::string("NAVAID") + extension, bytes);

    UnattendedInteraction ui;
    SessionState s;
    s.SimulatorVersion = 2;
    try {
        if (!OpenDbdFromArchive(s, path, "", ui, &ui).loaded) return 0;
    } catch (const OrvaneError&) {
        return 0;
    }
    // Where the row's record lies, as the write will find it.
    std::int64_t begin = -1, end = -1;
    const ArchiveFile& pod = *s.CurrentPod;
    const int index = pod.FindEntry("DATABASE\\NAVAID.DBD");
    if (index >= 0) {
        begin = RecordPosition(pod.Entries()[std::size_t(index)].offset, row, pod.Dbd.RecordSize());
        end = begin + pod.Dbd.RecordSize();
    }
    bool written = false;
    try {
        written = WriteCurrentRow(s, row, ui) == DirectWriteOutcome::Written;
    } catch (const OrvaneError&) {
    }
    s.CurrentPod.reset(); // closes the archive
    const std::string after = fuzz::RamFiles::Read(path);
    fuzz::Require(after.size() == bytes.size(), "the write changed the archive's size");
    if (!written) {
        fuzz::Require(after == bytes, "a write that failed changed the archive");
        return 0;
    }
    fuzz::Require(begin >= 0 && end <= std::int64_t(bytes.size()),
                  "a record written outside the archive");
    fuzz::Require(after.compare(0, std::size_t(begin), bytes, 0, std::size_t(begin)) == 0 &&
                      after.compare(std::size_t(end), std::string::npos, bytes, std::size_t(end)) ==
                          0,
                  "a write changed bytes outside its record");
    return 0;
}
