// The memo window: a notepad kept in memo.txt between runs. The file is read
// each time the window is shown; "Fermer" saves without closing; closing it
// with text typed since the last save asks whether to save it.
#pragma once

#include "platform/UserInteraction.h"
#include "settings/Texts.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QDialog>

#include <string>

class QPlainTextEdit;

namespace orvane {

class MemoWindow : public QDialog {
    Q_OBJECT
  public:
    MemoWindow(UserInteraction& ui, Lang lang, std::string memoPath, QWidget* parent = nullptr);

    const std::string& MemoPath() const { return path_; }
    // Text typed since the last load or save.
    bool HasUnsavedText() const;

    // The file's lines replace the text; a missing file is created from the
    // text, after a message.
    void Load();
    // The text replaces the file; the window stays open ("Fermer").
    void Save();

    // The close box and Escape come here: unsaved text is saved, let go, or
    // the window stays, as the user answers.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPlainTextEdit* text_ = nullptr;
    UserInteraction& ui_;
    Lang lang_;
    std::string path_;
    CommandBoundary boundary_;
    Captions captions_;
};

} // namespace orvane
