// The "Options" menu: the directories dialog, the language and the two
// simulator versions.
#pragma once

#include "ui/commands/CommandContext.h"

#include <string>

class QAction;
class QDialog;

namespace orvane {

class Captions;

// The archive filter of a simulator version (0: every file).
std::string OpenFilterFor(int version, Lang lang);

class OptionsCommands {
  public:
    OptionsCommands(CommandContext context, std::string iniPath, const Captions& captions)
        : c_(context), iniPath_(std::move(iniPath)), captions_(captions) {}
    void SetInitDialog(QDialog* dialog) { init_ = dialog; }

    void InitialisationClick();
    // Writes the other language into the settings file; it applies at the next start.
    void LangageClick(QAction* langage);
    void Fly11Click() { SelectVersion(1); }
    void Fly21Click() { SelectVersion(2); }

  private:
    // The version's folders, panel, marks and archive filter.
    void SelectVersion(int version);

    CommandContext c_;
    std::string iniPath_;
    const Captions& captions_;
    QDialog* init_ = nullptr;
};

} // namespace orvane
