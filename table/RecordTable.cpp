#include "table/RecordTable.h"

#include "platform/DecimalText.h"
#include "platform/Errors.h"
#include "settings/Texts.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

namespace orvane {

// Memory for the rows of a load, taken in large blocks and given back all
// at once with the table: a million rows cost a few hundred allocations.
class TableArena {
  public:
    void* Allocate(std::size_t bytes) {
        bytes = (bytes + 7) & ~std::size_t{7};
        if (used_ + bytes > size_) {
            // Blocks double up to kBlock: a small table takes little memory.
            next_ = std::min(kBlock, next_ * 2);
            size_ = std::max(next_, bytes);
            blocks_.emplace_back(new char[size_]);
            used_ = 0;
        }
        void* p = blocks_.back().get() + used_;
        used_ += bytes;
        return p;
    }
    // Gives back the end of the latest allocation, `allocated` bytes at p, of
    // which `kept` stay in use.
    void Shrink(void* p, std::size_t allocated, std::size_t kept) {
        allocated = (allocated + 7) & ~std::size_t{7};
        kept = (kept + 7) & ~std::size_t{7};
        if (blocks_.empty() || kept > allocated) return;
        const char* top = blocks_.back().get() + used_;
        if (static_cast<char*>(p) + allocated == top) used_ -= allocated - kept;
    }

  private:
    static constexpr std::size_t kBlock = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0, size_ = 0, next_ = 8 << 10;
};

// One row in one allocation: a small header, the end offset of every cell
// (16-bit while the row's texts fit in 64 KiB, 32-bit beyond), then the texts
// back to back. Rows built by the loaders are exact; rows rebuilt by a cell
// edit keep some slack so that filling a row cell by cell stays cheap.
class TableRow {
  public:
    static std::unique_ptr<TableRow> Make(const std::string_view* cells, std::size_t count,
                                          std::size_t slack) {
        std::size_t total = 0;
        for (std::size_t i = 0; i < count; ++i)
            total += cells[i].size();
        if (total > std::numeric_limits<std::uint32_t>::max() / 2 ||
            count > std::numeric_limits<std::uint32_t>::max() / 4)
            throw RefusedError(txt::TableRowTooLarge);
        std::size_t capacity = total + slack;
        bool wide = total > 0xFFFF;
        if (!wide) capacity = std::min<std::size_t>(capacity, 0xFFFF);
        std::size_t offsetBytes = count * (wide ? 4 : 2);
        void* memory = ::operator new(sizeof(TableRow) + offsetBytes + capacity);
        TableRow* row = ::new (memory)
            TableRow(static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(capacity), wide);
        char* texts = row->Texts();
        std::size_t end = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (!cells[i].empty()) std::memcpy(texts + end, cells[i].data(), cells[i].size());
            end += cells[i].size();
            row->SetEnd(i, end);
        }
        return std::unique_ptr<TableRow>(row);
    }

    // A row from texts laid back to back, ends[i] being where cell i ends,
    // in the table's arena (rows of a load are made together and mostly
    // freed together).
    static std::unique_ptr<TableRow> MakePacked(std::string_view texts, const std::uint32_t* ends,
                                                std::size_t count, TableArena& arena) {
        const std::size_t total = count == 0 ? 0 : ends[count - 1];
        if (total > std::numeric_limits<std::uint32_t>::max() / 2 || total > texts.size())
            throw RefusedError(txt::TableRowTooLarge);
        const bool wide = total > 0xFFFF;
        const std::size_t offsetBytes = count * (wide ? 4 : 2);
        void* memory = arena.Allocate(sizeof(TableRow) + offsetBytes + total);
        TableRow* row = ::new (memory) TableRow(static_cast<std::uint32_t>(count),
                                                static_cast<std::uint32_t>(total), wide, true);
        if (total) std::memcpy(row->Texts(), texts.data(), total);
        if (wide)
            std::memcpy(row->Base(), ends, 4 * count);
        else
            for (std::size_t i = 0; i < count; ++i)
                row->SetEnd(i, ends[i]);
        return std::unique_ptr<TableRow>(row);
    }

