#include "ui/dialogs/CoordinateDialog.h"

#include "ui/qt/QtText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace {
constexpr CoordinateField kFields[] = {CoordinateField::DegLat, CoordinateField::MinLat,
                                       CoordinateField::SecLat, CoordinateField::DegLon,
                                       CoordinateField::MinLon, CoordinateField::SecLon};
}

TForm_latlon::TForm_latlon(Lang lang, char decimalSeparator, UserInteraction& ui, QWidget* parent)
    : QDialog(parent), lang_(lang), sep_(decimalSeparator), ui_(ui), boundary_(ui) {
    setObjectName("TForm_latlon");
    captions_.Title(this, txt::LatLonCaption);

    auto* grid = new QGridLayout;
    auto row = [&](int r, const char* caption, const char* names[5], QLabel*& label,
                   QComboBox*& hemisphere, QStringList letters, QLineEdit*& deg, QLineEdit*& min,
                   QLineEdit*& sec) {
        label = new QLabel(Q(caption), this);
        label->setObjectName(names[0]);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        hemisphere = new QComboBox(this);
        hemisphere->setObjectName(names[1]);
        hemisphere->setEditable(true);
        hemisphere->setInsertPolicy(QComboBox::NoInsert);
        hemisphere->addItems(letters);
        hemisphere->setFixedWidth(hemisphere->fontMetrics().horizontalAdvance("WW") + 40);
        QLineEdit** edits[3] = {&deg, &min, &sec};
        for (int i = 0; i < 3; ++i) {
            *edits[i] = new QLineEdit(this);
            (*edits[i])->setObjectName(names[2 + i]);
        }
        deg->setFixedWidth(deg->fontMetrics().horizontalAdvance("-1800") + 12);
        min->setFixedWidth(deg->width());
        sec->setFixedWidth(sec->fontMetrics().horizontalAdvance("00.00000") + 12);
        int c = 0;
        grid->addWidget(label, r, c++);
        grid->addWidget(new QLabel(Q(txt::LatLonLabelDegrees), this), r, c++);
        grid->addWidget(hemisphere, r, c++);
        grid->addWidget(deg, r, c++);
        grid->addWidget(new QLabel(Q(txt::LatLonLabelMinutes), this), r, c++);
        grid->addWidget(min, r, c++);
        grid->addWidget(new QLabel(Q(txt::LatLonLabelSeconds), this), r, c++);
        grid->addWidget(sec, r, c++);
    };
    const char* latNames[5] = {"Label1", "cbLat", "edDegLat", "edMinLat", "edSecLat"};
    const char* lonNames[5] = {"Label2", "cbLon", "edDegLon", "edMinLon", "edSecLon"};
    row(0, txt::LatLonLabelLatitude, latNames, Label1, cbLat, {"N", "S"}, edDegLat, edMinLat,
        edSecLat);
    row(1, txt::LatLonLabelLongitude, lonNames, Label2, cbLon, {"E", "W"}, edDegLon, edMinLon,
        edSecLon);

    btnOK = new QPushButton(this);
    btnOK->setObjectName("btnOK");
    captions_.Text(btnOK, txt::DialogClose);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName("btnCancel");
    captions_.Text(btnCancel, txt::DialogCancel);
    btnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    if (lang_ == Lang::English) captions_.Apply(Lang::English);
    const QSize hint = sizeHint();
    resize(std::max(hint.width(), 366), std::max(hint.height(), 131));

    for (CoordinateField f : kFields)
        connect(Field(f), &QLineEdit::textEdited, this, [this, f](const QString& text) {
            boundary_.Run([&] {
                if (auto notice = entry_.FieldChanged(f, QStringToCell(text), sep_))
                    ShowNotice(*notice, ui_);
                ShowTexts();
            });
        });
    connect(cbLat, &QComboBox::editTextChanged, this,
            [this](const QString& text) { entry_.SetHemisphere(true, QStringToCell(text)); });
    connect(cbLon, &QComboBox::editTextChanged, this,
            [this](const QString& text) { entry_.SetHemisphere(false, QStringToCell(text)); });
    boundary_.Wire(btnOK, [this] { btnOKClick(); });
    boundary_.Wire(btnCancel, [this] { reject(); });
}

QLineEdit* TForm_latlon::Field(CoordinateField field) const {
    switch (field) {
    case CoordinateField::DegLat:
        return edDegLat;
    case CoordinateField::MinLat:
        return edMinLat;
    case CoordinateField::SecLat:
        return edSecLat;
    case CoordinateField::DegLon:
        return edDegLon;
    case CoordinateField::MinLon:
        return edMinLon;
    case CoordinateField::SecLon:
        break;
    }
    return edSecLon;
}

void TForm_latlon::showEvent(QShowEvent* event) {
    boundary_.Run([this] { FormActivate(); });
    QDialog::showEvent(event);
}

void TForm_latlon::FormActivate() {
    for (const EditorNotice& notice : entry_.Fill(sep_))
        ShowNotice(notice, ui_);
    ShowTexts();
    edDegLat->setFocus();
}

// Texts only where they differ, so the cursor stays where the user types.
void TForm_latlon::ShowTexts() {
    const CoordinateTexts& t = entry_.Texts();
    for (CoordinateField f : kFields) {
        const QString text = CellToQString(t[f]);
        if (Field(f)->text() != text) Field(f)->setText(text);
    }
    if (cbLat->currentText() != CellToQString(t.latHemisphere))
        cbLat->setEditText(CellToQString(t.latHemisphere));
    if (cbLon->currentText() != CellToQString(t.lonHemisphere))
        cbLon->setEditText(CellToQString(t.lonHemisphere));
}

void TForm_latlon::btnOKClick() {
    const CoordinateOkResult r = entry_.Ok(sep_, lang_);
    for (const EditorNotice& notice : r.notices)
        ShowNotice(notice, ui_);
    if (r.closes) accept();
}

} // namespace orvane
