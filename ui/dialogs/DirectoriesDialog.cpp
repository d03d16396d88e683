#include "ui/dialogs/DirectoriesDialog.h"

#include "platform/Paths.h"
#include "settings/Texts.h"
#include "ui/qt/QtText.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvane {

DirectoriesDialog::DirectoriesDialog(SessionState& session, UserInteraction& ui,
                                     std::string iniPath, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), iniPath_(std::move(iniPath)),
      boundary_(ui, [this] { return session_.Language_(); }) {
    setObjectName("TForm_init");
    captions_.Title(this, txt::InitTitle);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildFolders());
    layout->addLayout(BuildVersionAndButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed border
    if (session_.Language_() == Lang::English) captions_.Apply(Lang::English);
}

QLineEdit* DirectoriesDialog::AddFolderRow(QGridLayout* grid, int row, const char* labelName,
                                           BiText label, const char* boxName,
                                           const char* buttonName) {
    auto* caption = new QLabel;
    caption->setObjectName(labelName);
    captions_.Text(caption, label);
    auto* box = new QLineEdit;
    box->setObjectName(boxName);
    box->setReadOnly(true); // only the picker changes it
    // Wide enough for the usual folders; a longer one reads in full in its hint.
    box->setMinimumWidth(460);
    connect(box, &QLineEdit::textChanged, box, &QLineEdit::setToolTip);
    auto* browse = new QPushButton;
    browse->setObjectName(buttonName);
    browse->setAutoDefault(false);
    captions_.Text(browse, txt::InitBrowse);
    boundary_.Wire(browse, [this, box] { PickInto(box); });
    grid->addWidget(caption, row, 0, 1, 2);
    grid->addWidget(box, row + 1, 0);
    grid->addWidget(browse, row + 1, 1);
    return box;
}

// Each version's simulator and work folders in a frame, then the import tools'.
QLayout* DirectoriesDialog::BuildFolders() {
    auto* folders = new QVBoxLayout;
    auto frame = [&](const char* caption, const char* name) {
        auto* group = new QGroupBox(Q(caption), this);
        group->setObjectName(name);
        folders->addWidget(group);
        return new QGridLayout(group);
    };
    QGridLayout* fly1 = frame(txt::InitGroupFly1, "GroupBox1");
    fly1_ = AddFolderRow(fly1, 0, "Label1", txt::InitLabelFly1, "edFly1", "btnFly1");
    work1_ = AddFolderRow(fly1, 2, "Label2", txt::InitLabelWork, "edWork1", "btnWork1");
    QGridLayout* fly2 = frame(txt::InitGroupFly2, "GroupBox2");
    fly2_ = AddFolderRow(fly2, 0, "Label5", txt::InitLabelFly2, "edFly2", "btnFly2");
    work2_ = AddFolderRow(fly2, 2, "Label6", txt::InitLabelWork, "edWork2", "btnWork2");

    auto* tools = new QGridLayout;
    dbImport_ = AddFolderRow(tools, 0, "Label3", txt::InitLabelDB, "edDB", "btnDB");
    dexImport_ = AddFolderRow(tools, 2, "Label4", txt::InitLabelDex, "edDex", "btnDex");
    folders->addLayout(tools);
    return folders;
}

