// The record grid's view: fixed 21-pixel rows, a heading row that wraps its
// titles and fits the tallest one, and the keys of a spreadsheet: F2 edits
// with the cursor at the end, Enter commits and moves down (stays, in the
// direct-write mode, where the row just edited is the one to write), Delete asks to
// empty the selected cells, a character typed into a read-only cell beeps. A signal follows every
// mouse press on a cell (the flag toggles read the current cell once the press moved it).
#pragma once

#include <QHeaderView>
#include <QTableView>

namespace orvane {

class RecordTable;

// A horizontal header that draws its own sort arrow, in room kept for it at
// the right of the sorted heading (the text never runs under it): pointing
// up for an ascending order, down for a descending one, as file managers
// and spreadsheets show it. A sorted column too narrow for its heading's
// longest word beside the arrow widens. The grid and the archive viewer
// share it.
class SortArrowHeader : public QHeaderView {
    Q_OBJECT
  public:
    explicit SortArrowHeader(QWidget* parent = nullptr);
    // The room a section keeps for the text (without the arrow's).
    QRect TextRect(const QRect& section, int logicalIndex) const;

    // The section as wide as its heading's longest word and the arrow need.
    void WidenForArrow(int logicalIndex);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
    bool Sorted(int logicalIndex) const;
};

class WrapHeaderView : public SortArrowHeader {
    Q_OBJECT
  public:
    explicit WrapHeaderView(QWidget* parent = nullptr);
    // Heights the heading row to its tallest wrapped title (at least minimum).
    void FitHeight(int minimum = 21);
    QSize sizeHint() const override;

  protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;

  private:
    int height_ = 70;
};

class RecordGridView : public QTableView {
    Q_OBJECT
  public:
    explicit RecordGridView(QWidget* parent = nullptr);
    WrapHeaderView* Heading() const { return heading_; }
    void SetMoveDownOnEnter(bool on) { moveDownOnEnter_ = on; }
    bool Editing() const { return state() == EditingState; }
    // Ends an open cell editing: its text committed (a command chosen while
    // the cell is open works on what the cell shows), or dropped.
    void EndEdit(bool commit);
    // Flag columns as designed ("n°" as wide as the table's largest row
    // number); a field column as wide as its longest title word or the
    // widest of its first rows, within limits.
    void FitColumns(const RecordTable& table);
    // The arrow on the sorted column's heading (-1: rows in no heading's order).
    void ShowSortArrow(int column, bool ascending);

  signals:
    // After a press of any button on a cell, once the press has made it current.
    void cellPressed();
    // Delete pressed outside an editor.
    void deletePressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // No type-to-find: a character typed into a cell that cannot be edited
    // (a flag, or a field the direct write leaves alone) beeps and leaves the
    // current cell where it is, as a spreadsheet's locked cell does.
    void keyboardSearch(const QString& search) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void MoveDown();
    WrapHeaderView* heading_;
    bool moveDownOnEnter_ = true;
};

} // namespace orvane
