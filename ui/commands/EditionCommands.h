// The buttons of the "Edition" and "Export" boxes and the flag toggles of a
// mouse press: one core operation each, with the grid told what changed.
// The window writes the captions and labels that follow.
#pragma once

#include "table/TableOperations.h"

namespace orvane {

struct SessionState;
class RecordGridModel;

class EditionCommands {
  public:
    EditionCommands(SessionState& session, UserInteraction& ui, RecordGridModel& model)
        : s_(session), ui_(ui), model_(model) {}

    void InsertLine();
    void AppendLine();
    bool DeleteLine();
    bool EraseAll();
    bool DeleteSelection();
    bool SelectAll();
    bool SelectNone();
    bool SelectPart();
    // The press rule: the current cell in "Export" or "Suppr" toggles that
    // flag on the current row. False when the current column is another one.
    bool ToggleAtCurrentCell();

    SelectionDisplay Display() const;

  private:
    template <typename Op> bool Reshaping(Op op);
    template <typename Op> bool Confirmed(Op op);

    SessionState& s_;
    UserInteraction& ui_;
    RecordGridModel& model_;
};

} // namespace orvane
