// The DEX and CSV commands (open, export all or the selection, add to the
// table) and the DBD saves: every writer of the table is a row here. Each is split into the
// question (a file dialog through the seam) and the work (one core call, with a progress dialog
// when it runs long), so tests can reach both halves.
#pragma once

#include "database/DbdFile.h"
#include "exchange/DexFile.h"
#include "exchange/TableFormats.h"
#include "ui/commands/Command.h"
#include "ui/commands/CommandContext.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// Dex and Csv import and export; the other rows of the format table export.
using ExchangeFormat = TableFormatId;

class ExchangeCommands {
  public:
    explicit ExchangeCommands(CommandContext context);

    // Run by the opens before they ask for a file: back to the normal mode.
    std::function<void()> LeaveDirectWrite;
    // The DBD saves' rows and the exchange menus' rows.
    CommandTable Commands();
    // "Enregistrer": the whole table to the DBD it came from or was last
    // saved to, without a question; a table out of an archive, a DEX or a
    // CSV file asks where first, once. True when the table was saved.
    bool SaveTable();
    // "Save as": asks where, then saves the whole table there.
    bool SaveAs();
    // Told of every DBD the whole table was saved to.
    std::function<void(const std::string& path)> Saved;
    // A saved selection is not the whole table: the unsaved mark stays.
    void SaveSelection();
    // The save dialog: DataType + ".dbd" proposed in WorkDir.
    std::optional<std::string> ChooseSaveTarget();

    void OpenDex() { Open(ExchangeFormat::Dex); }
    void ExportAllDex() { Export(ExchangeFormat::Dex, false); }
    void ExportSelectionDex() { Export(ExchangeFormat::Dex, true); }
    void AddDex() { Add(ExchangeFormat::Dex); }
    void OpenCsv() { Open(ExchangeFormat::Csv); }
    void ExportAllCsv() { Export(ExchangeFormat::Csv, false); }
    void ExportSelectionCsv() { Export(ExchangeFormat::Csv, true); }
    void AddCsv() { Add(ExchangeFormat::Csv); }

    // The open dialog of an import: the file picked, nullopt on Cancel.
    std::optional<std::string> ChooseImport(ExchangeFormat format);
    // The save dialog of an export: DataType proposed in WorkDir.
    std::optional<std::string> ChooseExport(ExchangeFormat format);
    // The work halves.
    void Import(ExchangeFormat format, const std::string& path, ImportMode mode);
    int ExportTo(ExchangeFormat format, const std::string& path, bool selectionOnly);

  private:
    void SaveWhole(const std::string& path);
    void Open(ExchangeFormat format);
    void Add(ExchangeFormat format);
    void Export(ExchangeFormat format, bool selectionOnly);

    CommandContext c_;
    // The export items of the format table's other export targets, with
    // their names and captions (they stay in place: the rows point at them).
    struct OtherExport {
        TableFormatId format;
        std::string allName, selectionName;
        std::string allFr, allEn, selectionFr, selectionEn;
    };
    std::vector<OtherExport> otherExports_;
};

} // namespace orvane
