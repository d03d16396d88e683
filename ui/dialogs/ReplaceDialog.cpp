#include "ui/dialogs/ReplaceDialog.h"

#include "platform/Cp1252.h"
#include "ui/qt/Captions.h"
#include "ui/qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

ReplaceDialog::ReplaceDialog(Captions& captions, QWidget* parent) : QDialog(parent) {
    setObjectName("ReplaceDialog");
    captions.Title(this, txt::ReplaceTitle);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto box = [this](const char* name) {
        auto* b = new QComboBox(this);
        b->setObjectName(name);
        b->setEditable(true);
        b->setInsertPolicy(QComboBox::InsertAtTop);
        b->setMinimumWidth(260);
        return b;
    };
    find_ = box("ReplaceFind");
    replace_ = box("ReplaceWith");
    scope_ = new QComboBox(this);
    scope_->setObjectName("ReplaceScope");
    scope_->addItems({QString(), QString(), QString()});
    auto* findLabel = new QLabel(this);
    auto* withLabel = new QLabel(this);
    auto* scopeLabel = new QLabel(this);
    captions.Text(findLabel, txt::ReplaceFindLabel);
    captions.Text(withLabel, txt::ReplaceWithLabel);
    captions.Text(scopeLabel, txt::ReplaceScopeLabel);
    findLabel->setBuddy(find_);
    withLabel->setBuddy(replace_);
    scopeLabel->setBuddy(scope_);
    form->addRow(findLabel, find_);
    form->addRow(withLabel, replace_);
    form->addRow(scopeLabel, scope_);
    layout->addLayout(form);
    wholeCell_ = new QCheckBox(this);
    matchCase_ = new QCheckBox(this);
    regex_ = new QCheckBox(this);
    wholeCell_->setObjectName("ReplaceWholeCell");
    matchCase_->setObjectName("ReplaceMatchCase");
    regex_->setObjectName("ReplaceRegex");
    captions.Text(wholeCell_, txt::ReplaceWholeCell);
    captions.Text(matchCase_, txt::ReplaceMatchCase);
    captions.Text(regex_, txt::ReplaceRegex);
    for (QCheckBox* c : {wholeCell_, matchCase_, regex_})
        layout->addWidget(c);
    outcome_ = new QLabel(this);
    outcome_->setObjectName("ReplaceOutcome");
    outcome_->setWordWrap(true);
    layout->addWidget(outcome_);
    auto* buttons = new QDialogButtonBox(this);
    const auto button = [&](const char* name, BiText caption, Action action) {
        auto* b = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
        b->setObjectName(name);
        captions.Text(b, caption);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, action] {
            if (Run) Run(action);
        });
        return b;
    };
    findNext_ = button("ReplaceFindNext", txt::ReplaceFindNext, Action::FindNext);
    replaceOne_ = button("ReplaceOne", txt::ReplaceOne, Action::ReplaceOne);
    replaceAll_ = button("ReplaceAll", txt::ReplaceAll, Action::ReplaceAll);
    findNext_->setDefault(true);
    auto* close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    close->setObjectName("ReplaceClose");
    captions.Text(close, txt::ReplaceClose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // The scope's first and third entries follow the language.
    captions.ItemText(scope_, 0, txt::ReplaceScopeAll);
    captions.ItemText(scope_, 2, txt::ReplaceScopeSelection);
}

QPushButton* ReplaceDialog::Button(Action action) const {
    switch (action) {
    case Action::FindNext:
        return findNext_;
    case Action::ReplaceOne:
        return replaceOne_;
    default:
        return replaceAll_;
    }
}

QString ReplaceDialog::FindText() const {
    return find_->currentText();
}

QString ReplaceDialog::ReplacementText() const {
    return replace_->currentText();
}

ReplaceRule ReplaceDialog::Rule() const {
    ReplaceRule rule;
    rule.find = Utf8ToCp1252(S(FindText()));
    rule.replacement = Utf8ToCp1252(S(ReplacementText()));
    rule.wholeCell = wholeCell_->isChecked();
    rule.matchCase = matchCase_->isChecked();
    rule.regex = regex_->isChecked();
    return rule;
}

ReplaceDialog::Scope ReplaceDialog::ChosenScope() const {
    return static_cast<Scope>(scope_->currentIndex());
}

void ReplaceDialog::SetColumnTitle(const QString& title, Lang lang) {
    scope_->setItemText(1, Q(Format(txt::ReplaceScopeColumn.In(lang), S(title).c_str())));
}

void ReplaceDialog::ShowOutcome(const QString& text) {
    outcome_->setText(text);
}

void ReplaceDialog::Start(const QString& findText) {
    if (!findText.isEmpty()) find_->setEditText(findText);
    outcome_->clear();
    find_->setFocus();
    find_->lineEdit()->selectAll();
}

} // namespace orvane
