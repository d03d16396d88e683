#include "ui/dialogs/MemoWindow.h"

#include "settings/Memo.h"
#include "ui/qt/QtText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace orvane {

TForm_Memoire::TForm_Memoire(UserInteraction& ui, Lang lang, std::string memoPath, QWidget* parent)
    : QDialog(parent), ui_(ui), lang_(lang), path_(std::move(memoPath)), boundary_(ui) {
    setObjectName("TForm_Memoire");
    setModal(true);
    setSizeGripEnabled(true);
    captions_.Title(this, txt::MemoCaption);

    Memoire = new QPlainTextEdit(this);
    Memoire->setObjectName("Memoire");
    Memoire->setLineWrapMode(QPlainTextEdit::NoWrap);
    btnFermerMemo = new QPushButton(this);
    btnFermerMemo->setObjectName("btnFermerMemo");
    btnFermerMemo->setAutoDefault(false); // Enter makes a new line in the text
    captions_.Text(btnFermerMemo, txt::DialogClose);
    boundary_.Wire(btnFermerMemo, [this] { btnFermerMemoClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memoire, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnFermerMemo);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    resize(480, 360);
    captions_.Apply(lang_);
}

bool TForm_Memoire::HasUnsavedText() const {
    return Memoire->document()->isModified();
}

void TForm_Memoire::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) boundary_.Run([this] { FormActivate(); });
}

void TForm_Memoire::FormActivate() {
    if (const std::optional<std::string> text = ReadMemo(path_)) {
        Memoire->setPlainText(Q(*text));
        Memoire->document()->setModified(false);
        return;
    }
    ui_.ShowMessage(MessageKind::Warning, txt::MemoNotFound.In(lang_));
    Save();
}

void TForm_Memoire::btnFermerMemoClick() {
    Save();
}

void TForm_Memoire::Save() {
    WriteMemo(path_, S(Memoire->toPlainText()), lang_);
    Memoire->document()->setModified(false);
}

void TForm_Memoire::reject() {
    bool close = true;
    boundary_.Run([&] {
        if (!HasUnsavedText()) return;
        switch (ui_.AskSave(txt::MemoUnsaved.In(lang_))) {
        case SaveChoice::Save:
            close = false; // until the save went through
            Save();
            close = true;
            break;
        case SaveChoice::Discard:
            break;
        case SaveChoice::Cancel:
            close = false;
            break;
        }
    });
    if (close) QDialog::reject();
}

} // namespace orvane
