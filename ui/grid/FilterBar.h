// The filter row under the grid's headings: one box per column, lined up
// with the column and following its width and the grid's scrolling. What
// the user types into a box is that column's condition (RowFilter); the
// bar hands the conditions on after a short pause in typing, or at once
// on Enter. Escape in a box leaves the bar.
#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QLineEdit;
class QTimer;

namespace orvane {

class RecordGridView;

class FilterBar : public QWidget {
    Q_OBJECT
  public:
    explicit FilterBar(RecordGridView* grid, QWidget* parent = nullptr);
    // The conditions typed, by column (UTF-8), after each change.
    std::function<void(const std::map<int, std::string>&)> ConditionsChanged;
    // Escape: the user leaves the bar (the window hides it or moves the focus).
    std::function<void()> Left;
    void SetHint(const QString& hint);
    // The boxes follow the table's columns; their texts are kept by column.
    void ColumnsChanged();
    // Empties every box (a load cleared the filter).
    void Clear();
    void FocusColumn(int column);
    QLineEdit* Box(int column) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Place();
    void Emit();
    RecordGridView* grid_;
    std::vector<QLineEdit*> boxes_;
    QTimer* pause_;
    QString hint_;
};

} // namespace orvane
