// "Find and replace" (Ctrl+H): the texts, where to look (every field, the
// current cell's column or the selection), whole cell or part, case, and
// regular expressions. It stays open beside the grid; its buttons hand
// the request to the command family that owns it.
#pragma once

#include "settings/Texts.h"
#include "table/CellReplace.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace orvane {

class Captions;

class ReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Scope { AllFields, Column, Selection };
    enum class Action { FindNext, ReplaceOne, ReplaceAll };

    ReplaceDialog(Captions& captions, QWidget* parent);
    // The rule as typed (UTF-8 texts).
    ReplaceRule Rule() const;
    QString FindText() const;
    QString ReplacementText() const;
    Scope ChosenScope() const;
    // The column offered as the second scope, by its title.
    void SetColumnTitle(const QString& title, Lang lang);
    // The outcome of the last action, under the buttons.
    void ShowOutcome(const QString& text);
    // Puts the find text in and selects it (the current cell's text, say).
    void Start(const QString& findText);

    std::function<void(Action)> Run;
    QComboBox* FindBox() const { return find_; }
    QComboBox* ReplaceBox() const { return replace_; }
    QPushButton* Button(Action action) const;

  private:
    QComboBox* find_;
    QComboBox* replace_;
    QComboBox* scope_;
    QCheckBox* wholeCell_;
    QCheckBox* matchCase_;
    QCheckBox* regex_;
    QLabel* outcome_;
    QPushButton* findNext_;
    QPushButton* replaceOne_;
    QPushButton* replaceAll_;
};

} // namespace orvane
