#include "ui/commands/FileCommands.h"

#include "exchange/TableFormats.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "ui/grid/RecordGridModel.h"

namespace orvane {

void FileCommands::OpenFromArchive() {
    if (!c_.view.MayReplaceTable()) return;
    if (auto path = ChooseArchive()) LoadArchive(*path);
}

void FileCommands::OpenDbdFile() {
    if (!c_.view.MayReplaceTable()) return;
    if (auto path = ChooseDbd()) LoadDbd(*path);
}

CommandTable FileCommands::Commands() {
    return {
        {"POD_ouvrir",
         txt::MenuPodOuvrir,
         Place::DbdMenu,
         {"Ctrl+O"},
         When::Always,
         [this] { OpenFromArchive(); }},
        {"DBD_ouvrir",
         txt::MenuDbdOuvrir,
         Place::DbdMenu,
         {"Ctrl+Shift+O"},
         When::Always,
         [this] { OpenDbdFile(); }},
    };
}

std::string FileCommands::ArchiveFolder() const {
    if (c_.session.FlyDir.empty()) return {};
    return WithTrailingSeparator(ResolvePathCase(JoinPath(c_.session.FlyDir, "system")));
}

std::optional<std::string> FileCommands::ChooseArchive() {
    FileDialogRequest r;
    r.filter = c_.session.OpenFilter.empty() ? std::string(txt::OpenFilterAll.In(c_.lang()))
                                             : c_.session.OpenFilter;
    r.initialFolder = ArchiveFolder();
    auto path = c_.ui.OpenFile(r);
    if (!path) return std::nullopt;
    if (!IsFormat(*path, TableFormatId::Archive)) return std::nullopt; // silently, as a wrong pick
    return path;
}

std::optional<std::string> FileCommands::ChooseDbd() {
    FileDialogRequest r;
    const TableFormat& dbd = FormatById(TableFormatId::Dbd);
    r.filter = dbd.openFilter->In(c_.lang());
    r.initialFolder = c_.session.WorkDir;
    r.defaultExtension = dbd.DefaultSuffix();
    auto path = c_.ui.OpenFile(r);
    if (!path) return std::nullopt;
    if (!IsFormat(*path, TableFormatId::Dbd)) return std::nullopt;
    return path;
}

bool FileCommands::Apply(const std::function<LoadOutcome()>& load) {
    LoadOutcome outcome;
    {
        RecordGridModel::Reset reset(c_.model);
        outcome = load();
    }
    c_.view.ShowLoad(outcome);
    return outcome.loaded;
}

bool FileCommands::LoadArchive(const std::string& path) {
    QtProgress progress(c_.progress, txt::ProgressLoad, FileNameOf(path), c_.lang());
    return Apply([&] {
        return OpenDbdFromArchive(c_.session, path, {}, c_.ui, c_.busy, progress.Callback());
    });
}

bool FileCommands::LoadDbd(const std::string& path) {
    QtProgress progress(c_.progress, txt::ProgressLoad, FileNameOf(path), c_.lang());
    return Apply(
        [&] { return OpenDbdFromDisk(c_.session, path, {}, c_.ui, c_.busy, progress.Callback()); });
}

} // namespace orvane
