// The search of the main window: the exact ("Cherche =") and partial
// ("Cherche *") search of one column of the record table, first from the top,
// then on from the row below the last hit. The window keeps a SearchState,
// wires its buttons and search box to it and shows what a press returns.
#pragma once

#include "platform/UserInteraction.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <string>
#include <string_view>

namespace orvane {

enum class SearchMode { Exact, Partial };

// Both rules are case-sensitive; an empty text matches nothing.
bool CellMatches(std::string_view cell, std::string_view text, SearchMode mode);

// The search column before the user chose one: every column of the row
// but the two marks, the row number first.
inline constexpr int kAllColumns = 0;

// The first data row from fromRow down whose cell in column matches; 0 when
// none (also for a column the table no longer has, or fromRow past the end).
// hitColumn, when given, gets the column of the cell that matched.
int FindMatchingRow(const RecordTable& table, int column, std::string_view text, SearchMode mode,
                    int fromRow, int* hitColumn = nullptr);

// What a hit does to the window, as data.
struct SearchHit {
    int row = 0;           // the found row, now current
    int column = 0;        // the column of the cell that matched
    CellRect selection;    // the whole row, every column
    int currentColumn = 0; // the current cell moves to the last column
};

struct SearchResult {
    bool found = false;
    SearchHit hit; // when found
};

class SearchState {
  public:
    // The column searched; kAllColumns until a field cell is clicked.
    int SearchColumn = 0;
    // The row of the last hit of either search; 0 at start.
    int LastFoundRow = 0;

    // True when the button shows its "next" caption.
    bool InNextState(SearchMode mode) const;
    // "Cherche =" / "Find =", "Suivant =" / "Next =", "Cherche *" / "Find *",
    // "Suivant *" / "Next *".
    std::string Caption(SearchMode mode, Lang lang) const;

    // A press of btnChercher1 (Exact) or btnChercher2 (Partial). text is 8-bit
    // like the cells. A hit makes the row current and selects it in the table,
    // sets LastFoundRow and puts the button in its next state; no hit shows the
    // mode's message through ui and puts the button in its find state.
    SearchResult Press(SearchMode mode, RecordTable& table, std::string_view text,
                       UserInteraction& ui);

    // The user changed the search text: both buttons back to their find state.
    void TextChanged();
    // A click on a field cell: the column searched, and the exact button back
    // to its find state (the partial one keeps its state).
    void FieldCellClicked(int column);
    // The airport lookup filled the search box with a record's key: the
    // key's column is searched (when the table has one, whatever column was
    // clicked before) and the exact button goes back to find.
    void LookupFilled(int keyColumn) {
        if (keyColumn >= kFirstFieldColumn) SearchColumn = keyColumn;
        exactNext_ = false;
    }

  private:
    bool exactNext_ = false;
    bool partialNext_ = false;
};

} // namespace orvane