    // A row of `count` cells whose texts, up to `room` bytes, are written in
    // place before Finish sets the cells' ends (the decoders' fast path).
    static TableRow* Start(std::size_t count, std::size_t room, TableArena& arena,
                           std::size_t& allocated) {
        if (room > std::numeric_limits<std::uint32_t>::max() / 2 ||
            count > std::numeric_limits<std::uint32_t>::max() / 4)
            throw RefusedError(txt::TableRowTooLarge);
        const bool wide = room > 0xFFFF;
        allocated = sizeof(TableRow) + count * (wide ? 4 : 2) + room;
        void* memory = arena.Allocate(allocated);
        return ::new (memory) TableRow(static_cast<std::uint32_t>(count),
                                       static_cast<std::uint32_t>(room), wide, true);
    }
    // The cells' ends (each within the room, ascending); the room beyond the
    // last one goes back to the arena. Returns the row's size in bytes.
    std::size_t Finish(const std::uint32_t* ends) {
        if (wide_)
            std::memcpy(Base(), ends, 4 * std::size_t{count_});
        else
            for (std::size_t i = 0; i < count_; ++i)
                SetEnd(i, ends[i]);
        capacity_ = count_ == 0 ? 0 : ends[count_ - 1];
        return Bytes();
    }
    char* TextsForWriting() { return Texts(); }

    // The storage came from ::operator new with the row's real size, or
    // from the table's arena, which frees it with the table.
    static void operator delete(TableRow* row, std::destroying_delete_t) {
        const bool inArena = row->inArena_;
        row->~TableRow();
        if (!inArena) ::operator delete(row);
    }

    std::size_t Count() const { return count_; }
    std::string_view Cell(std::size_t i) const {
        std::size_t begin = i == 0 ? 0 : End(i - 1);
        return {Texts() + begin, End(i) - begin};
    }
    // The first n cells, with one read of each end offset.
    void Cells(std::string_view* out, std::size_t n) const {
        const char* texts = Texts();
        std::size_t begin = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t end = End(i);
            out[i] = std::string_view(texts + begin, end - begin);
            begin = end;
        }
    }
    void Ends(std::uint32_t* out, std::size_t n) const {
        if (wide_) {
            std::memcpy(out, Base(), 4 * n);
            return;
        }
        // One width for the whole loop, which the compiler then widens
        // several ends at a time.
        const unsigned char* base = Base();
        for (std::size_t i = 0; i < n; ++i) {
            std::uint16_t v;
            std::memcpy(&v, base + 2 * i, 2);
            out[i] = v;
        }
    }
    std::string_view Texts(std::size_t bytes) const { return {Texts(), bytes}; }
    std::size_t Bytes() const { return sizeof(TableRow) + OffsetBytes() + capacity_; }
    std::size_t TextBytes() const { return count_ == 0 ? 0 : End(count_ - 1); }
    bool Holds(const char* p) const {
        auto* base = reinterpret_cast<const char*>(this);
        return p >= base && p < base + Bytes();
    }

    // Replaces cell i in place; false when the new text does not fit.
    bool Replace(std::size_t i, std::string_view text) {
        std::size_t begin = i == 0 ? 0 : End(i - 1);
        std::size_t end = End(i);
        std::size_t last = End(count_ - 1);
        std::size_t newLast = last - (end - begin) + text.size();
        if (newLast > capacity_) return false;
        char* texts = Texts();
        if (last > end) std::memmove(texts + begin + text.size(), texts + end, last - end);
        if (!text.empty()) std::memcpy(texts + begin, text.data(), text.size());
        for (std::size_t j = i; j < count_; ++j)
            SetEnd(j, End(j) - (end - begin) + text.size());
        return true;
    }

  private:
    TableRow(std::uint32_t count, std::uint32_t capacity, bool wide, bool inArena = false)
        : count_(count), capacity_(capacity), wide_(wide), inArena_(inArena) {}

    std::size_t OffsetBytes() const { return std::size_t{count_} * (wide_ ? 4 : 2); }
    unsigned char* Base() { return reinterpret_cast<unsigned char*>(this) + sizeof(TableRow); }
    const unsigned char* Base() const {
        return reinterpret_cast<const unsigned char*>(this) + sizeof(TableRow);
    }
    char* Texts() { return reinterpret_cast<char*>(Base() + OffsetBytes()); }
    const char* Texts() const { return reinterpret_cast<const char*>(Base() + OffsetBytes()); }

    std::size_t End(std::size_t i) const {
        if (wide_) {
            std::uint32_t v;
            std::memcpy(&v, Base() + 4 * i, 4);
            return v;
        }
        std::uint16_t v;
        std::memcpy(&v, Base() + 2 * i, 2);
        return v;
    }
    void SetEnd(std::size_t i, std::size_t end) {
        if (wide_) {
            auto v = static_cast<std::uint32_t>(end);
            std::memcpy(Base() + 4 * i, &v, 4);
        } else {
            auto v = static_cast<std::uint16_t>(end);
            std::memcpy(Base() + 2 * i, &v, 2);
        }
    }

    std::uint32_t count_;
    std::uint32_t capacity_; // bytes available for the texts
    bool wide_;
    bool inArena_;
};

