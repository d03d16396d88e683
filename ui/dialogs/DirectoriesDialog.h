// The directories dialog: the simulator and work folders of each version,
// the folders of the two import tools and the default version. Shows the
// settings file's values each time it opens; Save writes them back.
#pragma once

#include "database/SessionState.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

#include <functional>
#include <string>

class QButtonGroup;
class QGridLayout;
class QLayout;
class QLineEdit;
class QRadioButton;

namespace orvane {

class DirectoriesDialog : public QDialog {
    Q_OBJECT
  public:
    DirectoriesDialog(SessionState& session, UserInteraction& ui, std::string iniPath,
                      QWidget* parent = nullptr);

    // The main window's version marks (the radio group) and version panel (Save).
    std::function<void(int)> MarkVersion;
    std::function<void(int)> ShowVersion;

    // Every showing starts with the settings file's values.
    void ShowSettings();
    // A version chosen in the radio group (0: Fly! 1, 1: Fly! II).
    void ChooseVersion(int item);
    // "Ouvrir": another settings file's values, shown without writing.
    void OpenOtherSettings();
    // "Sauver": the boxes into the settings file and the session.
    void Save();

    // Cancel, Escape or the close box: the session's settings go back to
    // what they were before the showing (the version chosen in the radio
    // group, the folders read from the file), and the main window's marks
    // with them.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // A caption, its folder box and its "Parcourir" button, in two grid rows.
    QLineEdit* AddFolderRow(QGridLayout* grid, int row, const char* labelName, BiText label,
                            const char* boxName, const char* buttonName);
    QLayout* BuildFolders();
    QLayout* BuildVersionAndButtons();
    void PickInto(QLineEdit* box);
    void ShowFolders();
    FolderBoxes Boxes() const;

    SessionState& session_;
    UserInteraction& ui_;
    std::string iniPath_;
    CommandBoundary boundary_;
    Captions captions_;
    QLineEdit* fly1_ = nullptr;
    QLineEdit* work1_ = nullptr;
    QLineEdit* fly2_ = nullptr;
    QLineEdit* work2_ = nullptr;
    QLineEdit* dbImport_ = nullptr;
    QLineEdit* dexImport_ = nullptr;
    QRadioButton* fly1Version_ = nullptr;
    QRadioButton* fly2Version_ = nullptr;
    QButtonGroup* versionButtons_ = nullptr;
    SessionSettings atShow_;
};

} // namespace orvane
