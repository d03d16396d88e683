// The main window's left column ("Panel3"): the simulator version, the find
// box, the Edition box and the Export box with their counters. Its buttons
// are the command families' (built from their tables); it lays them out.
#pragma once

#include "settings/Texts.h"
#include "ui/commands/Command.h"
#include "ui/commands/SearchCommands.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace orvane {

class Captions;
class CommandControls;

class LeftColumn : public QWidget {
    Q_OBJECT
  public:
    // rowButtons: the Edition and Export boxes' buttons, in their order.
    LeftColumn(const CommandControls& controls, const CommandTable& rowButtons, Captions& captions,
               QWidget* parent);
    // The find box's controls, for the search commands.
    const SearchControls& Search() const { return search_; }
    void ShowVersion(int version);
    void ShowSelectLabel(const QString& text);
    void ShowDeleteLabel(const QString& text);
    // The row captions of "Supprimer ligne" and "Insérer ligne".
    void ShowRowCaptions(const QString& deleteCaption, const QString& insertCaption);
    // Hidden in direct-write mode.
    void ShowEditionBox(bool on);
    // 135 pixels as designed, or what the longest caption needs in the
    // platform's font (the row captions grow with the row number).
    void FitWidth(Lang lang);

  private:
    QGroupBox* Group(const char* name, BiText caption);
    Captions& captions_;
    SearchControls search_;
    std::vector<QWidget*> buttons_;
    QLabel* flyVersion_;
    QLabel* selectLabel_;
    QLabel* deleteLabel_;
    QGroupBox* editBox_;
    QPushButton* deleteRow_;
    QPushButton* insertRow_;
};

} // namespace orvane