TakenRows::TakenRows() = default;
TakenRows::TakenRows(std::vector<int> positions) : positions_(std::move(positions)) {}
TakenRows::~TakenRows() = default;
TakenRows::TakenRows(TakenRows&&) noexcept = default;
TakenRows& TakenRows::operator=(TakenRows&&) noexcept = default;

std::string_view TakenRows::Cell(std::size_t i, int col) const {
    if (i >= rows_.size() || !rows_[i] || col < 0) return {};
    const auto index = static_cast<std::size_t>(col);
    return index < rows_[i]->Count() ? rows_[i]->Cell(index) : std::string_view{};
}

std::size_t TakenRows::MemoryUsage() const {
    std::size_t bytes = positions_.capacity() * sizeof(int) + rows_.capacity() * sizeof(rows_[0]);
    for (const auto& row : rows_)
        if (row) bytes += row->Bytes();
    return bytes;
}

RecordTable::RecordTable() {
    rows_.resize(5);
    const std::string_view headings[] = {kHeadingNumber, "Modif", "Suppr", "Export"};
    rows_[0] = Row::Make(headings, 4, 0);
}

void RecordTable::Replace(RecordTable&& loaded) {
    const std::uint64_t revision = std::max(revision_, loaded.revision_) + 1;
    TableJournal* journal = journal_;
    *this = std::move(loaded);
    revision_ = revision;
    journal_ = journal;
}

// The rows go first: some of them live in the arena.
RecordTable::~RecordTable() {
    rows_.clear();
}
RecordTable::RecordTable(RecordTable&&) noexcept = default;
RecordTable& RecordTable::operator=(RecordTable&&) noexcept = default;

void RecordTable::ClampCurrent() {
    int rows = RowCount();
    int firstRow = rows > 1 ? 1 : 0;
    currentRow_ = std::clamp(currentRow_, firstRow, std::max(firstRow, rows - 1));
    currentColumn_ = std::clamp(currentColumn_, 0, std::max(0, columns_ - 1));
}

void RecordTable::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows == RowCount()) return;
    const int before = RowCount();
    if (journal_) {
        std::vector<int> positions;
        for (int r = std::min(rows, before); r < std::max(rows, before); ++r)
            positions.push_back(r);
        if (rows < before) {
            journal_->RowsRemoved(TakeRows(std::move(positions)));
            --revision_; // counted once below
        } else {
            journal_->RowsInserted(std::move(positions));
        }
    }
    rows_.resize(static_cast<std::size_t>(rows));
    ClampCurrent();
    ++revision_;
}

void RecordTable::SetColumnCount(int columns) {
    columns = std::max(columns, 0);
    if (columns == columns_) return;
    if (columns < columns_) {
        // Cells beyond the new width are dropped now, so a later widening
        // finds them empty.
        std::vector<std::string_view> cells;
        TakenRows old;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            auto& row = rows_[r];
            if (!row || row->Count() <= static_cast<std::size_t>(columns)) continue;
            cells.clear();
            for (int c = 0; c < columns; ++c)
                cells.push_back(row->Cell(c));
            auto made = Row::Make(cells.data(), cells.size(), 0);
            if (journal_) {
                old.positions_.push_back(static_cast<int>(r));
                old.rows_.push_back(std::move(row));
            }
            row = std::move(made);
        }
        if (journal_ && !old.rows_.empty()) {
            old.arena_ = arena_;
            journal_->RowsReplaced(std::move(old));
        }
    }
    if (journal_) journal_->ColumnsChanged(columns_);
    columns_ = columns;
    ClampCurrent();
    ++revision_;
}

