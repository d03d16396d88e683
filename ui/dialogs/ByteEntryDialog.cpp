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

ByteEntryDialog::ByteEntryDialog(Lang lang, UserInteraction& ui, QWidget* parent)
    : QDialog(parent), lang_(lang), ui_(ui), boundary_(ui, [this] { return lang_; }) {
    setObjectName("TForm_Hexa");
    // Fixed size, no buttons in the title bar: "Fermer" or "Annuler" close it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    captions_.Title(this, txt::HexaCaption);

    title_ = Named(new QLabel(this), "lblLibelle");
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);
    hexLabel_ = Named(new QLabel(this), "lblhexa");
    captions_.Text(hexLabel_, txt::HexaLabelHexadecimal);
    hex_ = Named(new QLineEdit(this), "edhexa");
    hex_->setMaxLength(kHexDigits);
    hex_->installEventFilter(this);
    otherInputs_ = BuildOtherInputs();
    modeGroup_ = BuildModes();
    setLayout(BuildLayout(otherInputs_, modeGroup_));

    if (lang_ == Lang::English) captions_.Apply(Lang::English);
    // As large as designed, or as the captions need in the platform's font,
    // whichever views are shown.
    const QSize hint = sizeHint();
    setFixedSize(std::max(hint.width(), 425), std::max(hint.height(), 157));
    WireInputs();
}

QWidget* ByteEntryDialog::BuildOtherInputs() {
    auto* inputs = Named(new QWidget(this), "pnAlpha");
    auto* panel = new QGridLayout(inputs);
    panel->setContentsMargins(0, 0, 0, 0);
    decimalLabel_ = Named(new QLabel(inputs), "lbldec");
    captions_.Text(decimalLabel_, txt::HexaLabelDecimal);
    decimal_ = Named(new QLineEdit(inputs), "edDecimal");
    counter_ = Named(new UpDown(inputs), "UpDown");
    auto* decimalBox = new QHBoxLayout;
    decimalBox->setSpacing(1);
    decimalBox->addWidget(decimal_);
    decimalBox->addWidget(counter_);
    characterLabel_ = Named(new QLabel(Q(txt::HexaLabelCharacter), inputs), "lblalpha");
    character_ = Named(new QComboBox(inputs), "cbAlpha");
    character_->setEditable(true);
    character_->setInsertPolicy(QComboBox::NoInsert);
    // Keys typed into the box reach the combo box, which hands them to its
    // line edit directly: both are watched.
    character_->installEventFilter(this);
    character_->lineEdit()->installEventFilter(this);
    yesNoLabel_ = Named(new QLabel(inputs), "lblYN");
    captions_.Text(yesNoLabel_, txt::HexaLabelYesNo);
    yesNo_ = Named(new QCheckBox(inputs), "cbYN");
    captions_.Text(yesNo_, txt::HexaYesBox);
    panel->addWidget(decimalLabel_, 0, 0);
    panel->addLayout(decimalBox, 0, 1);
    panel->addWidget(characterLabel_, 1, 0);
    panel->addWidget(character_, 1, 1);
    panel->addWidget(yesNoLabel_, 2, 0);
    panel->addWidget(yesNo_, 2, 1);
    return inputs;
}

// The mode radio buttons, numbered as EntryMode.
QGroupBox* ByteEntryDialog::BuildModes() {
    auto* group = Named(new QGroupBox(this), "RadioGroup");
    captions_.Title(group, txt::HexaModeFrame);
    auto* radios = new QVBoxLayout(group);
    modes_ = new QButtonGroup(this);
    const BiText items[4] = {txt::HexaModeHexadecimal, txt::HexaModeDecimal, txt::HexaModeCharacter,
                             txt::HexaModeYesNo};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton(group);
        captions_.Text(item, items[i]);
        radios->addWidget(item);
        modes_->addButton(item, i);
    }
    return group;
}

