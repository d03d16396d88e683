// The filter of the grid: one condition per column, typed as a user types
// it into the filter row under the headings, and the rows that meet all of
// them. A condition is
//   text     the cell contains the text, letters of either case alike;
//   =text    the cell is the text (numbers by value: "=5" keeps 5.0);
//   <n, >n   the cell reads as a number below (above) n;
//   <=n, >=n, <>text  and their obvious meanings.
// Numbers read with the session's decimal separator (a point always too).
// An empty condition keeps every row; a condition that cannot be read (">"
// with no number) keeps none, so a half-typed one shows an empty grid
// rather than a wrong one.
#pragma once

#include "table/RecordTable.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class RowFilter {
  public:
    // Sets (or, with an empty text, clears) the condition of a column.
    void Set(int column, std::string condition);
    void Clear() { conditions_.clear(); }
    bool Active() const { return !conditions_.empty(); }
    const std::map<int, std::string>& Conditions() const { return conditions_; }
    std::string ConditionOf(int column) const;

    bool Keeps(const RecordTable& table, int row, char decimalSeparator) const;
    // The data rows kept, in table order.
    std::vector<int> KeptRows(const RecordTable& table, char decimalSeparator) const;

  private:
    std::map<int, std::string> conditions_; // 8-bit, as the cells
};

// One condition against one cell's text (exposed for the tests).
bool ConditionKeeps(std::string_view condition, std::string_view cell, char decimalSeparator);

} // namespace orvane
