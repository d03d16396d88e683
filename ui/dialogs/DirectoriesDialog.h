// The directories dialog: the simulator and work folders of each version,
// the folders of the two import tools and the default version. Shows the
// settings file's values each time it opens; Save writes them back.
#pragma once

#include "database/SessionState.h"
#include "ui/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

#include <functional>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

class TForm_init : public QDialog {
    Q_OBJECT
  public:
    TForm_init(SessionState& session, UserInteraction& ui, std::string iniPath,
               QWidget* parent = nullptr);

    // The main window's version marks (the radio group) and version panel (Save).
    std::function<void(int)> MarkVersion;
    std::function<void(int)> ShowVersion;

    // Every showing starts with the settings file's values.
    void FormActivate();

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* edFly1 = nullptr;
    QLineEdit* edWork1 = nullptr;
    QLineEdit* edFly2 = nullptr;
    QLineEdit* edWork2 = nullptr;
    QLineEdit* edDB = nullptr;
    QLineEdit* edDex = nullptr;
    QPushButton* btnFly1 = nullptr;
    QPushButton* btnWork1 = nullptr;
    QPushButton* btnFly2 = nullptr;
    QPushButton* btnWork2 = nullptr;
    QPushButton* btnDB = nullptr;
    QPushButton* btnDex = nullptr;
    QGroupBox* cbVersion = nullptr;
    QRadioButton* cbVersionItem1 = nullptr;
    QRadioButton* cbVersionItem2 = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void btnFly1Click() { PickInto(edFly1); }
    void btnWork1Click() { PickInto(edWork1); }
    void btnFly2Click() { PickInto(edFly2); }
    void btnWork2Click() { PickInto(edWork2); }
    void btnDBClick() { PickInto(edDB); }
    void btnDexClick() { PickInto(edDex); }
    void cbVersionClick(int item);
    void btnOpenClick();
    void btnOKClick();

    // Cancel, Escape or the close box: the session's settings go back to
    // what they were before the showing (the version chosen in the radio
    // group, the folders read from the file), and the main window's marks
    // with them.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormCreate();
    void PickInto(QLineEdit* box);
    void ShowFolders();
    FolderBoxes Boxes() const;

    SessionState& session_;
    UserInteraction& ui_;
    std::string iniPath_;
    CommandBoundary boundary_;
    Captions captions_;
    QButtonGroup* versionButtons_ = nullptr;
    SessionSettings atShow_;
};

} // namespace orvane
