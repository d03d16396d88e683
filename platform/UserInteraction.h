// The one seam through which the core talks to the user: message boxes,
// questions, beeps, file and folder pickers. The windows implement it with
// real dialogs, the batch tool with stderr, the tests with a scripted fake.
// Texts crossing this seam are UTF-8.
#pragma once

#include "platform/Wording.h"

#include <functional>
#include <optional>
#include <string>

namespace orvane {

enum class MessageKind { Information, Warning, Error };

// The answer to a question about unsaved text before a window closes.
enum class SaveChoice { Save, Discard, Cancel };

// A file dialog request. Filter uses the "Caption|*.ext|Caption|*.*" form.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string initialFolder;
    std::string fileName;         // proposed name (save) or empty
    std::string defaultExtension; // without the dot
    bool confirmOverwrite = true; // save dialogs ask before replacing a file
};

// The printer dialog: where a printout goes. A printer by name, or a PDF
// file (the dialog's "print to file").
struct PrinterRequest {
    std::string suggestedFile; // proposed for printing to a file
};
struct PrinterChoice {
    std::string printerName; // empty: the system's default printer
    std::string outputFile;  // not empty: a PDF file instead of a printer
    int copies = 1;
    double paperWidthMm = 210, paperHeightMm = 297; // portrait size of the paper
    bool color = true;
};

class UserInteraction {
  public:
    virtual ~UserInteraction() = default;

    // A message box with one OK button. Title may be empty (program title).
    virtual void ShowMessage(MessageKind kind, const std::string& text,
                             const std::string& title = {}) = 0;
    // A message of the core, a catalogue text with its arguments, worded
    // here in the seam's language (the core words no text itself).
    void Show(MessageKind kind, const Message& message, const BiText& title = {}) {
        ShowMessage(kind, message.In(wording_), title.In(wording_));
    }
    // The language the core's messages are worded in: the user's in the
    // editor, English in the batch tool.
    void SetLanguage(Lang lang) { wording_ = lang; }
    Lang Language() const { return wording_; }
    // A warning question with OK and Cancel: true on OK.
    virtual bool Confirm(const std::string& text) = 0;
    virtual void Beep() = 0;

    // Pickers; nullopt when the user cancels.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest&) { return std::nullopt; }
    virtual std::optional<std::string> SaveFile(const FileDialogRequest&) { return std::nullopt; }
    virtual std::optional<std::string> PickFolder(const std::string& /*title*/,
                                                  const std::string& /*start*/) {
        return std::nullopt;
    }
    // The printer dialog; nullopt when the user cancels.
    virtual std::optional<PrinterChoice> ChoosePrinter(const PrinterRequest&) {
        return std::nullopt;
    }

    // Unsaved text before a close: save it, let it go, or stay.
    virtual SaveChoice AskSave(const std::string& text) {
        return Confirm(text) ? SaveChoice::Save : SaveChoice::Discard;
    }

  private:
    Lang wording_ = Lang::English;
};

// Busy cursor as a scope guard, through the seam's owner.
class BusyIndicator {
  public:
    virtual ~BusyIndicator() = default;
    virtual void Begin() {}
    virtual void End() {}
};

class BusyScope {
  public:
    explicit BusyScope(BusyIndicator* busy) : busy_(busy) {
        if (busy_) busy_->Begin();
    }
    ~BusyScope() {
        if (busy_) busy_->End();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    BusyIndicator* busy_;
};

// The seam where no user is (the demo folder's builder, the benchmarks, the
// fuzzers): every question is answered OK, no file, folder or printer is
// chosen, no cursor changes; a message or a beep goes to its handler when
// one is set, else nowhere.
class UnattendedInteraction : public UserInteraction, public BusyIndicator {
  public:
    std::function<void(MessageKind, const std::string&)> OnMessage;
    std::function<void()> OnBeep;

    void ShowMessage(MessageKind kind, const std::string& text, const std::string&) override {
        if (OnMessage) OnMessage(kind, text);
    }
    bool Confirm(const std::string&) override { return true; }
    void Beep() override {
        if (OnBeep) OnBeep();
    }
};

} // namespace orvane
