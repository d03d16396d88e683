// A list of differences to work through: a summary line, one entry per row
// (with its fields below it), and the buttons that resolve the chosen
// entries. Entries of less weight can be listed last under one group item,
// collapsed. It knows nothing of where the entries come from: the owner
// fills it and is told what the user chose.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvane {

class Captions;

class DifferencePanel : public QWidget {
  public:
    struct Field {
        int column = 0;
        QString text;
    };
    struct Entry {
        QString text;
        int row = 0;     // the table cell the entry leads to
        int column = -1; // -1: the current column
        std::vector<Field> fields;
        bool grouped = false; // listed under the group item, after the others
    };
    // An entry and one of its fields' columns, or -1 for the whole entry.
    using Choice = std::pair<int, int>;

    DifferencePanel(QWidget* parent, Captions& captions);

    void SetSummary(const QString& text);
    // Replaces the entries; the entry at index `current` (the last one when
    // beyond) becomes current, none for -1 (the group item when the entry
    // lies in it and it is collapsed). None is chosen. The grouped entries go
    // under one item captioned `group`, last, collapsed unless the user had
    // it open.
    void SetEntries(const std::vector<Entry>& entries, int current, const QString& group = {});
    int EntryCount() const;
    int CurrentEntry() const; // -1: none, or the group item
    // After a change of the table: once the change under way (maybe a reset)
    // is over, relist calls relist(CurrentEntry()), unless pending was
    // cleared meanwhile. Meanwhile pending is true, so the grid paints no
    // stale colour; a second call before then does nothing.
    void RelistLater(bool& pending, std::function<void(int current)> relist);
    // Makes the next (+1) or previous (-1) entry outside the group current,
    // wrapping around, and goes to its row. False when there is none.
    bool Step(int delta);
    // The selected entries and fields, in list order; the group item chosen
    // stands for every entry under it.
    std::vector<Choice> Chosen() const;
    // An owner's button beside the panel's own: on the first row after
    // "keep", or on a second row (which the clear button then ends).
    void AddButton(QPushButton* button, bool secondRow);

    // Told when an entry or field is activated (Enter, double click, Step):
    // the table row and column (-1: the row as a whole).
    std::function<void(int row, int column)> GoTo;
    std::function<void(const std::vector<Choice>&)> TakeOther, KeepThis;
    std::function<void()> Clear;
    // Whether the chosen entries hold anything to take (none: all do); the
    // take button is enabled only then.
    std::function<bool(const std::vector<Choice>&)> CanTake;

    QTreeWidget* List() const { return list_; }
    QTreeWidgetItem* GroupItem() const { return group_; } // null: no grouped entry
    QLabel* Summary() const { return summary_; }

  private:
    void Activate(QTreeWidgetItem* item);
    void ShowButtons();

    QLabel* summary_;
    QTreeWidget* list_;
    QPushButton* takeOther_;
    QPushButton* keepThis_;
    QPushButton* clear_;
    QHBoxLayout* firstRow_;
    QHBoxLayout* secondRow_ = nullptr;
    QTreeWidgetItem* group_ = nullptr;
    std::vector<QTreeWidgetItem*> items_; // per entry
};

} // namespace orvane
