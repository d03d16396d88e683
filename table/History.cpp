#include "table/History.h"

#include <utility>
#include <variant>

namespace orvane {

std::string StepName::In(Lang lang) const {
    const char* format = counted ? counted->In(lang, number) : text.In(lang);
    if (word.empty()) return Format(format, number);
    return Format(format, word.c_str(), number);
}

namespace {

// Where the user was and what the counters said, before or after a step.
struct Place {
    std::int32_t selected = 0, deleted = 0;
    int column = 0, row = 1;
    CellRect selection;

    static Place Of(const RecordTable& t) {
        return {t.SelectedCount, t.DeleteCount, t.CurrentColumn(), t.CurrentRow(), t.Selection()};
    }
    void ApplyTo(RecordTable& t) const {
        t.SelectedCount = selected;
        t.DeleteCount = deleted;
        t.SetCurrentCell(column, row);
        t.SetSelection(selection);
    }
};

// Each change holds the other side of itself: applying it puts the table
// back to that side and keeps the side it leaves, so the same change undoes
// and redoes.
struct CellChange {
    int col, row;
    std::string text;
    void Apply(RecordTable& t) {
        std::string now(t.Cell(col, row));
        t.SetCell(col, row, text);
        text = std::move(now);
    }
};
struct RowsSwap {
    TakenRows rows;
    void Apply(RecordTable& t) { t.SwapRows(rows); }
};
struct RowsOut {
    TakenRows rows;
    bool inTable; // the rows stand in the table (else rows holds them)
    void Apply(RecordTable& t) {
        if (inTable)
            rows = t.TakeRows(rows.Positions());
        else
            t.PutRows(rows);
        inTable = !inTable;
    }
};
struct RowsOrder {
    std::vector<int> order;
    void Apply(RecordTable& t) {
        std::vector<int> inverse(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            inverse[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        t.ReorderRows(inverse);
        order = std::move(inverse);
    }
};
struct Columns {
    int count;
    void Apply(RecordTable& t) {
        const int now = t.ColumnCount();
        t.RestoreColumnCount(count);
        count = now;
    }
};

using Change = std::variant<CellChange, RowsSwap, RowsOut, RowsOrder, Columns>;

} // namespace

class History::Step : public TableJournal {
  public:
    Step(StepName name, const RecordTable& table)
        : name_(std::move(name)), before_(Place::Of(table)) {}

    void CellChanged(int col, int row, std::string_view before) override {
        changes_.push_back(CellChange{col, row, std::string(before)});
    }
    void RowsReplaced(TakenRows rows) override { changes_.push_back(RowsSwap{std::move(rows)}); }
    void RowsRemoved(TakenRows rows) override {
        changes_.push_back(RowsOut{std::move(rows), false});
    }
    void RowsInserted(std::vector<int> positions) override {
        changes_.push_back(RowsOut{TakenRows(std::move(positions)), true});
    }
    void RowsReordered(std::vector<int> order) override {
        changes_.push_back(RowsOrder{std::move(order)});
    }
    void ColumnsChanged(int before) override { changes_.push_back(Columns{before}); }

    bool Empty() const { return changes_.empty(); }
    void Close(const RecordTable& table) {
        after_ = Place::Of(table);
        changes_.shrink_to_fit();
    }
    void Undo(RecordTable& table) {
        for (auto it = changes_.rbegin(); it != changes_.rend(); ++it)
            std::visit([&](auto& c) { c.Apply(table); }, *it);
        before_.ApplyTo(table);
    }
    void Redo(RecordTable& table) {
        for (auto& change : changes_)
            std::visit([&](auto& c) { c.Apply(table); }, change);
        after_.ApplyTo(table);
    }
    std::size_t MemoryUsage() const {
        std::size_t bytes = sizeof(*this) + changes_.capacity() * sizeof(Change);
        for (const auto& change : changes_) {
            if (auto* cell = std::get_if<CellChange>(&change))
                bytes += cell->text.capacity() > 15 ? cell->text.capacity() : 0;
            else if (auto* swap = std::get_if<RowsSwap>(&change))
                bytes += swap->rows.MemoryUsage();
            else if (auto* out = std::get_if<RowsOut>(&change))
                bytes += out->rows.MemoryUsage();
            else if (auto* order = std::get_if<RowsOrder>(&change))
                bytes += order->order.capacity() * sizeof(int);
        }
        return bytes;
    }

