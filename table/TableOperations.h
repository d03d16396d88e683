// The row and flag operations of the main window's "Edition" and "Export"
// boxes, with their confirmations through the user-interaction seam. Each
// returns true when it changed the table (false after Cancel).
#pragma once

#include "platform/UserInteraction.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <string>
#include <vector>

namespace orvane {

// The texts and states the window shows for the counters.
struct SelectionDisplay {
    std::string selectLabel; // "%d lignes sélectionnées" / "%d selected lines"
    std::string deleteLabel; // "%d lignes à supprimer" / "%d lines to delete"
};
SelectionDisplay RefreshSelectionDisplay(const RecordTable& table, Lang lang);

// fieldCount: the loaded template's field count; new rows get "0" in every
// field cell that exists.
void InsertLineAfter(RecordTable& table, int fieldCount);
void AppendLine(RecordTable& table, int fieldCount);
// count new rows at the end, numbered once.
void AppendLines(RecordTable& table, int fieldCount, int count);
bool DeleteLine(RecordTable& table, UserInteraction& ui, Lang lang);
bool EraseAll(RecordTable& table, UserInteraction& ui, Lang lang);
bool DeleteSelection(RecordTable& table, UserInteraction& ui, Lang lang);
// The selection commands act on the rows given (the rows a filter shows),
// or on every row when there are none.
bool SelectAll(RecordTable& table, UserInteraction& ui, Lang lang,
               const std::vector<int>* rows = nullptr);
bool SelectNone(RecordTable& table, UserInteraction& ui, Lang lang,
                const std::vector<int>* rows = nullptr);
bool SelectPart(RecordTable& table, UserInteraction& ui, Lang lang,
                const std::vector<int>* rows = nullptr);
void ToggleExport(RecordTable& table, int row);
void ToggleSuppr(RecordTable& table, int row);

} // namespace orvane
