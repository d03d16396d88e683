#include "ui/commands/ExchangeCommands.h"

#include "platform/Paths.h"
#include "settings/Texts.h"
#include "table/History.h"
#include "ui/commands/UndoCommands.h"
#include "ui/grid/RecordGridModel.h"

#include <optional>

namespace orvane {

ExchangeCommands::ExchangeCommands(CommandContext context) : c_(context) {
    for (const TableFormat& f : TableFormats()) {
        if (f.exportMenu != ExportMenu::Shared) continue;
        const std::string name(f.name);
        otherExports_.push_back({f.id, name + "_Enregistrer_tout", name + "_Enregistrer_select",
                                 Format(txt::MenuExportAllAs.fr, name.c_str()),
                                 Format(txt::MenuExportAllAs.en, name.c_str()),
                                 Format(txt::MenuExportSelectionAs.fr, name.c_str()),
                                 Format(txt::MenuExportSelectionAs.en, name.c_str())});
    }
}

// Every writer of the table, in its menu's order: the DBD saves, then each
// exchange menu (open, the exports, the add), then the exports of the other
// formats of the format table.
CommandTable ExchangeCommands::Commands() {
    CommandTable rows = {
        {"Enregistrer",
         txt::MenuEnregistrer,
         Place::DbdMenu,
         {"Ctrl+S"},
         When::TableLoaded,
         [this] { SaveTable(); },
         true},
        {"DBD_Enregistrer_tout",
         txt::MenuDbdEnregistrerTout,
         Place::DbdMenu,
         {"Ctrl+Shift+S"},
         When::DbdLoaded,
         [this] { SaveAs(); }},
        {"DBD_Enregistrer_select",
         txt::MenuDbdEnregistrerSelect,
         Place::DbdMenu,
         {},
         When::DbdSelection,
         [this] { SaveSelection(); }},
        {"DEX_ouvrir", txt::MenuDexOuvrir, Place::DexMenu, {}, When::Always, [this] { OpenDex(); }},
        {"DEX_Enregistrer_tout",
         txt::MenuDexEnregistrerTout,
         Place::DexMenu,
         {},
         When::TableLoaded,
         [this] { ExportAllDex(); },
         true},
        {"DEX_Enregistrer_select",
         txt::MenuDexEnregistrerSelect,
         Place::DexMenu,
         {},
         When::Selection,
         [this] { ExportSelectionDex(); }},
        {"DEX_Ajouter",
         txt::MenuDexAjouter,
         Place::DexMenu,
         {},
         When::AddToTable,
         [this] { AddDex(); },
         true},
        {"CSV_Import", txt::MenuCsvImport, Place::CsvMenu, {}, When::Always, [this] { OpenCsv(); }},
        {"CSV_Enregistrer_tout",
         txt::MenuCsvEnregistrerTout,
         Place::CsvMenu,
         {},
         When::TableLoaded,
         [this] { ExportAllCsv(); },
         true},
        {"CSV_Enregistrer_select",
         txt::MenuCsvEnregistrerSelect,
         Place::CsvMenu,
         {},
         When::Selection,
         [this] { ExportSelectionCsv(); }},
        {"CSV_Ajouter",
         txt::MenuCsvAjouter,
         Place::CsvMenu,
         {},
         When::AddToTable,
         [this] { AddCsv(); },
         true},
    };
    for (const OtherExport& e : otherExports_) {
        const TableFormatId id = e.format;
        rows.push_back({e.allName.c_str(),
                        BiText(e.allFr.c_str(), e.allEn.c_str()),
                        Place::GisExportMenu,
                        {},
                        When::TableLoaded,
                        [this, id] { Export(id, false); }});
        rows.push_back({e.selectionName.c_str(),
                        BiText(e.selectionFr.c_str(), e.selectionEn.c_str()),
                        Place::GisExportMenu,
                        {},
                        When::Selection,
                        [this, id] { Export(id, true); }});
    }
    return rows;
}

bool ExchangeCommands::SaveTable() {
    std::string target = c_.session.SaveTarget();
    if (target.empty()) {
        const auto path = ChooseSaveTarget();
        if (!path) return false;
        target = *path;
    }
    SaveWhole(target);
    return true;
}

bool ExchangeCommands::SaveAs() {
    const auto path = ChooseSaveTarget();
    if (path) SaveWhole(*path);
    return path.has_value();
}

// A failed save throws before anything is marked: the table stays unsaved.
void ExchangeCommands::SaveWhole(const std::string& path) {
    SaveDbd(c_.session, path, false, c_.ui, c_.busy);
    c_.session.SavedAs(path);
    if (Saved) Saved(path);
}

void ExchangeCommands::SaveSelection() {
    if (auto path = ChooseSaveTarget()) SaveDbd(c_.session, *path, true, c_.ui, c_.busy);
}

std::optional<std::string> ExchangeCommands::ChooseSaveTarget() {
    const Lang lang = c_.lang();
    FileDialogRequest r;
    r.title = txt::SaveDbdTitle.In(lang);
    const TableFormat& dbd = FormatById(TableFormatId::Dbd);
    r.filter = dbd.SaveFilter(lang);
    r.initialFolder = c_.session.WorkDir;
    r.fileName = c_.session.DataType + ".dbd";
    r.defaultExtension = dbd.DefaultSuffix();
    r.confirmOverwrite = true;
    return c_.ui.SaveFile(r);
}

void ExchangeCommands::Open(ExchangeFormat format) {
    if (!c_.view.MayReplaceTable()) return;
    // The open leaves the direct-write mode even when its dialog is cancelled.
    if (LeaveDirectWrite) LeaveDirectWrite();
    if (auto path = ChooseImport(format)) Import(format, *path, ImportMode::Open);
}

void ExchangeCommands::Add(ExchangeFormat format) {
    if (auto path = ChooseImport(format)) Import(format, *path, ImportMode::Add);
}

void ExchangeCommands::Export(ExchangeFormat format, bool selectionOnly) {
    if (auto path = ChooseExport(format)) {
        const int written = ExportTo(format, *path, selectionOnly);
        if (written > 0)
            c_.view.ShowNote(
                Format(txt::ExportDone.In(c_.lang(), written), written, FileNameOf(*path).c_str()));
    }
}

std::optional<std::string> ExchangeCommands::ChooseImport(ExchangeFormat format) {
    const TableFormat& f = FormatById(format);
    FileDialogRequest r;
    r.filter = f.openFilter->In(c_.lang());
    r.initialFolder = c_.session.WorkDir;
    r.defaultExtension = f.DefaultSuffix();
    return c_.ui.OpenFile(r);
}

std::optional<std::string> ExchangeCommands::ChooseExport(ExchangeFormat format) {
    const TableFormat& f = FormatById(format);
    FileDialogRequest r;
    r.title = txt::ExportSaveTitle.In(c_.lang());
    r.filter = f.SaveFilter(c_.lang());
    r.initialFolder = c_.session.WorkDir;
    r.fileName = c_.session.DataType;
    r.defaultExtension = f.DefaultSuffix();
    r.confirmOverwrite = true;
    return c_.ui.SaveFile(r);
}

void ExchangeCommands::Import(ExchangeFormat format, const std::string& path, ImportMode mode) {
    QtProgress progress(c_.progress, txt::ProgressImport, FileNameOf(path), c_.lang());
    ImportOutcome outcome;
    int added = 0;
    {
        RecordGridModel::Reset reset(c_.model);
        const auto import = [&] {
            outcome = FormatById(format).import(c_.session, path, mode, c_.ui, c_.busy, "",
                                                progress.Callback());
        };
        if (mode == ImportMode::Add) {
            // Rows added are one step, named by their count once known.
            const int rowsBefore = c_.session.Table.RowCount();
            StepName name = Step(txt::StepImport, 0);
            c_.session.ChangeTable(name, [&](RecordTable&) {
                import();
                if (StepName* open = c_.session.Undo.OpenName())
                    open->number = c_.session.Table.RowCount() - rowsBefore;
                return true;
            });
            added = c_.session.Table.RowCount() - rowsBefore;
        } else {
            import(); // an opened file starts a new history
        }
    }
    c_.view.ShowImport(outcome);
    if (mode == ImportMode::Add && outcome.tableChanged)
        c_.view.ShowNote(
            Format(txt::RecordsAddedNote.In(c_.lang(), added), added, FileNameOf(path).c_str()));
}

int ExchangeCommands::ExportTo(ExchangeFormat format, const std::string& path, bool selectionOnly) {
    QtProgress progress(c_.progress, txt::ProgressExport, FileNameOf(path), c_.lang());
    return FormatById(format).write(c_.session, path, selectionOnly, c_.ui, c_.busy,
                                    progress.Callback());
}

} // namespace orvane
