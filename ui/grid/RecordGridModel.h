// The grid's model: a view of the session's RecordTable, never a copy. Model
// row r is table row r + 1 (table row 0 holds the headings, shown in the
// horizontal header).
#pragma once

#include "settings/Texts.h"

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvane {

struct SessionState;
struct TableEffect;

// The colours of a comparison with another table, valid while the table
// stays at the revision it was compared at.
struct CompareMarks {
    enum Row : char { Same, Added };
    std::uint64_t revision = 0;
    std::vector<Row> rows; // per table row
    // Changed cells, Key(row, column), with the other table's text (8-bit).
    std::unordered_map<std::uint64_t, std::string> cells;
    // How the hint over a changed cell names its value ("%s": the value).
    const BiText* valueHint = &txt::CompareOtherValue;
    const BiText* addedHint = &txt::CompareOnlyHereHint; // over a row marked Added
    static std::uint64_t Key(int row, int column) {
        return (std::uint64_t(std::uint32_t(row)) << 32) | std::uint32_t(column);
    }
};

class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit RecordGridModel(SessionState& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A load, a sort or a row operation replaces the table's shape: the
    // view is told once, around the whole change, by one guard whose end
    // comes however the change ends.
    class Reset {
      public:
        explicit Reset(RecordGridModel& model) : model_(model) { model_.beginResetModel(); }
        ~Reset() { model_.EndReset(); }
        Reset(const Reset&) = delete;
        Reset& operator=(const Reset&) = delete;

      private:
        RecordGridModel& model_;
    };
    void HeadingsChanged();
    // A change made through the session's gate is shown: a reset when
    // rows came, went or moved, else the rows it touched.
    void ShowEffect(const TableEffect& effect);

    // Direct-write mode: the cells of the fields the in-place write leaves
    // alone are read-only, with a hint that says why.
    bool ProtectedColumn(int column) const;
    // The session's marks changed (rows unwritten or written, the mode):
    // the grid repaints their colours and hints.
    void MarksChanged();
    // Rows changed in direct-write mode and not written back yet (pink).
    const std::set<int>& UnwrittenRows() const;

    // Sorts the data rows by a column (the session's decimal separator).
    void Sort(int column, bool ascending);

    // The table row a grid row shows, and the grid row of a table row (-1
    // when the filter hides it).
    int TableRow(const QModelIndex& index) const { return TableRowAt(index.row()); }
    int TableRowAt(int modelRow) const;
    int ModelRow(int tableRow) const;
    // The filter's rows changed: the grid shows them afresh.
    void FilterChanged();
    // Runs a typed edit through the window's error boundary, which shows a
    // refusal (none: the edit runs as it is).
    std::function<void(const std::function<void()>&)> RunEdit;

    // Compare colours (none: an empty CompareMarks).
    void SetCompareMarks(CompareMarks marks);
    bool HasCompareMarks() const { return !marks_.rows.empty(); }
    bool CompareMarksCurrent() const;
    // The hint of a compared cell: the other table's value ("" for none).
    QString CompareHint(int tableRow, int column) const;

  private:
    void EndReset();
    void RebuildAlignments();

    SessionState& session_;
    std::vector<int> alignments_; // Qt::Alignment per column
    CompareMarks marks_;
};

} // namespace orvane