std::string_view RecordTable::Cell(int col, int row) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= columns_) return {};
    const Row* r = rows_[static_cast<std::size_t>(row)].get();
    if (!r || static_cast<std::size_t>(col) >= r->Count()) return {};
    return r->Cell(static_cast<std::size_t>(col));
}

void RecordTable::RowCells(int row, std::vector<std::string_view>& cells) const {
    cells.assign(static_cast<std::size_t>(columns_), std::string_view());
    if (row < 0 || row >= RowCount()) return;
    const Row* r = rows_[static_cast<std::size_t>(row)].get();
    if (!r) return;
    r->Cells(cells.data(), std::min(r->Count(), cells.size()));
}

std::string_view RecordTable::RowTexts(int row, std::uint32_t* ends, std::size_t n) const {
    const Row* r =
        row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)].get() : nullptr;
    const std::size_t have = r ? std::min(r->Count(), n) : 0;
    if (have) r->Ends(ends, have);
    const std::uint32_t last = have ? ends[have - 1] : 0;
    for (std::size_t i = have; i < n; ++i)
        ends[i] = last;
    return r ? r->Texts(last) : std::string_view();
}

void RecordTable::SetCell(int col, int row, std::string_view text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= columns_) return;
    auto& r = rows_[static_cast<std::size_t>(row)];
    auto index = static_cast<std::size_t>(col);
    if (r && index < r->Count()) {
        if (r->Cell(index) == text) return;
        if (journal_) journal_->CellChanged(col, row, r->Cell(index));
        if (!text.empty() && r->Holds(text.data())) {
            // The text lives in this very row: the in-place move would overwrite it.
            std::string copy(text);
            SetCell(col, row, copy);
            return;
        }
        if (r->Replace(index, text)) {
            ++revision_;
            return;
        }
    } else if (text.empty()) {
        return; // already empty
    } else if (journal_) {
        journal_->CellChanged(col, row, {});
    }
    std::vector<std::string_view> cells(static_cast<std::size_t>(columns_));
    std::size_t total = text.size();
    if (r) {
        for (std::size_t i = 0; i < r->Count() && i < cells.size(); ++i) {
            cells[i] = r->Cell(i);
            if (i != index) total += cells[i].size();
        }
    }
    cells[index] = text;
    r = Row::Make(cells.data(), cells.size(), total / 2 + 16);
    ++revision_;
}

// A whole row replaced: the journal gets the old one.
void RecordTable::InstallRow(int row, std::unique_ptr<Row> made) {
    auto& r = rows_[static_cast<std::size_t>(row)];
    if (journal_) {
        TakenRows old({row});
        old.rows_.push_back(std::move(r));
        old.arena_ = arena_;
        journal_->RowsReplaced(std::move(old));
    }
    r = std::move(made);
    ++revision_;
}

void RecordTable::SetRowCells(int row, const std::vector<std::string_view>& cells) {
    if (row < 0 || row >= RowCount()) return;
    std::size_t count = std::min(cells.size(), static_cast<std::size_t>(columns_));
    InstallRow(row, count == 0 ? nullptr : Row::Make(cells.data(), count, 0));
}

void RecordTable::SetRowPacked(int row, std::string_view texts, const std::uint32_t* ends,
                               std::size_t count) {
    if (row < 0 || row >= RowCount()) return;
    count = std::min(count, static_cast<std::size_t>(columns_));
    InstallRow(row, count == 0 ? nullptr : Row::MakePacked(texts, ends, count, RowArena()));
}

char* RecordTable::BeginPackedRow(std::size_t room) {
    pending_ = nullptr;
    const auto count = static_cast<std::size_t>(columns_);
    pending_ = Row::Start(count, room, RowArena(), pendingBytes_);
    return pending_->TextsForWriting();
}

