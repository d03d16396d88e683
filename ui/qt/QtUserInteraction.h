// The Qt side of the user-interaction seam: message boxes, questions, file
// and folder dialogs, the beep and the busy cursor.
#pragma once

#include "platform/UserInteraction.h"

#include <QString>

#include <memory>

class QMessageBox;
class QPrinter;
class QWidget;

namespace orvane {

// "Caption|*.ext|Caption|*.*" into Qt's "Caption (*.ext);;Caption (*.*)".
// Each pattern is offered in both letter cases, as the simulator's files
// come from Windows where names ignore case.
QString QtFileFilter(const std::string& filter);

// Makes a message box at least as wide as its title needs in a title bar
// (with room for the window's icon and buttons), so that a short message
// never cuts its title.
void WidenForTitle(QMessageBox& box);

class QtUserInteraction : public UserInteraction {
  public:
    // Dialogs are parented to the active window, or to fallbackParent.
    explicit QtUserInteraction(QWidget* fallbackParent = nullptr);
    ~QtUserInteraction() override;
    void SetFallbackParent(QWidget* parent) { fallback_ = parent; }

    void ShowMessage(MessageKind kind, const std::string& text,
                     const std::string& title = {}) override;
    bool Confirm(const std::string& text) override;
    void Beep() override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> PickFolder(const std::string& title,
                                          const std::string& start) override;
    // The platform's print dialog, on one printer kept for the whole run.
    std::optional<PrinterChoice> ChoosePrinter(const PrinterRequest& request) override;
    SaveChoice AskSave(const std::string& text) override;

  private:
    QWidget* Parent() const;
    QWidget* fallback_;
    std::unique_ptr<QPrinter> printer_;
};

// The hourglass: QApplication's override cursor, nested calls counted by Qt.
class QtBusyIndicator : public BusyIndicator {
  public:
    void Begin() override;
    void End() override;
};

} // namespace orvane
