// The "Chercher" box: the exact and partial search of the search column for
// the text of cbSrch (first hit, then the next ones; F3 repeats the last
// button; Enter in the box is the exact search), the search column chosen by
// a click on a field cell, and the airport lookup by ICAO code.
#pragma once

#include "table/Search.h"
#include "ui/commands/CommandContext.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QToolButton;

namespace orvane {

class CommandBoundary;

// The box's controls, owned by the main window.
struct SearchControls {
    QComboBox* searchBox = nullptr;
    QPushButton* findExactButton = nullptr;
    QPushButton* findPartialButton = nullptr;
    QLabel* fieldLabel = nullptr;
    QLineEdit* icaoBox = nullptr;
    QPushButton* icaoButton = nullptr;
    QToolButton* fieldChooser = nullptr; // beside lblNom: the field searched, from a list
};

class SearchCommands {
  public:
    explicit SearchCommands(CommandContext context) : c_(context) {}
    // The find box's buttons and the search keys.
    CommandTable Commands();

    // Connects the search box's own events (text typed, focus leaving,
    // Enter) and Enter in edOACI, each through the boundary.
    void Attach(const SearchControls& controls, const CommandBoundary& boundary);

    void FindExact() { Press(SearchMode::Exact); }
    void FindPartial() { Press(SearchMode::Partial); }
    // F3: the button pressed last, pressed again (the exact one at first).
    void FindNextClick() { Press(last_); }
    // Ctrl+F: the search box takes the focus, its text selected.
    void FocusSearchBox();
    void LookUpIcao();
    // The user changed the search text: both buttons back to "find".
    void SearchTextChanged();
    // The focus left the search box: its text goes at the end of its list.
    void SearchBoxLeft();
    // A click on a field cell or heading: the column searched, its title in lblNom.
    void FieldCellClicked(int column, const QString& title);
    // Ctrl+Shift+F: the current cell's field is searched (every field from
    // a mark column), and the search box takes the focus.
    void SearchCurrentColumn();
    // A field chosen from the list beside lblNom (kAllColumns: every field).
    void ChooseColumn(int column);
    // Another table came in: the search column follows the field of the
    // same title, or goes back to none.
    void TableLoaded();

    const SearchState& State() const { return state_; }

  private:
    void Press(SearchMode mode);
    // The column of the field that holds the text a record begins with.
    int KeyColumn() const;
    void ShowCaptions();

    CommandContext c_;
    SearchControls w_;
    SearchState state_;
    SearchMode last_ = SearchMode::Exact;
};

} // namespace orvane