std::size_t RecordTable::RowTextBytes(int row) const {
    if (row < 0 || row >= RowCount()) return 0;
    const Row* r = rows_[static_cast<std::size_t>(row)].get();
    return r ? r->TextBytes() : 0;
}

void RecordTable::CommitPackedRow(int row, const std::uint32_t* ends) {
    Row* built = std::exchange(pending_, nullptr);
    if (!built) return;
    const std::size_t bytes = built->Finish(ends);
    arena_->Shrink(built, pendingBytes_, bytes);
    if (row < 0 || row >= RowCount()) return; // the arena keeps nothing of it
    InstallRow(row, built->Count() == 0 ? nullptr : std::unique_ptr<Row>(built));
}

void RecordTable::InsertRow(int row) {
    row = std::clamp(row, 0, RowCount());
    rows_.insert(rows_.begin() + row, nullptr);
    if (journal_) journal_->RowsInserted({row});
    ++revision_;
}

void RecordTable::RemoveRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    if (journal_) {
        journal_->RowsRemoved(TakeRows({row}));
        ClampCurrent();
        return;
    }
    rows_.erase(rows_.begin() + row);
    ClampCurrent();
    ++revision_;
}

int RecordTable::RemoveRowsIf(const std::function<bool(int row)>& removeRow) {
    std::vector<char> gone(rows_.size());
    int removed = 0;
    for (int r = 0; r < RowCount(); ++r)
        if (removeRow(r)) gone[static_cast<std::size_t>(r)] = 1, ++removed;
    if (removed == 0) return 0;
    if (journal_) {
        std::vector<int> positions;
        positions.reserve(static_cast<std::size_t>(removed));
        for (std::size_t r = 0; r < gone.size(); ++r)
            if (gone[r]) positions.push_back(static_cast<int>(r));
        journal_->RowsRemoved(TakeRows(std::move(positions)));
        ClampCurrent();
        return removed;
    }
    std::size_t kept = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (!gone[r]) rows_[kept++] = std::move(rows_[r]);
    rows_.resize(kept);
    ClampCurrent();
    ++revision_;
    return removed;
}

// Rows emptied from index first on; a journal keeps the rows themselves.
void RecordTable::ClearRowsFrom(std::size_t first) {
    TakenRows old;
    for (std::size_t r = first; r < rows_.size(); ++r)
        if (journal_ && rows_[r]) {
            old.positions_.push_back(static_cast<int>(r));
            old.rows_.push_back(std::move(rows_[r]));
        } else {
            rows_[r].reset();
        }
    if (!old.rows_.empty()) {
        old.arena_ = arena_;
        journal_->RowsReplaced(std::move(old));
    }
    ++revision_;
}

void RecordTable::ClearDataCells() {
    ClearRowsFrom(1);
}

void RecordTable::ClearAll() {
    ClearRowsFrom(0);
}

void RecordTable::SetCurrentCell(int col, int row) {
    currentColumn_ = col;
    currentRow_ = row;
    ClampCurrent();
    selection_ = {currentColumn_, currentRow_, currentColumn_, currentRow_};
}

