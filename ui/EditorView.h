// The main window as the commands see it: what they ask it to show. The
// window implements it; the commands reach it through their context.
#pragma once

#include "database/SessionState.h"

#include <string>

namespace orvane {

struct LoadOutcome;
struct ImportOutcome;
struct SearchHit;

// The main window as the commands see it: what they ask it to show.
class EditorView {
  public:
    virtual ~EditorView() = default;
    // A load ran: definitions, columns, status text, menus, labels.
    virtual void ShowLoad(const LoadOutcome& outcome) = 0;
    // Rows were added, removed or emptied; refit the columns when the
    // table's columns changed too.
    virtual void ShowRows(bool refitColumns) = 0;
    // The selection counters changed: their labels, and what they make available.
    virtual void ShowSelection(bool selectLabel, bool deleteLabel) = 0;
    // True when the table holds no unsaved change or the user lets it go.
    virtual bool MayReplaceTable() = 0;
    // The version panel and the version marks (0: none marked).
    virtual void ShowVersion(int version) = 0;
    virtual void MarkVersion(int version) = 0;
    // An exchange-file import ran (an open replaces the table, an add appends).
    virtual void ShowImport(const ImportOutcome& outcome) = 0;
    // A short note in the status bar that goes after a while.
    virtual void ShowNote(const std::string& text) = 0;
    // The normal or direct-write mode: Edition group, heading sort, menus.
    virtual void ShowMode(EditMode mode) = 0;
    // A search hit: the row current, shown and selected whole, the row captions.
    virtual void ShowSearchHit(const SearchHit& hit) = 0;
    // Scrolls the grid to a table row without making it current.
    virtual void ScrollToRow(int tableRow) = 0;
};

} // namespace orvane
