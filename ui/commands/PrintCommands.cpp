#include "ui/commands/PrintCommands.h"

#include "ui/dialogs/PrintRangeDialog.h"
#include "ui/print/GridPrinter.h"
#include "ui/qt/QtText.h"

#include <QLineEdit>
#include <QTableView>

namespace orvane {

CommandTable PrintCommands::Commands() {
    return {{"Imprimer", txt::MenuImprimer, Place::MenuBar, {"Ctrl+P"}, When::Always, [this] {
                 PrintTable();
             }}};
}

void PrintCommands::Attach(QWidget* window, QTableView* grid) {
    window_ = window;
    grid_ = grid;
}

void PrintCommands::PrintTable() {
    // The file printed to last, while the program runs; else one in the work folder.
    printer_ = c_.ui.ChoosePrinter(
        {lastFile_.empty() ? SuggestedPrintFile(c_.session.WorkDir, c_.session.DataType)
                           : lastFile_});
    if (!printer_) return;
    if (!printer_->outputFile.empty()) lastFile_ = printer_->outputFile;
    if (!form_) {
        form_ = new PrintRangeDialog(c_.session, c_.ui, window_);
        form_->Print = [this](const PrintRange& range) { Print(range); };
    }
    form_->PresetColumnCount(MaxiColumnPreset(c_.session.Table));
    form_->exec();
}

void PrintCommands::Print(const PrintRange& range) {
    if (!printer_) return;
    const RecordTable& table = c_.session.Table;
    PrintSheet sheet;
    sheet.columnCount = table.ColumnCount();
    sheet.rowCount = table.RowCount();
    sheet.cell = [&table](int c, int r) { return CellToQString(table.Cell(c, r)); };
    QAbstractItemModel* model = grid_ ? grid_->model() : nullptr;
    sheet.screenWidth = [this](int c) { return grid_ ? grid_->columnWidth(c) : 80; };
    sheet.alignment = [model](int c) {
        if (!model || model->rowCount() == 0) return Qt::Alignment(Qt::AlignLeft);
        return Qt::Alignment(model->index(0, c).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    // Pages of the later column bands repeat these, to match them to their rows.
    sheet.repeatedColumns = {kColNumber, kFirstFieldColumn};
    BusyScope busy(c_.busy);
    lastPages_ = PrintRangeOf(*printer_, sheet, range, PrintLook{});
}

} // namespace orvane