namespace {

// The number a cell reads as for sorting: the plain texts of a load (the
// great majority) through the encoder's fast reader, the rest (blanks, a
// sign '+', long digit runs) as ParseDecimal reads them. Both give the
// same value for every text the fast reader takes.
std::optional<double> SortNumber(std::string_view text, char decimalSeparator) {
    double value;
    if (ParsePlainDecimal(text, decimalSeparator, value)) return value;
    return ParseDecimal(text, decimalSeparator);
}

// A number's sort key: its bits turned so that unsigned order is the order
// of the values (inverted for a descending sort). -0 and 0 are one value.
struct NumberKey {
    std::uint64_t bits;
    std::uint32_t row;
};

std::uint64_t OrderedBits(double value, bool ascending) {
    if (value == 0) value = 0;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    bits = bits >> 63 ? ~bits : bits | std::uint64_t{1} << 63;
    return ascending ? bits : ~bits;
}

// Orders the keys by bits, equal ones in their present order. Large tables
// go through a radix sort, byte by byte from the lowest (each pass stable,
// passes where every key has the same byte skipped): several times faster
// than a comparison sort on a million rows.
void SortNumberKeys(std::vector<NumberKey>& keys) {
    if (keys.size() < 2048) {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const NumberKey& a, const NumberKey& b) { return a.bits < b.bits; });
        return;
    }
    std::uint32_t counts[8][256] = {};
    for (const NumberKey& k : keys)
        for (int d = 0; d < 8; ++d)
            ++counts[d][k.bits >> (8 * d) & 0xFF];
    std::vector<NumberKey> other(keys.size());
    for (int d = 0; d < 8; ++d) {
        std::uint32_t* count = counts[d];
        if (std::find(count, count + 256, keys.size()) != count + 256) continue;
        std::uint32_t next = 0;
        for (int digit = 0; digit < 256; ++digit)
            next += std::exchange(count[digit], next);
        for (const NumberKey& k : keys)
            other[count[k.bits >> (8 * d) & 0xFF]++] = k;
        keys.swap(other);
    }
}

} // namespace

void RecordTable::SortByColumn(int col, bool ascending, char decimalSeparator) {
    if (col < 0 || col >= columns_ || RowCount() < 3) return;
    // Every number sorts before every text (after, descending), so the two
    // kinds are sorted apart, each through a key read once per row; the keys
    // carry the row's index and the rows move once, at the end.
    struct TextKey {
        std::string_view text;
        std::uint32_t row;
    };
    if (rows_.size() > std::numeric_limits<std::uint32_t>::max())
        throw RefusedError(txt::TableTooLargeToSort);
    std::vector<NumberKey> numbers;
    std::vector<TextKey> texts;
    numbers.reserve(rows_.size() - 1);
    for (std::size_t r = 1; r < rows_.size(); ++r) {
        const Row* row = rows_[r].get();
        const std::string_view text = row && static_cast<std::size_t>(col) < row->Count()
                                          ? row->Cell(col)
                                          : std::string_view();
        const auto index = static_cast<std::uint32_t>(r);
        if (auto number = SortNumber(text, decimalSeparator))
            numbers.push_back({OrderedBits(*number, ascending), index});
        else
            texts.push_back({text, index});
    }
    SortNumberKeys(numbers);
    if (ascending)
        std::stable_sort(texts.begin(), texts.end(),
                         [](const TextKey& a, const TextKey& b) { return a.text < b.text; });
    else
        std::stable_sort(texts.begin(), texts.end(),
                         [](const TextKey& a, const TextKey& b) { return b.text < a.text; });

    std::vector<std::unique_ptr<Row>> sorted;
    sorted.reserve(rows_.size());
    sorted.push_back(std::move(rows_[0]));
    std::vector<int> order;
    if (journal_) order.reserve(rows_.size()), order.push_back(0);
    bool moved = false;
    const auto take = [&](std::size_t row) {
        moved = moved || row != sorted.size();
        sorted.push_back(std::move(rows_[row]));
        if (journal_) order.push_back(static_cast<int>(row));
    };
    if (ascending) {
        for (const auto& k : numbers)
            take(k.row);
        for (const auto& k : texts)
            take(k.row);
    } else {
        for (const auto& k : texts)
            take(k.row);
        for (const auto& k : numbers)
            take(k.row);
    }
    rows_ = std::move(sorted);
    if (moved) {
        if (journal_) journal_->RowsReordered(std::move(order));
        ++revision_;
    }
}

std::int32_t RecordTable::CountSelected() const {
    std::int32_t n = 0;
    for (int r = 1; r < RowCount(); ++r)
        n += IsSelectedForExport(Cell(kColExport, r));
    return n;
}

std::int32_t RecordTable::CountDeleted() const {
    std::int32_t n = 0;
    for (int r = 1; r < RowCount(); ++r)
        n += Cell(kColSuppr, r) == "x";
    return n;
}

