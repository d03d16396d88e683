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

TForm_init::TForm_init(SessionState& session, UserInteraction& ui, std::string iniPath,
                       QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), iniPath_(std::move(iniPath)), boundary_(ui) {
    setObjectName("TForm_init");
    captions_.Title(this, txt::InitTitle);
    setModal(true);

    auto row = [this](QGridLayout* grid, int r, const char* labelName, BiText label,
                      const char* boxName, const char* buttonName, QLabel*& l, QLineEdit*& box,
                      QPushButton*& button, void (TForm_init::*slot)()) {
        l = new QLabel;
        l->setObjectName(labelName);
        captions_.Text(l, label);
        box = new QLineEdit;
        box->setObjectName(boxName);
        box->setReadOnly(true); // only the picker changes it
        // Wide enough for the usual folders; a longer one reads in full in
        // its hint.
        box->setMinimumWidth(460);
        connect(box, &QLineEdit::textChanged, box, &QLineEdit::setToolTip);
        button = new QPushButton;
        button->setObjectName(buttonName);
        button->setAutoDefault(false);
        captions_.Text(button, txt::InitBrowse);
        boundary_.Wire(button, [this, slot] { (this->*slot)(); });
        grid->addWidget(l, r, 0, 1, 2);
        grid->addWidget(box, r + 1, 0);
        grid->addWidget(button, r + 1, 1);
    };

    auto* layout = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(Q(txt::InitGroupFly1), this);
    GroupBox1->setObjectName("GroupBox1");
    auto* g1 = new QGridLayout(GroupBox1);
    row(g1, 0, "Label1", txt::InitLabelFly1, "edFly1", "btnFly1", Label1, edFly1, btnFly1,
        &TForm_init::btnFly1Click);
    row(g1, 2, "Label2", txt::InitLabelWork, "edWork1", "btnWork1", Label2, edWork1, btnWork1,
        &TForm_init::btnWork1Click);
    layout->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox(Q(txt::InitGroupFly2), this);
    GroupBox2->setObjectName("GroupBox2");
    auto* g2 = new QGridLayout(GroupBox2);
    row(g2, 0, "Label5", txt::InitLabelFly2, "edFly2", "btnFly2", Label5, edFly2, btnFly2,
        &TForm_init::btnFly2Click);
    row(g2, 2, "Label6", txt::InitLabelWork, "edWork2", "btnWork2", Label6, edWork2, btnWork2,
        &TForm_init::btnWork2Click);
    layout->addWidget(GroupBox2);

    auto* tools = new QGridLayout;
    row(tools, 0, "Label3", txt::InitLabelDB, "edDB", "btnDB", Label3, edDB, btnDB,
        &TForm_init::btnDBClick);
    row(tools, 2, "Label4", txt::InitLabelDex, "edDex", "btnDex", Label4, edDex, btnDex,
        &TForm_init::btnDexClick);
    layout->addLayout(tools);

    auto* bottom = new QHBoxLayout;
    cbVersion = new QGroupBox(this);
    cbVersion->setObjectName("cbVersion");
    captions_.Title(cbVersion, txt::InitVersion);
    auto* versions = new QVBoxLayout(cbVersion);
    cbVersionItem1 = new QRadioButton(Q(txt::InitVersionItem1), cbVersion);
    cbVersionItem2 = new QRadioButton(Q(txt::InitVersionItem2), cbVersion);
    versions->addWidget(cbVersionItem1);
    versions->addWidget(cbVersionItem2);
    versionButtons_ = new QButtonGroup(this);
    versionButtons_->addButton(cbVersionItem1, 0);
    versionButtons_->addButton(cbVersionItem2, 1);
    connect(versionButtons_, &QButtonGroup::idClicked, this,
            [this](int item) { boundary_.Run([&] { cbVersionClick(item); }); });
    bottom->addWidget(cbVersion);
    bottom->addStretch(1);
    auto* buttons = new QVBoxLayout;
    btnOpen = new QPushButton(this);
    btnOpen->setObjectName("btnOpen");
    captions_.Text(btnOpen, txt::InitOpen);
    btnOK = new QPushButton(this);
    btnOK->setObjectName("btnOK");
    captions_.Text(btnOK, txt::InitSave);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName("btnCancel");
    captions_.Text(btnCancel, txt::InitCancel);
    for (QPushButton* b : {btnOpen, btnOK, btnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    bottom->addLayout(buttons);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed border

    boundary_.Wire(btnOpen, [this] { btnOpenClick(); });
    boundary_.Wire(btnOK, [this] { btnOKClick(); });
    boundary_.Wire(btnCancel, [this] { reject(); });

    FormCreate();
}

void TForm_init::FormCreate() {
    if (session_.Language_() == Lang::English) captions_.Apply(Lang::English);
}

void TForm_init::showEvent(QShowEvent* event) {
    atShow_ = session_;
    FormActivate();
    QDialog::showEvent(event);
}

void TForm_init::FormActivate() {
    // The folders are shown even when the settings file cannot be read.
    boundary_.Run([this] { DialogRead(session_, iniPath_); });
    ShowFolders();
}

void TForm_init::reject() {
    static_cast<SessionSettings&>(session_) = atShow_;
    if (MarkVersion) MarkVersion(atShow_.SimulatorVersion);
    QDialog::reject();
}

void TForm_init::ShowFolders() {
    if (session_.SimulatorVersion == 1)
        cbVersionItem1->setChecked(true);
    else if (session_.SimulatorVersion == 2)
        cbVersionItem2->setChecked(true);
    edFly1->setText(Q(session_.Fly1Dir));
    edWork1->setText(Q(session_.Work1Dir));
    edFly2->setText(Q(session_.Fly2Dir));
    edWork2->setText(Q(session_.Work2Dir));
    edDB->setText(Q(session_.DbImportDir));
    edDex->setText(Q(session_.DexImportDir));
}

void TForm_init::PickInto(QLineEdit* box) {
    auto folder = ui_.PickFolder(txt::InitPickFolder.In(session_.Language_()), S(box->text()));
    if (!folder) return;
    box->setText(Q(WithTrailingSeparator(*folder)));
}

void TForm_init::cbVersionClick(int item) {
    const int version = item == 0 ? 1 : 2;
    session_.SimulatorVersion = version;
    if (MarkVersion) MarkVersion(version);
}

void TForm_init::btnOpenClick() {
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

FolderBoxes TForm_init::Boxes() const {
    return {S(edFly1->text()),  S(edWork1->text()), S(edFly2->text()),
            S(edWork2->text()), S(edDB->text()),    S(edDex->text())};
}

void TForm_init::btnOKClick() {
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
