#include "ui/commands/FileCommands.h"

#include "platform/Paths.h"
#include "settings/Texts.h"

namespace orvane {

std::string FileCommands::ArchiveFolder() const {
    if (s_.FlyDir.empty()) return {};
    return WithTrailingSeparator(ResolvePathCase(JoinPath(s_.FlyDir, "system")));
}

std::optional<std::string> FileCommands::ChooseArchive() {
    FileDialogRequest r;
    r.filter =
        s_.OpenFilter.empty() ? std::string(txt::OpenFilterAll.In(s_.Language_())) : s_.OpenFilter;
    r.initialFolder = ArchiveFolder();
    auto path = ui_.OpenFile(r);
    if (!path) return std::nullopt;
    const std::string ext = ToUpperAscii(ExtensionOf(*path));
    if (ext != ".POD" && ext != ".EPD") return std::nullopt; // silently, as a wrong pick
    return path;
}

std::optional<std::string> FileCommands::ChooseDbd() {
    FileDialogRequest r;
    r.filter = txt::OpenDbdFilter.In(s_.Language_());
    r.initialFolder = s_.WorkDir;
    r.defaultExtension = "dbd";
    auto path = ui_.OpenFile(r);
    if (!path) return std::nullopt;
    if (ToUpperAscii(ExtensionOf(*path)) != ".DBD") return std::nullopt;
    return path;
}

LoadOutcome FileCommands::LoadArchive(const std::string& path) {
    return OpenDbdFromArchive(s_, path, {}, ui_, busy_);
}

LoadOutcome FileCommands::LoadDbd(const std::string& path) {
    return OpenDbdFromDisk(s_, path, {}, ui_, busy_);
}

std::optional<std::string> FileCommands::ChooseSaveTarget() {
    const Lang lang = s_.Language_();
    FileDialogRequest r;
    r.title = txt::SaveDbdTitle.In(lang);
    r.filter = txt::SaveDbdFilter.In(lang);
    r.initialFolder = s_.WorkDir;
    r.fileName = s_.DataType + ".dbd";
    r.defaultExtension = "dbd";
    r.confirmOverwrite = true;
    return ui_.SaveFile(r);
}

int FileCommands::Save(const std::string& path, bool selectionOnly) {
    return SaveDbd(s_, path, selectionOnly, busy_);
}

} // namespace orvane