void RecordTable::RecountFlags() {
    std::int32_t selected = 0, deleted = 0;
    std::string_view cells[kFirstFieldColumn];
    for (std::size_t r = 1; r < rows_.size(); ++r) {
        const Row* row = rows_[r].get();
        if (!row || columns_ <= kColSuppr) continue;
        const std::size_t n = std::min<std::size_t>(
            {row->Count(), kFirstFieldColumn, static_cast<std::size_t>(columns_)});
        for (std::size_t c = n; c < kFirstFieldColumn; ++c)
            cells[c] = {};
        row->Cells(cells, n);
        deleted += cells[kColSuppr] == "x";
        selected += IsSelectedForExport(cells[kColExport]);
    }
    SelectedCount = selected;
    DeleteCount = deleted;
}

void RecordTable::Renumber() {
    char buffer[16];
    for (int r = 1; r < RowCount(); ++r) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, r);
        SetCell(kColNumber, r,
                std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
    }
}

RecordTable::Arena& RecordTable::RowArena() {
    if (!arena_) arena_ = std::make_shared<Arena>();
    return *arena_;
}

TakenRows RecordTable::TakeRows(std::vector<int> positions) {
    TakenRows taken(std::move(positions));
    std::vector<char> gone(rows_.size());
    taken.rows_.reserve(taken.positions_.size());
    for (int p : taken.positions_) {
        taken.rows_.push_back(std::move(rows_.at(static_cast<std::size_t>(p))));
        gone[static_cast<std::size_t>(p)] = 1;
    }
    std::size_t kept = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (!gone[r]) rows_[kept++] = std::move(rows_[r]);
    rows_.resize(kept);
    taken.arena_ = arena_;
    ClampCurrent();
    ++revision_;
    return taken;
}

void RecordTable::PutRows(TakenRows& rows) {
    const std::size_t count = rows.positions_.size();
    const bool held = rows.rows_.size() == count;
    std::vector<std::unique_ptr<Row>> merged;
    merged.reserve(rows_.size() + count);
    std::size_t next = 0, taken = 0;
    while (next < rows_.size() || taken < count) {
        if (taken < count && static_cast<std::size_t>(rows.positions_[taken]) == merged.size())
            merged.push_back(held ? std::move(rows.rows_[taken++]) : (++taken, nullptr));
        else if (next < rows_.size())
            merged.push_back(std::move(rows_[next++]));
        else
            throw RefusedError(txt::TableRowsBeyondEnd);
    }
    rows_ = std::move(merged);
    rows.rows_.clear();
    rows.rows_.shrink_to_fit();
    rows.arena_.reset();
    ClampCurrent();
    ++revision_;
}

void RecordTable::SwapRows(TakenRows& rows) {
    rows.rows_.resize(rows.positions_.size());
    for (std::size_t i = 0; i < rows.positions_.size(); ++i)
        std::swap(rows_.at(static_cast<std::size_t>(rows.positions_[i])), rows.rows_[i]);
    if (!rows.arena_) rows.arena_ = arena_;
    ++revision_;
}

void RecordTable::ReorderRows(const std::vector<int>& order) {
    if (order.size() != rows_.size()) throw RefusedError(txt::TableOrderOfOtherTable);
    std::vector<std::unique_ptr<Row>> reordered(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        reordered[i] = std::move(rows_.at(static_cast<std::size_t>(order[i])));
    rows_ = std::move(reordered);
    ++revision_;
}

void RecordTable::RestoreColumnCount(int columns) {
    columns_ = std::max(columns, 0);
    ClampCurrent();
    ++revision_;
}

void RecordTable::LeaveRowsToProcessExit() {
    struct Left {
        std::vector<std::unique_ptr<Row>> rows;
        std::shared_ptr<Arena> arena;
    };
    // Reachable from here until the end, so that leak checkers see memory
    // still in use rather than lost.
    static auto* left = new std::vector<std::unique_ptr<Left>>;
    left->push_back(std::make_unique<Left>(Left{std::move(rows_), std::move(arena_)}));
    rows_.clear();
    pending_ = nullptr;
    ClampCurrent();
    ++revision_;
}

std::size_t RecordTable::MemoryUsage() const {
    std::size_t bytes = sizeof(*this) + rows_.capacity() * sizeof(rows_[0]);
    for (const auto& row : rows_)
        if (row) bytes += row->Bytes();
    return bytes;
}

} // namespace orvane
