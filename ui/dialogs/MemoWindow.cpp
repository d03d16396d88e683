#include "ui/dialogs/MemoWindow.h"

#include "settings/Memo.h"
#include "ui/qt/QtText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace orvane {

MemoWindow::MemoWindow(UserInteraction& ui, Lang lang, std::string memoPath, QWidget* parent)
    : QDialog(parent), ui_(ui), lang_(lang), path_(std::move(memoPath)),
      boundary_(ui, [this] { return lang_; }) {
    setObjectName("TForm_Memoire");
    setModal(true);
    setSizeGripEnabled(true);
    captions_.Title(this, txt::MemoCaption);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("Memoire");
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* close = new QPushButton(this);
    close->setObjectName("btnFermerMemo");
    close->setAutoDefault(false); // Enter makes a new line in the text
    captions_.Text(close, txt::DialogClose);
    boundary_.Wire(close, [this] { Save(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    resize(480, 360);
    captions_.Apply(lang_);
}

bool MemoWindow::HasUnsavedText() const {
    return text_->document()->isModified();
}

void MemoWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) boundary_.Run([this] { Load(); });
}

void MemoWindow::Load() {
    if (const std::optional<std::string> text = ReadMemo(path_)) {
        text_->setPlainText(Q(*text));
        text_->document()->setModified(false);
        return;
    }
    ui_.ShowMessage(MessageKind::Warning, txt::MemoNotFound.In(lang_));
    Save();
}

void MemoWindow::Save() {
    WriteMemo(path_, S(text_->toPlainText()), lang_);
    text_->document()->setModified(false);
}

void MemoWindow::reject() {
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
