#include "ui/dialogs/PrintRangeDialog.h"

#include "ui/qt/QtText.h"
#include "ui/qt/UpDown.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

namespace {
// The arrows step a row box by one between 1 and 100.
constexpr int kArrowMin = 1, kArrowMax = 100;

void Step(QLineEdit* box, int delta) {
    bool ok = false;
    int value = box->text().trimmed().toInt(&ok);
    if (!ok) value = kArrowMin;
    box->setText(QString::number(std::clamp(value + delta, kArrowMin, kArrowMax)));
}
} // namespace

PrintRangeDialog::PrintRangeDialog(SessionState& session, UserInteraction& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui),
      boundary_(ui, [this] { return session_.Language_(); }) {
    setObjectName("TformPrint");
    captions_.Title(this, txt::PrintRangeCaption);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildBoxes());
    auto* note = new QLabel(this);
    note->setObjectName("Label1");
    captions_.Text(note, txt::PrintFlagColumnsNote);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addLayout(BuildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (session_.Language_() == Lang::English) captions_.Apply(Lang::English);
}

// The first and last row, each with its arrows, and the column count.
QLayout* PrintRangeDialog::BuildBoxes() {
    auto* grid = new QGridLayout;
    auto row = [&](int r, const char* labelName, BiText caption, const char* boxName,
                   const QString& text) {
        auto* label = new QLabel(this);
        label->setObjectName(labelName);
        captions_.Text(label, caption);
        auto* box = new QLineEdit(text, this);
        box->setObjectName(boxName);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000000") + 12);
        grid->addWidget(label, r, 0);
        grid->addWidget(box, r, 1);
        return box;
    };
    auto arrows = [&](int r, const char* name, QLineEdit* box) {
        auto* updown = new UpDown(this);
        updown->setObjectName(name);
        grid->addWidget(updown, r, 2);
        connect(updown, &UpDown::stepped, this, [box](int d) { Step(box, d); });
    };
    firstRow_ = row(0, "lblPrem", txt::PrintFirstLine, "edPLigne", "1");
    arrows(0, "UpDown1", firstRow_);
    lastRow_ = row(1, "lblDer", txt::PrintLastLine, "edDLigne", "1");
    arrows(1, "UpDown2", lastRow_);
    columnCount_ = row(2, "lblCol", txt::PrintMaxiColumns, "edMaxiCol", QString());
    grid->setColumnStretch(3, 1);
    return grid;
}

QLayout* PrintRangeDialog::BuildButtons() {
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const char* text, auto handler) {
        auto* b = new QPushButton(Q(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        boundary_.Wire(b, handler);
    };
    button("btnPrintSel", txt::PrintSelectionButton, [this] { PrintChosenRange(); });
    button("btnPrintAll", txt::PrintAllButton, [this] { PrintAll(); });
    buttons->addStretch(1);
    button("Button1", txt::PrintCancelButton, [this] { reject(); });
    return buttons;
}

void PrintRangeDialog::PresetColumnCount(int columns) {
    columnCount_->setText(QString::number(columns));
}

void PrintRangeDialog::PrintChosenRange() {
    const PrintSelectionResult r =
        PrintSelection(session_.Table, S(columnCount_->text()), S(firstRow_->text()),
                       S(lastRow_->text()), session_.Language_());
    if (r.notice) ShowNotice(*r.notice, ui_);
    if (r.range && Print) Print(*r.range);
    if (r.closeWindow) accept();
}

void PrintRangeDialog::PrintAll() {
    const EditorNotice question = PrintAllQuestion(session_.Table, session_.Language_());
    if (!ui_.Confirm(question.text)) return;
    if (Print) Print(PrintAllRange(session_.Table));
}

} // namespace orvane
