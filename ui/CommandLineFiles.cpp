#include "ui/CommandLineFiles.h"

#include "database/Archive.h"
#include "database/DbdFile.h"
#include "exchange/TableFormats.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "ui/commands/ExchangeCommands.h"
#include "ui/commands/FileCommands.h"

namespace orvane {

void CommandLineFiles::Open(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    OpenOne(paths.front());
    const Lang lang = c_.lang();
    const std::string first = FileNameOf(paths.front());
    const int others = static_cast<int>(paths.size()) - 1;
    if (others == 1)
        c_.ui.ShowMessage(MessageKind::Information,
                          Format(txt::CommandLineOtherLeft.In(lang), first.c_str()));
    else if (others > 1)
        c_.ui.ShowMessage(MessageKind::Information,
                          Format(txt::CommandLineOthersLeft.In(lang), others, first.c_str()));
}

// By the format table's row of the file's name: the archives and the
// templates have their own open, an exchange file opens as its menu's open
// does, any other readable file as a DBD.
void CommandLineFiles::OpenOne(const std::string& path) {
    const TableFormat* format = FormatOfPath(path);
    if (format && format->id == TableFormatId::Template)
        OpenTemplate(path);
    else if (format && format->id == TableFormatId::Archive)
        OpenArchive(path);
    else if (format && format->import)
        exchange_.Import(format->id, path, ImportMode::Open);
    else if (format && format->read)
        files_.LoadDbd(path);
    else
        c_.ui.ShowMessage(MessageKind::Error,
                          Format(txt::CommandLineUnknownKind.In(c_.lang()), path.c_str()));
}

// An archive of the simulator's database opens its table, as "Open a DBD
// file from a POD" does. Any other archive (textures, scenery) holds no
// table of its name: the user may list its files instead.
void CommandLineFiles::OpenArchive(const std::string& path) {
    const std::string entry = TableEntryOf(path);
    bool holdsTable = true;
    {
        ArchiveFile pod(path);
        if (pod.IsOpen()) {
            try {
                pod.ReadHeader();
                pod.ReadDirectory();
                holdsTable = pod.FindEntry(entry) >= 0;
            } catch (const std::exception&) {
                // Damaged: the load below says how, in the usual words.
            }
        }
    }
    if (holdsTable) {
        files_.LoadArchive(path);
        return;
    }
    const std::string question =
        Format(txt::CommandLineNoTable.In(c_.lang()), path.c_str(), Cp1252ToUtf8(entry).c_str());
    if (c_.ui.Confirm(question) && ShowArchiveEntries) ShowArchiveEntries(path);
}

// A template alone holds no records: its definitions page shows its fields.
void CommandLineFiles::OpenTemplate(const std::string& path) {
    const std::string dataType = UpperDataTypeOf(path);
    ArchiveFile pod;
    TemplateInfo info;
    LoadTemplate(pod, path, dataType, c_.ui, &info);
    LoadOutcome outcome;
    outcome.templateLoaded = true;
    outcome.definitions = MakeDefinitionPage(dataType, info, c_.lang() == Lang::English);
    c_.view.ShowLoad(outcome);
    if (ShowDefinitions) ShowDefinitions();
}

} // namespace orvane
