// The grid's model: a view of the session's RecordTable, never a copy. Model
// row r is table row r + 1 (table row 0 holds the headings, shown in the
// horizontal header).
#pragma once

#include "settings/Texts.h"

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <set>
#include <unordered_set>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

struct SessionState;

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
    // The flag cells of one table row, or of every row, changed.
    void FlagsChanged(int tableRow);
    void AllFlagsChanged();
    void HeadingsChanged();
    // Every cell of one table row changed (the record editor's carry back).
    void RowChanged(int tableRow);

    // Direct-write mode: the cells of the fields the in-place write leaves
    // alone are read-only, with a hint that says why.
    void SetDirectWrite(bool on);
    bool DirectWrite() const { return directWrite_; }
    bool ProtectedColumn(int column) const;
    // While on (a table whose rows are the archive's records), every row
    // changed is marked until it is written back. Switching it clears the marks.
    void TrackUnwritten(bool on);
    bool TrackingUnwritten() const { return tracking_; }
    void MarkWritten(int tableRow);
    const std::set<int>& UnwrittenRows() const { return unwritten_; }

    // Sorts the data rows by a column (the session's decimal separator).
    void Sort(int column, bool ascending);

    static int TableRow(const QModelIndex& index) { return index.row() + 1; }

    // Compare colours (none: an empty CompareMarks).
    void SetCompareMarks(CompareMarks marks);
    bool HasCompareMarks() const { return !marks_.rows.empty(); }
    bool CompareMarksCurrent() const;
    // The hint of a compared cell: the other table's value ("" for none).
    QString CompareHint(int tableRow, int column) const;

  private:
    void EndReset();
    void RebuildAlignments();
    void MarkUnwritten(int tableRow);
    void RowMarkChanged(int tableRow);

    SessionState& session_;
    std::vector<int> alignments_; // Qt::Alignment per column
    CompareMarks marks_;
    bool directWrite_ = false;
    bool tracking_ = false;
    std::set<int> unwritten_; // table rows
};

} // namespace orvane
