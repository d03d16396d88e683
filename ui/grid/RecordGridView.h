// The record grid's view: fixed 21-pixel rows, a heading row that wraps its
// titles and fits the tallest one, and the keys of a spreadsheet: F2 edits
// with the cursor at the end, Enter commits and moves down, Delete asks to
// empty the selected cells. A signal follows every mouse press on a cell
// (the flag toggles read the current cell once the press moved it).
#pragma once

#include <QHeaderView>
#include <QTableView>

namespace orvane {

class WrapHeaderView : public QHeaderView {
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
    bool Editing() const { return state() == EditingState; }
    // Ends an open cell editing: its text committed (a command chosen while
    // the cell is open works on what the cell shows), or dropped.
    void EndEdit(bool commit);

  signals:
    // After a press of any button on a cell, once the press has made it current.
    void cellPressed();
    // Delete pressed outside an editor.
    void deletePressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void MoveDown();
    WrapHeaderView* heading_;
};

} // namespace orvane
