// The undo history of the record table: each step holds only what its
// command changed (old and new cell texts, the very rows a deletion took
// out, the order a sort left), so taking back "erase all" on a large table
// costs no copy of it. A step is recorded by attaching it to the table as
// its journal while the command runs (HistoryStep below).
#pragma once

#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

// What a step did, in the words of the Undo and Redo captions: a catalogue
// text with an optional %d and %s.
struct StepName {
    BiText text{"", ""};
    int number = 0;
    std::string word; // UTF-8
    // When set, the singular or plural of this text, chosen by number.
    const CountText* counted = nullptr;
    std::string In(Lang lang) const;
};

class History {
  public:
    // At most this many steps are kept; the oldest go first.
    explicit History(std::size_t maxSteps = 200);
    ~History();
    History(History&&) noexcept;
    History& operator=(History&&) noexcept;

    // A new history for a table just loaded: no step, the table as it stands
    // is the saved state.
    void Reset(const RecordTable& table);
    // The steps go (the mode changed, the rows now stand for other records);
    // whether the table is saved stays known.
    void Clear(const RecordTable& table);
    // The table was saved whole: the unsaved mark follows this point.
    void MarkClean(const RecordTable& table);
    // The table holds no change since it was loaded or saved: true after
    // undoing back to that point, false after any change made beside the
    // history.
    bool IsClean(const RecordTable& table) const;
    // A change that is no step and leaves the steps valid (the flag headings
    // rewritten in another language): the history goes on from here.
    // revisionBefore: the table's revision before that change.
    void Adopt(const RecordTable& table, std::uint64_t revisionBefore);

    // Recording (HistoryStep does this): Begin attaches a new step to the
    // table; End detaches it and keeps it when it changed anything. Steps
    // do not nest: a Begin while one is open joins it (false).
    bool Begin(RecordTable& table, StepName name);
    void End(RecordTable& table);
    // Closes the open step without keeping it: the command was cancelled or
    // refused and put the table back as it found it, so there is nothing to
    // take back and the unsaved mark stays as it was.
    void Discard(RecordTable& table);
    // Takes back what the open step changed (the table, its counters and
    // current cell as they were) and closes it without keeping it: the
    // change was refused.
    void Abandon(RecordTable& table);
    bool Recording() const { return open_ != nullptr; }
    StepName* OpenName();

    bool CanUndo(const RecordTable& table) const;
    bool CanRedo(const RecordTable& table) const;
    const StepName* UndoName() const;
    const StepName* RedoName() const;
    // The table, its counters, current cell and selection as they were
    // before (after) the step. False when there is nothing to take back.
    bool Undo(RecordTable& table);
    bool Redo(RecordTable& table);

    std::size_t StepCount() const { return steps_.size(); }
    std::size_t MemoryUsage() const;
    // Called after every change of the history (captions, unsaved mark).
    std::function<void()> Changed;

  private:
    class Step;
    void Sync(const RecordTable& table);
    void Notify() const;

    std::size_t maxSteps_;
    std::vector<std::unique_ptr<Step>> steps_;
    std::size_t done_ = 0;     // steps_[0..done_) are in the table
    long long clean_ = 0;      // done_ at the saved state; -1: out of reach
    std::uint64_t synced_ = 0; // the table's revision the steps lead to
    std::unique_ptr<Step> open_;
};

// Records one command as one step, however it ends.
class HistoryStep {
  public:
    HistoryStep(History& history, RecordTable& table, StepName name)
        : history_(history), table_(table), owner_(history.Begin(table, std::move(name))) {}
    ~HistoryStep() {
        if (owner_) history_.End(table_);
    }
    HistoryStep(const HistoryStep&) = delete;
    HistoryStep& operator=(const HistoryStep&) = delete;
    // The name may depend on what the command did (rows added by an import).
    StepName* Name() { return owner_ ? history_.OpenName() : nullptr; }
    // The command left the table as it was: no step (see History::Discard).
    void Discard() {
        if (owner_) history_.Discard(table_);
        owner_ = false;
    }

  private:
    History& history_;
    RecordTable& table_;
    bool owner_;
};

} // namespace orvane
