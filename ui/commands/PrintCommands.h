// Printing of the table: "Imprimer" asks for the printer, then opens the
// print range window, which prints a rectangle of the table or all of it.
#pragma once

#include "forms/Pagination.h"
#include "platform/UserInteraction.h"
#include "ui/commands/CommandContext.h"

#include <optional>
#include <vector>

class QTableView;
class QWidget;

namespace orvane {

class PrintRangeDialog;

class PrintCommands {
  public:
    explicit PrintCommands(CommandContext context) : c_(context) {}
    CommandTable Commands();

    // The window the print range window opens over, and the grid whose
    // column widths and alignments the printout keeps.
    void Attach(QWidget* window, QTableView* grid);

    // Menu "Imprimer" (Ctrl+P).
    void PrintTable();

    // Prints a range of the table on the printer chosen last.
    void Print(const PrintRange& range);

    PrintRangeDialog* Form() const { return form_; }
    // The pages of the last printout.
    const std::vector<PrintPage>& LastPages() const { return lastPages_; }

  private:
    CommandContext c_;
    QWidget* window_ = nullptr;
    QTableView* grid_ = nullptr;
    PrintRangeDialog* form_ = nullptr; // one for the whole run: its boxes keep their values
    std::optional<PrinterChoice> printer_;
    std::vector<PrintPage> lastPages_;
    std::string lastFile_; // the PDF file chosen last
};

} // namespace orvane
