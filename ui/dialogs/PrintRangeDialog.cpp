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

TformPrint::TformPrint(SessionState& session, UserInteraction& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), boundary_(ui) {
    setObjectName("TformPrint");
    captions_.Title(this, txt::PrintRangeCaption);

    auto box = [this](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(name);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0000000") + 12);
        return edit;
    };
    auto label = [this](const char* name, BiText text) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        captions_.Text(l, text);
        return l;
    };
    lblPrem = label("lblPrem", txt::PrintFirstLine);
    edPLigne = box("edPLigne", "1");
    UpDown1 = new UpDown(this);
    UpDown1->setObjectName("UpDown1");
    lblDer = label("lblDer", txt::PrintLastLine);
    edDLigne = box("edDLigne", "1");
    UpDown2 = new UpDown(this);
    UpDown2->setObjectName("UpDown2");
    lblCol = label("lblCol", txt::PrintMaxiColumns);
    edMaxiCol = box("edMaxiCol", QString());
    Label1 = label("Label1", txt::PrintFlagColumnsNote);
    Label1->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lblPrem, 0, 0);
    grid->addWidget(edPLigne, 0, 1);
    grid->addWidget(UpDown1, 0, 2);
    grid->addWidget(lblDer, 1, 0);
    grid->addWidget(edDLigne, 1, 1);
    grid->addWidget(UpDown2, 1, 2);
    grid->addWidget(lblCol, 2, 0);
    grid->addWidget(edMaxiCol, 2, 1);
    grid->setColumnStretch(3, 1);

    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(Q(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    btnPrintSel = button("btnPrintSel", txt::PrintSelectionButton);
    btnPrintAll = button("btnPrintAll", txt::PrintAllButton);
    Button1 = button("Button1", txt::PrintCancelButton);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPrintSel);
    buttons->addWidget(btnPrintAll);
    buttons->addStretch(1);
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (session_.Language_() == Lang::English) captions_.Apply(Lang::English);

    connect(UpDown1, &UpDown::stepped, this, [this](int d) { Step(edPLigne, d); });
    connect(UpDown2, &UpDown::stepped, this, [this](int d) { Step(edDLigne, d); });
    boundary_.Wire(btnPrintSel, [this] { btnPrintSelClick(); });
    boundary_.Wire(btnPrintAll, [this] { btnPrintAllClick(); });
    boundary_.Wire(Button1, [this] { reject(); });
}

void TformPrint::btnPrintSelClick() {
    const PrintSelectionResult r =
        PrintSelection(session_.Table, S(edMaxiCol->text()), S(edPLigne->text()),
                       S(edDLigne->text()), session_.Language_());
    if (r.notice) ShowNotice(*r.notice, ui_);
    if (r.range && Print) Print(*r.range);
    if (r.closeWindow) accept();
}

void TformPrint::btnPrintAllClick() {
    const EditorNotice question = PrintAllQuestion(session_.Table, session_.Language_());
    if (!ui_.Confirm(question.text)) return;
    if (Print) Print(PrintAllRange(session_.Table));
}

} // namespace orvane
