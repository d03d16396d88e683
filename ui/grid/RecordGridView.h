// The record grid's view: fixed 21-pixel rows, a heading row that wraps its
// titles and fits the tallest one, and a signal after every mouse press on
// a cell (the flag toggles read the current cell once the press moved it).
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

  signals:
    // After a press of any button on a cell, once the press has made it current.
    void cellPressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    WrapHeaderView* heading_;
};

} // namespace orvane
