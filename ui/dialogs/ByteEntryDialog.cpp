#include "ui/dialogs/ByteEntryDialog.h"

#include "ui/qt/QtText.h"
#include "ui/qt/UpDown.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvane {

namespace {

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

// The character a key press types, if it types one (not Backspace, Enter
// or a shortcut).
std::optional<QChar> TypedCharacter(const QKeyEvent* key) {
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint()) return std::nullopt;
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return std::nullopt;
    return text[0];
}

} // namespace

TForm_Hexa::TForm_Hexa(Lang lang, UserInteraction& ui, QWidget* parent)
    : QDialog(parent), lang_(lang), ui_(ui), boundary_(ui) {
    setObjectName("TForm_Hexa");
    // Fixed size, no buttons in the title bar: "Fermer" or "Annuler" close it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    captions_.Title(this, txt::HexaCaption);

    lblLibelle = Named(new QLabel(this), "lblLibelle");
    QFont titleFont = lblLibelle->font();
    titleFont.setBold(true);
    lblLibelle->setFont(titleFont);
    lblhexa = Named(new QLabel(this), "lblhexa");
    captions_.Text(lblhexa, txt::HexaLabelHexadecimal);
    edhexa = Named(new QLineEdit(this), "edhexa");
    edhexa->setMaxLength(kHexDigits);
    edhexa->installEventFilter(this);

    pnAlpha = Named(new QWidget(this), "pnAlpha");
    auto* panel = new QGridLayout(pnAlpha);
    panel->setContentsMargins(0, 0, 0, 0);
    lbldec = Named(new QLabel(pnAlpha), "lbldec");
    captions_.Text(lbldec, txt::HexaLabelDecimal);
    edDecimal = Named(new QLineEdit(pnAlpha), "edDecimal");
    updown = Named(new UpDown(pnAlpha), "UpDown");
    auto* decimalBox = new QHBoxLayout;
    decimalBox->setSpacing(1);
    decimalBox->addWidget(edDecimal);
    decimalBox->addWidget(updown);
    lblalpha = Named(new QLabel(Q(txt::HexaLabelCharacter), pnAlpha), "lblalpha");
    cbAlpha = Named(new QComboBox(pnAlpha), "cbAlpha");
    cbAlpha->setEditable(true);
    cbAlpha->setInsertPolicy(QComboBox::NoInsert);
    // Keys typed into the box reach the combo box, which hands them to its
    // line edit directly: both are watched.
    cbAlpha->installEventFilter(this);
    cbAlpha->lineEdit()->installEventFilter(this);
    lblYN = Named(new QLabel(pnAlpha), "lblYN");
    captions_.Text(lblYN, txt::HexaLabelYesNo);
    cbYN = Named(new QCheckBox(pnAlpha), "cbYN");
    captions_.Text(cbYN, txt::HexaYesBox);
    panel->addWidget(lbldec, 0, 0);
    panel->addLayout(decimalBox, 0, 1);
    panel->addWidget(lblalpha, 1, 0);
    panel->addWidget(cbAlpha, 1, 1);
    panel->addWidget(lblYN, 2, 0);
    panel->addWidget(cbYN, 2, 1);

    RadioGroup = Named(new QGroupBox(this), "RadioGroup");
    captions_.Title(RadioGroup, txt::HexaModeFrame);
    auto* radios = new QVBoxLayout(RadioGroup);
    modes_ = new QButtonGroup(this);
    const BiText items[4] = {txt::HexaModeHexadecimal, txt::HexaModeDecimal, txt::HexaModeCharacter,
                             txt::HexaModeYesNo};
    for (int i = 0; i < 4; ++i) {
        RadioItems[i] = new QRadioButton(RadioGroup);
        captions_.Text(RadioItems[i], items[i]);
        radios->addWidget(RadioItems[i]);
        modes_->addButton(RadioItems[i], i);
    }

    btnOK = Named(new QPushButton(this), "btnOK");
    captions_.Text(btnOK, txt::DialogClose);
    btnOK->setDefault(true);
    btnCancel = Named(new QPushButton(this), "btnCancel");
    captions_.Text(btnCancel, txt::DialogCancel);
    btnCancel->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(lblLibelle);
    auto* hexRow = new QHBoxLayout;
    hexRow->addWidget(lblhexa);
    hexRow->addWidget(edhexa, 1);
    left->addLayout(hexRow);
    left->addWidget(pnAlpha);
    left->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(RadioGroup, 0, Qt::AlignTop);
    layout->addLayout(buttons);

    if (lang_ == Lang::English) captions_.Apply(Lang::English);
    // As large as designed, or as the captions need in the platform's font,
    // whichever views are shown.
    const QSize hint = sizeHint();
    setFixedSize(std::max(hint.width(), 425), std::max(hint.height(), 157));

    // Events: each goes to the core, then the views are shown again.
    connect(modes_, &QButtonGroup::idClicked, this,
            [this](int m) { Then([&] { entry_.SetMode(EntryMode(m)); }); });
    connect(updown, &UpDown::stepped, this,
            [this](int delta) { Then([&] { entry_.CounterStep(delta); }); });
    connect(edDecimal, &QLineEdit::textEdited, this,
            [this](const QString& text) { Then([&] { entry_.DecimalTyped(S(text)); }); });
    connect(edhexa, &QLineEdit::textEdited, this,
            [this](const QString& text) { Then([&] { entry_.HexTyped(S(text)); }); });
    connect(cbAlpha, &QComboBox::textActivated, this, [this](const QString& text) {
        Then([&] { entry_.CharacterChosen(QStringToCell(text)); });
    });
    // Deleting or pasting in the box: its text is the character, or none.
    connect(cbAlpha->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        Then([&] { entry_.CharacterChosen(QStringToCell(text)); });
    });
    connect(cbYN, &QCheckBox::clicked, this,
            [this](bool ticked) { Then([&] { entry_.YesNoClicked(ticked); }); });
    boundary_.Wire(btnOK, [this] { btnOKClick(); });
    boundary_.Wire(btnCancel, [this] { reject(); });
}

