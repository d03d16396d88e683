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

CoordinateDialog::CoordinateDialog(Lang lang, char decimalSeparator, UserInteraction& ui,
                                   QWidget* parent)
    : QDialog(parent), lang_(lang), sep_(decimalSeparator), ui_(ui),
      boundary_(ui, [this] { return lang_; }) {
    setObjectName("TForm_latlon");
    captions_.Title(this, txt::LatLonCaption);

    auto* grid = new QGridLayout;
    BuildRow(grid, true);
    BuildRow(grid, false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(BuildButtons());
    if (lang_ == Lang::English) captions_.Apply(Lang::English);
    const QSize hint = sizeHint();
    resize(std::max(hint.width(), 366), std::max(hint.height(), 131));
    WireFields();
}

void CoordinateDialog::BuildRow(QGridLayout* grid, bool latitude) {
    static const char* const kNames[2][5] = {
        {"Label1", "cbLat", "edDegLat", "edMinLat", "edSecLat"},
        {"Label2", "cbLon", "edDegLon", "edMinLon", "edSecLon"}};
    const int r = latitude ? 0 : 1;
    const char* const* names = kNames[r];
    auto* label =
        new QLabel(Q(latitude ? txt::LatLonLabelLatitude : txt::LatLonLabelLongitude), this);
    label->setObjectName(names[0]);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    auto* hemisphere = new QComboBox(this);
    hemisphere->setObjectName(names[1]);
    hemisphere->setEditable(true);
    hemisphere->setInsertPolicy(QComboBox::NoInsert);
    hemisphere->addItems(latitude ? QStringList{"N", "S"} : QStringList{"E", "W"});
    hemisphere->setFixedWidth(hemisphere->fontMetrics().horizontalAdvance("WW") + 40);
    (latitude ? latHemisphere_ : lonHemisphere_) = hemisphere;
    QLineEdit* edits[3];
    for (int i = 0; i < 3; ++i) {
        edits[i] = new QLineEdit(this);
        edits[i]->setObjectName(names[2 + i]);
        fields_[(latitude ? 0 : 3) + i] = edits[i];
    }
    edits[0]->setFixedWidth(edits[0]->fontMetrics().horizontalAdvance("-1800") + 12);
    edits[1]->setFixedWidth(edits[0]->width());
    edits[2]->setFixedWidth(edits[2]->fontMetrics().horizontalAdvance("00.00000") + 12);
    int c = 0;
    grid->addWidget(label, r, c++);
    grid->addWidget(new QLabel(Q(txt::LatLonLabelDegrees), this), r, c++);
    grid->addWidget(hemisphere, r, c++);
    grid->addWidget(edits[0], r, c++);
    grid->addWidget(new QLabel(Q(txt::LatLonLabelMinutes), this), r, c++);
    grid->addWidget(edits[1], r, c++);
    grid->addWidget(new QLabel(Q(txt::LatLonLabelSeconds), this), r, c++);
    grid->addWidget(edits[2], r, c++);
}

QLayout* CoordinateDialog::BuildButtons() {
    auto* ok = new QPushButton(this);
    ok->setObjectName("btnOK");
    captions_.Text(ok, txt::DialogClose);
    ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("btnCancel");
    captions_.Text(cancel, txt::DialogCancel);
    cancel->setAutoDefault(false);
    boundary_.Wire(ok, [this] { AcceptValues(); });
    boundary_.Wire(cancel, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

void CoordinateDialog::WireFields() {
    for (CoordinateField f : kFields)
        connect(Field(f), &QLineEdit::textEdited, this, [this, f](const QString& text) {
            boundary_.Run([&] {
                if (auto notice = entry_.FieldChanged(f, QStringToCell(text), sep_))
                    ShowNotice(*notice, ui_);
                ShowTexts();
            });
        });
    connect(latHemisphere_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { entry_.SetHemisphere(true, QStringToCell(text)); });
    connect(lonHemisphere_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { entry_.SetHemisphere(false, QStringToCell(text)); });
}

void CoordinateDialog::showEvent(QShowEvent* event) {
    boundary_.Run([this] { Fill(); });
    QDialog::showEvent(event);
}

void CoordinateDialog::Fill() {
    for (const EditorNotice& notice : entry_.Fill(sep_))
        ShowNotice(notice, ui_);
    ShowTexts();
    Field(CoordinateField::DegLat)->setFocus();
}

// Texts only where they differ, so the cursor stays where the user types.
void CoordinateDialog::ShowTexts() {
    const CoordinateTexts& t = entry_.Texts();
    for (CoordinateField f : kFields) {
        const QString text = CellToQString(t[f]);
        if (Field(f)->text() != text) Field(f)->setText(text);
    }
    if (latHemisphere_->currentText() != CellToQString(t.latHemisphere))
        latHemisphere_->setEditText(CellToQString(t.latHemisphere));
    if (lonHemisphere_->currentText() != CellToQString(t.lonHemisphere))
        lonHemisphere_->setEditText(CellToQString(t.lonHemisphere));
}

void CoordinateDialog::AcceptValues() {
    const CoordinateOkResult r = entry_.Ok(sep_, lang_);
    for (const EditorNotice& notice : r.notices)
        ShowNotice(notice, ui_);
    if (r.closes) accept();
}

} // namespace orvane