QLayout* ByteEntryDialog::BuildLayout(QWidget* otherInputs, QGroupBox* modes) {
    auto* ok = Named(new QPushButton(this), "btnOK");
    captions_.Text(ok, txt::DialogClose);
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(this), "btnCancel");
    captions_.Text(cancel, txt::DialogCancel);
    cancel->setAutoDefault(false);
    boundary_.Wire(ok, [this] { AcceptValue(); });
    boundary_.Wire(cancel, [this] { reject(); });

    auto* left = new QVBoxLayout;
    left->addWidget(title_);
    auto* hexRow = new QHBoxLayout;
    hexRow->addWidget(hexLabel_);
    hexRow->addWidget(hex_, 1);
    left->addLayout(hexRow);
    left->addWidget(otherInputs);
    left->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout;
    layout->addLayout(left, 1);
    layout->addWidget(modes, 0, Qt::AlignTop);
    layout->addLayout(buttons);
    return layout;
}

// Events: each goes to the entry, then the views are shown again.
void ByteEntryDialog::WireInputs() {
    connect(modes_, &QButtonGroup::idClicked, this,
            [this](int m) { Then([&] { entry_.SetMode(EntryMode(m)); }); });
    connect(counter_, &UpDown::stepped, this,
            [this](int delta) { Then([&] { entry_.CounterStep(delta); }); });
    connect(decimal_, &QLineEdit::textEdited, this,
            [this](const QString& text) { Then([&] { entry_.DecimalTyped(S(text)); }); });
    connect(hex_, &QLineEdit::textEdited, this,
            [this](const QString& text) { Then([&] { entry_.HexTyped(S(text)); }); });
    connect(character_, &QComboBox::textActivated, this, [this](const QString& text) {
        Then([&] { entry_.CharacterChosen(QStringToCell(text)); });
    });
    // Deleting or pasting in the box: its text is the character, or none.
    connect(character_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        Then([&] { entry_.CharacterChosen(QStringToCell(text)); });
    });
    connect(yesNo_, &QCheckBox::clicked, this,
            [this](bool ticked) { Then([&] { entry_.YesNoClicked(ticked); }); });
}

template <typename F> void ByteEntryDialog::Then(F&& step) {
    boundary_.Run([&] {
        step();
        ShowViews();
    });
}

void ByteEntryDialog::showEvent(QShowEvent* event) {
    Fill();
    QDialog::showEvent(event);
}

void ByteEntryDialog::Fill() {
    // The list is written anew, never added to.
    const QSignalBlocker block(character_);
    character_->clear();
    for (const std::string& letter : LetterList())
        character_->addItem(Q(letter));
    ShowViews();
}

// Each control shows its view; texts only when they differ, so the cursor
// stays where the user is typing.
void ByteEntryDialog::ShowViews() {
    const ByteViews& v = entry_.Views();
    auto setText = [](QLineEdit* edit, const QString& text) {
        if (edit->text() != text) edit->setText(text);
    };
    title_->setText(CellToQString(v.title));
    modeGroup_->setVisible(!v.integerField);
    otherInputs_->setVisible(!v.integerField);
    if (QAbstractButton* b = modes_->button(int(v.mode))) b->setChecked(true);
    setText(hex_, Q(v.hexText));
    setText(decimal_, Q(v.decimalText));
    setText(character_->lineEdit(), CellToQString(v.characterText));
    yesNo_->setChecked(v.yes);
    struct Input {
        EntryMode mode;
        QWidget* widgets[3];
    };
    const Input inputs[] = {
        {EntryMode::Hexadecimal, {hex_, hexLabel_, nullptr}},
        {EntryMode::Decimal, {decimal_, decimalLabel_, counter_}},
        {EntryMode::Character, {character_, characterLabel_, nullptr}},
        {EntryMode::YesNo, {yesNo_, yesNoLabel_, nullptr}},
    };
    for (const Input& input : inputs)
        for (QWidget* w : input.widgets)
            if (w) w->setEnabled(entry_.InputEnabled(input.mode));
}

bool ByteEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == hex_) {
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
    if (watched == character_ || watched == character_->lineEdit()) {
        auto typed = TypedCharacter(key);
        if (!typed) return false;
        const std::string cell = QStringToCell(QString(*typed));
        if (cell.size() != 1) return true; // not a Windows-1252 character
        Then([&] { entry_.CharacterTyped(static_cast<unsigned char>(cell[0])); });
        return true; // the box holds just that character, written by the views
    }
    return QDialog::eventFilter(watched, event);
}

void ByteEntryDialog::AcceptValue() {
    const ByteOkResult r = entry_.Ok(lang_);
    if (r.closes) {
        accept();
        return;
    }
    if (r.notice) ShowNotice(*r.notice, ui_);
}

} // namespace orvane
