// The "Options" menu (the directories dialog, the language and the two
// simulator versions), the settings read at start-up and the first-run check.
#pragma once

#include "ui/commands/CommandContext.h"

#include <functional>
#include <string>

class QAction;
class QDialog;

namespace orvane {

class Captions;

// The archive filter of a simulator version (0: every file).
std::string OpenFilterFor(int version, Lang lang);

class OptionsCommands {
  public:
    OptionsCommands(CommandContext context, std::string iniPath, Captions& captions)
        : c_(context), iniPath_(std::move(iniPath)), captions_(captions) {}
    CommandTable Commands();
    void SetInitDialog(QDialog* dialog) { init_ = dialog; }
    // The language item, whose caption names the other language.
    void SetLanguageItem(QAction* item) { langage_ = item; }

    void OpenDirectories();
    // Writes the other language into the settings file; it applies at the next start.
    void SwitchLanguage();
    void Fly11Click() { SelectVersion(1); }
    void Fly21Click() { SelectVersion(2); }

    // Start-up: the settings file read (false: there is none yet), the
    // English captions, the version's panel, marks and archive filter.
    bool ReadSettings();
    // Without settings, once in a run: a notice, then the directories
    // dialog; afterwards AfterFirstRun (files named on the command line).
    void FirstRunCheck();
    std::function<void()> AfterFirstRun;
    bool InFirstRunCheck() const { return inFirstRunCheck_; }
    bool FirstRunChecked() const { return firstRunChecked_; }

  private:
    // The version's folders, panel, marks and archive filter.
    void SelectVersion(int version);

    CommandContext c_;
    std::string iniPath_;
    Captions& captions_;
    QDialog* init_ = nullptr;
    bool inFirstRunCheck_ = false;
    bool firstRunChecked_ = false; // once in this run
    QAction* langage_ = nullptr;
};

} // namespace orvane
