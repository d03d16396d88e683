// The "Outils" and "Aide" menus: the simulator's two import tools, the memo,
// the about box and the help. (The archive viewer, OpenArchiveViewer, has
// its own home.)
#pragma once

#include "ui/commands/CommandContext.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace orvane {

class MemoWindow;
class AboutBox;

class ToolsCommands {
  public:
    // parent: the window the memo and about box open over; memoPath: memo.txt.
    ToolsCommands(CommandContext context, QWidget* parent, std::string memoPath);
    ~ToolsCommands();
    CommandTable Commands();
    // "Extraction POD": the archive viewer, shown modally (the window's).
    std::function<void()> ShowArchiveViewer;

    void RunDbImport();
    void RunDexImport();
    // The help message, then the help page of the user's language in the browser.
    void OpenHelpPage();
    void OpenMemo();
    void ShowAboutBox();

    // Created at their first showing, then kept (the memo keeps its text).
    MemoWindow* Memo();
    AboutBox* About();

    // The help page shipped with the program (help/ beside it, or in the
    // installed share/orvane/), in a language.
    static std::string HelpPagePath(Lang lang);

  private:
    void StartCompanion(const std::string& folder, const char* file, const char* missing);

    CommandContext c_;
    QWidget* parent_;
    std::string memoPath_;
    MemoWindow* memo_ = nullptr; // owned by parent_
    AboutBox* about_ = nullptr;  // owned by parent_
};

} // namespace orvane