// The default version's radio group, then "Ouvrir", "Sauver" and "Annuler".
QLayout* DirectoriesDialog::BuildVersionAndButtons() {
    auto* bottom = new QHBoxLayout;
    auto* version = new QGroupBox(this);
    version->setObjectName("cbVersion");
    captions_.Title(version, txt::InitVersion);
    auto* versions = new QVBoxLayout(version);
    fly1Version_ = new QRadioButton(Q(txt::InitVersionItem1), version);
    fly2Version_ = new QRadioButton(Q(txt::InitVersionItem2), version);
    versions->addWidget(fly1Version_);
    versions->addWidget(fly2Version_);
    versionButtons_ = new QButtonGroup(this);
    versionButtons_->addButton(fly1Version_, 0);
    versionButtons_->addButton(fly2Version_, 1);
    connect(versionButtons_, &QButtonGroup::idClicked, this,
            [this](int item) { boundary_.Run([&] { ChooseVersion(item); }); });
    bottom->addWidget(version);
    bottom->addStretch(1);

    auto* buttons = new QVBoxLayout;
    auto button = [&](const char* name, BiText caption, auto handler) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        captions_.Text(b, caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        boundary_.Wire(b, handler);
    };
    button("btnOpen", txt::InitOpen, [this] { OpenOtherSettings(); });
    button("btnOK", txt::InitSave, [this] { Save(); });
    button("btnCancel", txt::InitCancel, [this] { reject(); });
    bottom->addLayout(buttons);
    return bottom;
}

void DirectoriesDialog::showEvent(QShowEvent* event) {
    atShow_ = session_;
    ShowSettings();
    QDialog::showEvent(event);
}

void DirectoriesDialog::ShowSettings() {
    // The folders are shown even when the settings file cannot be read.
    boundary_.Run([this] { DialogRead(session_, iniPath_); });
    ShowFolders();
}

void DirectoriesDialog::reject() {
    static_cast<SessionSettings&>(session_) = atShow_;
    if (MarkVersion) MarkVersion(atShow_.SimulatorVersion);
    QDialog::reject();
}

void DirectoriesDialog::ShowFolders() {
    if (session_.SimulatorVersion == 1)
        fly1Version_->setChecked(true);
    else if (session_.SimulatorVersion == 2)
        fly2Version_->setChecked(true);
    fly1_->setText(Q(session_.Fly1Dir));
    work1_->setText(Q(session_.Work1Dir));
    fly2_->setText(Q(session_.Fly2Dir));
    work2_->setText(Q(session_.Work2Dir));
    dbImport_->setText(Q(session_.DbImportDir));
    dexImport_->setText(Q(session_.DexImportDir));
}

void DirectoriesDialog::PickInto(QLineEdit* box) {
    auto folder = ui_.PickFolder(txt::InitPickFolder.In(session_.Language_()), S(box->text()));
    if (!folder) return;
    box->setText(Q(WithTrailingSeparator(*folder)));
}

void DirectoriesDialog::ChooseVersion(int item) {
    const int version = item == 0 ? 1 : 2;
    session_.SimulatorVersion = version;
    if (MarkVersion) MarkVersion(version);
}

void DirectoriesDialog::OpenOtherSettings() {
    FileDialogRequest r;
    r.filter = txt::InitIniFilter.In(session_.Language_());
    r.initialFolder = FolderOf(iniPath_); // where the settings file lives
    r.fileName = "Orvane";
    r.defaultExtension = "ini";
    r.confirmOverwrite = false;
    boundary_.Run([&] {
        if (auto path = ui_.OpenFile(r)) {
            ReadChosenFile(session_, *path);
            ShowFolders();
        }
    });
    accept(); // also after Cancel in the file dialog
}

FolderBoxes DirectoriesDialog::Boxes() const {
    return {S(fly1_->text()),  S(work1_->text()),    S(fly2_->text()),
            S(work2_->text()), S(dbImport_->text()), S(dexImport_->text())};
}

void DirectoriesDialog::Save() {
    const FolderBoxes boxes = Boxes();
    // On an error nothing was saved: the dialog stays open for another try
    // or Cancel.
    DialogWrite(iniPath_, session_, boxes);
    if (session_.SimulatorVersion == 1)
        session_.FlyDir = boxes.fly1;
    else if (session_.SimulatorVersion == 2)
        session_.FlyDir = boxes.fly2;
    session_.DbImportDir = boxes.dbImport;
    session_.DexImportDir = boxes.dexImport;
    if (ShowVersion) ShowVersion(session_.SimulatorVersion);
    accept();
}

} // namespace orvane