    StepName name_;

  private:
    Place before_, after_;
    std::vector<Change> changes_;
};

History::History(std::size_t maxSteps) : maxSteps_(maxSteps == 0 ? 1 : maxSteps) {}
History::~History() = default;
History::History(History&&) noexcept = default;
History& History::operator=(History&&) noexcept = default;

void History::Notify() const {
    if (Changed) Changed();
}

void History::Sync(const RecordTable& table) {
    synced_ = table.Revision();
}

void History::Reset(const RecordTable& table) {
    steps_.clear();
    done_ = 0;
    clean_ = 0;
    Sync(table);
    Notify();
}

void History::Clear(const RecordTable& table) {
    const bool clean = IsClean(table);
    steps_.clear();
    done_ = 0;
    clean_ = clean ? 0 : -1;
    Sync(table);
    Notify();
}

void History::MarkClean(const RecordTable& table) {
    if (table.Revision() != synced_) {
        // Changed beside the history: its steps no longer lead here.
        steps_.clear();
        done_ = 0;
        Sync(table);
    }
    clean_ = static_cast<long long>(done_);
    Notify();
}

bool History::IsClean(const RecordTable& table) const {
    return table.Revision() == synced_ && clean_ == static_cast<long long>(done_);
}

void History::Adopt(const RecordTable& table, std::uint64_t revisionBefore) {
    if (revisionBefore == synced_) Sync(table);
}

bool History::Begin(RecordTable& table, StepName name) {
    if (open_) return false;
    if (table.Revision() != synced_) {
        // Something changed the table beside the history: its steps would
        // now take back the wrong rows.
        steps_.clear();
        done_ = 0;
        clean_ = -1;
        Sync(table);
    }
    open_ = std::make_unique<Step>(std::move(name), table);
    table.SetJournal(open_.get());
    return true;
}

void History::End(RecordTable& table) {
    if (!open_) return;
    table.SetJournal(nullptr);
    std::unique_ptr<Step> step = std::move(open_);
    if (step->Empty()) {
        Sync(table); // the revision may have risen with nothing changed
        return;
    }
    step->Close(table);
    steps_.resize(done_); // what was undone cannot be redone after a new change
    if (clean_ > static_cast<long long>(done_)) clean_ = -1;
    steps_.push_back(std::move(step));
    ++done_;
    if (steps_.size() > maxSteps_) {
        steps_.erase(steps_.begin());
        --done_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
    Sync(table);
    Notify();
}

void History::Discard(RecordTable& table) {
    if (!open_) return;
    table.SetJournal(nullptr);
    open_.reset();
    Sync(table);
}

void History::Abandon(RecordTable& table) {
    if (!open_) return;
    table.SetJournal(nullptr);
    open_->Undo(table);
    open_.reset();
    Sync(table);
}

StepName* History::OpenName() {
    return open_ ? &open_->name_ : nullptr;
}

bool History::CanUndo(const RecordTable& table) const {
    return !open_ && done_ > 0 && table.Revision() == synced_;
}

bool History::CanRedo(const RecordTable& table) const {
    return !open_ && done_ < steps_.size() && table.Revision() == synced_;
}

const StepName* History::UndoName() const {
    return done_ > 0 ? &steps_[done_ - 1]->name_ : nullptr;
}

const StepName* History::RedoName() const {
    return done_ < steps_.size() ? &steps_[done_]->name_ : nullptr;
}

bool History::Undo(RecordTable& table) {
    if (!CanUndo(table)) return false;
    steps_[--done_]->Undo(table);
    Sync(table);
    Notify();
    return true;
}

bool History::Redo(RecordTable& table) {
    if (!CanRedo(table)) return false;
    steps_[done_++]->Redo(table);
    Sync(table);
    Notify();
    return true;
}

std::size_t History::MemoryUsage() const {
    std::size_t bytes = sizeof(*this) + steps_.capacity() * sizeof(steps_[0]);
    for (const auto& step : steps_)
        bytes += step->MemoryUsage();
    return bytes;
}

} // namespace orvane