template <typename F> void TForm_Hexa::Then(F&& step) {
    boundary_.Run([&] {
        step();
        ShowViews();
    });
}

void TForm_Hexa::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}

void TForm_Hexa::FormActivate() {
    // The list is written anew, never added to.
    const QSignalBlocker block(cbAlpha);
    cbAlpha->clear();
    for (const std::string& letter : LetterList())
        cbAlpha->addItem(Q(letter));
    ShowViews();
}

// Each control shows its view; texts only when they differ, so the cursor
// stays where the user is typing.
void TForm_Hexa::ShowViews() {
    const ByteViews& v = entry_.Views();
    auto setText = [](QLineEdit* edit, const QString& text) {
        if (edit->text() != text) edit->setText(text);
    };
    lblLibelle->setText(CellToQString(v.title));
    RadioGroup->setVisible(!v.integerField);
    pnAlpha->setVisible(!v.integerField);
    if (QAbstractButton* b = modes_->button(int(v.mode))) b->setChecked(true);
    setText(edhexa, Q(v.hexText));
    setText(edDecimal, Q(v.decimalText));
    setText(cbAlpha->lineEdit(), CellToQString(v.characterText));
    cbYN->setChecked(v.yes);
    struct Input {
        EntryMode mode;
        QWidget* widgets[3];
    };
    const Input inputs[] = {
        {EntryMode::Hexadecimal, {edhexa, lblhexa, nullptr}},
        {EntryMode::Decimal, {edDecimal, lbldec, updown}},
        {EntryMode::Character, {cbAlpha, lblalpha, nullptr}},
        {EntryMode::YesNo, {cbYN, lblYN, nullptr}},
    };
    for (const Input& input : inputs)
        for (QWidget* w : input.widgets)
            if (w) w->setEnabled(entry_.InputEnabled(input.mode));
}

bool TForm_Hexa::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == edhexa) {
        // The filter sees typed characters and Backspace; other keys move the cursor.
        char c = 0;
        if (key->key() == Qt::Key_Backspace)
            c = '\b';
        else if (auto typed = TypedCharacter(key))
            c = typed->unicode() < 0x80 ? char(typed->unicode()) : '\x7F';
        if (c == 0) return false;
        const HexKeyResult r = entry_.HexKey(c);
        if (r.accepted) return false;
        boundary_.Run([&] { ShowNotice(*r.notice, ui_); });
        return true; // kept out of the field
    }
    if (watched == cbAlpha || watched == cbAlpha->lineEdit()) {
        auto typed = TypedCharacter(key);
        if (!typed) return false;
        const std::string cell = QStringToCell(QString(*typed));
        if (cell.size() != 1) return true; // not a Windows-1252 character
        Then([&] { entry_.CharacterTyped(static_cast<unsigned char>(cell[0])); });
        return true; // the box holds just that character, written by the views
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_Hexa::btnOKClick() {
    const ByteOkResult r = entry_.Ok(lang_);
    if (r.closes) {
        accept();
        return;
    }
    if (r.notice) ShowNotice(*r.notice, ui_);
}

} // namespace orvane
