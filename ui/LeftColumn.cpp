#include "ui/LeftColumn.h"

#include "ui/qt/Captions.h"
#include "ui/qt/CommandControls.h"
#include "ui/qt/QtText.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

QLabel* InfoLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(p);
    return label;
}

QVBoxLayout* BoxLayout(QGroupBox* g) {
    auto* l = new QVBoxLayout(g);
    l->setContentsMargins(4, 2, 4, 4);
    l->setSpacing(3);
    return l;
}

} // namespace

LeftColumn::LeftColumn(const CommandControls& controls, const CommandTable& rowButtons,
                       Captions& captions, QWidget* parent)
    : QWidget(parent), captions_(captions) {
    setObjectName("Panel3");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(4);
    flyVersion_ = InfoLabel(this, "FlyVersion");
    flyVersion_->setText(Q(txt::FlyVersionUnknown));
    flyVersion_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    flyVersion_->setAlignment(Qt::AlignCenter);
    QFont bold = flyVersion_->font();
    bold.setBold(true);
    flyVersion_->setFont(bold);
    column->addWidget(flyVersion_);

    QGroupBox* find = Group("gbChercher", txt::GbChercher);
    auto* findLayout = BoxLayout(find);
    search_.fieldLabel = InfoLabel(find, "lblNom");
    captions_.Text(search_.fieldLabel, txt::LblNomUndefined);
    search_.searchBox = new QComboBox(find);
    search_.searchBox->setObjectName("cbSrch");
    search_.searchBox->setEditable(true);
    search_.icaoBox = new QLineEdit(find);
    search_.icaoBox->setObjectName("edOACI");
    search_.icaoBox->setMaxLength(5); // index keys have up to 5 characters
    search_.findExactButton = controls.Button("btnChercher1");
    search_.findPartialButton = controls.Button("btnChercher2");
    search_.icaoButton = controls.Button("btnOACI");
    auto* findButtons = new QHBoxLayout;
    auto* icao = new QHBoxLayout;
    for (QHBoxLayout* row : {findButtons, icao})
        row->setSpacing(3);
    findButtons->addWidget(search_.findExactButton);
    findButtons->addWidget(search_.findPartialButton);
    icao->addWidget(search_.icaoBox, 1);
    icao->addWidget(search_.icaoButton);
    search_.fieldChooser = new QToolButton(find);
    search_.fieldChooser->setObjectName("btnChamp");
    search_.fieldChooser->setArrowType(Qt::DownArrow);
    search_.fieldChooser->setAutoRaise(true);
    captions_.ToolTip(search_.fieldChooser, txt::SearchFieldChooser);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(2);
    fieldRow->addWidget(search_.fieldLabel, 1);
    fieldRow->addWidget(search_.fieldChooser);
    findLayout->addLayout(fieldRow);
    findLayout->addWidget(search_.searchBox);
    findLayout->addLayout(findButtons);
    findLayout->addLayout(icao);
    // 110 pixels as designed, or what the platform's font needs.
    find->setFixedHeight(std::max(110, find->sizeHint().height()));

    editBox_ = Group("gbEdition", txt::GbEdition);
    auto* edit = BoxLayout(editBox_);
    QGroupBox* exportBox = Group("gbExport", Both(txt::GbExport));
    auto* exp = BoxLayout(exportBox);
    selectLabel_ = InfoLabel(exportBox, "lblSelect");
    deleteLabel_ = InfoLabel(exportBox, "lblDelete");
    exp->addWidget(selectLabel_);
    exp->addWidget(deleteLabel_);
    for (const Command& c : rowButtons) {
        buttons_.push_back(controls.Button(c.name));
        (c.place == Place::EditBox ? edit : exp)->addWidget(buttons_.back());
    }
    column->addStretch(1);
    // The keyboard goes down the column as it reads, from the search box
    // (which has the focus at start).
    QWidget* previous = search_.fieldChooser;
    setTabOrder(previous, search_.searchBox);
    previous = search_.searchBox;
    for (QWidget* next :
         std::initializer_list<QWidget*>{search_.findExactButton, search_.findPartialButton,
                                         search_.icaoBox, search_.icaoButton})
        setTabOrder(std::exchange(previous, next), next);
    for (QWidget* next : buttons_)
        setTabOrder(std::exchange(previous, next), next);
    deleteRow_ = controls.Button("btnSuppLigne");
    insertRow_ = controls.Button("btnInserLigne");
}

// Group box captions in a dark yellow, readable on the platform's light
// window colour.
QGroupBox* LeftColumn::Group(const char* name, BiText caption) {
    auto* g = new QGroupBox(this);
    g->setObjectName(name);
    g->setStyleSheet(QStringLiteral("QGroupBox#%1::title { color: #b08800; }").arg(name));
    captions_.Title(g, caption);
    layout()->addWidget(g);
    return g;
}

void LeftColumn::ShowVersion(int version) {
    flyVersion_->setText(version == 0 ? Q(txt::FlyVersionUnknown)
                                      : Q(Format(txt::FlyVersionFormat, version)));
}

void LeftColumn::ShowSelectLabel(const QString& text) {
    selectLabel_->setText(text);
}

void LeftColumn::ShowDeleteLabel(const QString& text) {
    deleteLabel_->setText(text);
}

void LeftColumn::ShowRowCaptions(const QString& deleteCaption, const QString& insertCaption) {
    deleteRow_->setText(deleteCaption);
    insertRow_->setText(insertCaption);
}

void LeftColumn::ShowEditionBox(bool on) {
    editBox_->setVisible(on);
}

void LeftColumn::FitWidth(Lang l) {
    int w = 135;
    const QFontMetrics fm(buttons_.front()->font());
    QStringList texts = {Q(Format(txt::BtnInserLigneN.In(l), 999999)),
                         Q(Format(txt::BtnSuppLigneN.In(l), 999999)),
                         Q(Format(txt::SelectLabel.In(l, 999999), 999999)),
                         Q(Format(txt::DeleteLabel.In(l, 999999), 999999))};
    for (QWidget* b : buttons_)
        texts << static_cast<QPushButton*>(b)->text();
    for (const QString& text : texts)
        w = std::max(w, fm.horizontalAdvance(text) + 36);
    setFixedWidth(w);
}

} // namespace orvane
