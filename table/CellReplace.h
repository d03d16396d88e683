// The rule of "Find and replace" on one cell's text: plain text or a
// regular expression (ECMAScript, $1…$9 and $& in the replacement), the
// whole cell or every occurrence in it, with or without regard to case
// (Windows-1252 letters fold, accented ones too, in plain text; a regular
// expression folds ASCII letters). Texts are 8-bit, as the cells.
#pragma once

#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

namespace orvane {

struct ReplaceRule {
    std::string find;        // 8-bit
    std::string replacement; // 8-bit
    bool regex = false;
    bool wholeCell = false;
    bool matchCase = false;
};

class CellReplacer {
  public:
    // std::regex_error for a regular expression that does not compile.
    explicit CellReplacer(ReplaceRule rule);
    // Whether the rule finds something in the cell.
    bool Finds(std::string_view cell) const;
    // The cell's text after the replacement; nullopt when nothing matched.
    std::optional<std::string> Replace(std::string_view cell) const;

  private:
    ReplaceRule rule_;
    std::string foldedFind_;
    std::optional<std::regex> regex_;
};

// Windows-1252 text in lower case (accented capitals included).
std::string FoldCase(std::string_view text);

} // namespace orvane
