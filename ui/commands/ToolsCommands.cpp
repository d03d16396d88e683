#include "ui/commands/ToolsCommands.h"

#include "platform/BinaryFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/MemoWindow.h"
#include "ui/qt/Captions.h"
#include "ui/qt/QtText.h"

#include <QDesktopServices>
#include <QUrl>

namespace orvane {

ToolsCommands::ToolsCommands(CommandContext context, QWidget* parent, std::string memoPath)
    : c_(context), parent_(parent), memoPath_(std::move(memoPath)) {}

ToolsCommands::~ToolsCommands() = default;

CommandTable ToolsCommands::Commands() {
    return {
        {"Extraction_POD",
         txt::MenuExtractionPod,
         Place::ToolsMenu,
         {},
         When::Always,
         [this] { ShowArchiveViewer(); }},
        {"LancerDexImport",
         Both(txt::MenuLancerDexImport),
         Place::ToolsMenu,
         {},
         When::Always,
         [this] { RunDexImport(); }},
        {"LancerDBImport",
         txt::MenuLancerDBImport,
         Place::ToolsMenu,
         {},
         When::Always,
         [this] { RunDbImport(); }},
        {"Pournepasoublier",
         txt::MenuPournepasoublier,
         Place::ToolsMenu,
         {},
         When::Always,
         [this] { OpenMemo(); }},
        {"Apropos",
         txt::MenuApropos,
         Place::HelpMenu,
         {},
         When::Always,
         [this] { ShowAboutBox(); }},
        {"AideHTML",
         txt::MenuAideHTML,
         Place::HelpMenu,
         {"F1"},
         When::Always,
         [this] { OpenHelpPage(); }},
    };
}

void ToolsCommands::StartCompanion(const std::string& folder, const char* file,
                                   const char* missing) {
    const std::optional<std::string> path = FindProgramFile(folder, file);
    if (!path) {
        c_.ui.ShowMessage(MessageKind::Warning, missing);
        return;
    }
    const StartResult r = StartDetached(*path);
    if (r.status == StartResult::WineMissing)
        c_.ui.ShowMessage(MessageKind::Warning,
                          Format(txt::WineNeeded.In(c_.lang()), path->c_str()));
    else if (r.status == StartResult::Failed)
        c_.ui.ShowMessage(MessageKind::Error, Format(txt::ProgramNotStarted.In(c_.lang()),
                                                     path->c_str(), r.reason.c_str()));
    else // it runs on its own: the status bar says it was started
        c_.view.ShowNote(Format(txt::ProgramStarted.In(c_.lang()), FileNameOf(*path).c_str()));
}

void ToolsCommands::RunDbImport() {
    StartCompanion(c_.session.DbImportDir, "dbimport.exe", txt::DbImportNotFound.In(c_.lang()));
}

void ToolsCommands::RunDexImport() {
    StartCompanion(c_.session.DexImportDir, "deximportgui.exe",
                   txt::DexImportNotFound.In(c_.lang()));
}

std::string ToolsCommands::HelpPagePath(Lang lang) {
    return ProgramDataFolder() + "help/" +
           (lang == Lang::English ? "orvane-help-en.html" : "orvane-help-fr.html");
}

namespace {

// Whether a browser shows the page. Qt's own opening only says that xdg-open
// was started, not that it found a browser: xdg-open is run here and its
// end read (a few seconds at most; one still running runs the browser).
bool OpenInBrowser(const std::string& page) {
    const OpenResult r = OpenDocument(page, 3000);
    if (r.status != OpenResult::NoOpener) return r.status == OpenResult::Opened;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(page)));
}

} // namespace

void ToolsCommands::OpenHelpPage() {
    const Lang lang = c_.lang();
    const std::string page = HelpPagePath(lang);
    // The page is opened first, so that one message says what became of it.
    bool opened = false;
    BiText where = txt::HelpPageMissing;
    if (FileExists(page)) {
        opened = OpenInBrowser(page);
        where = opened ? txt::HelpPageAt : txt::HelpNoBrowser;
    }
    c_.ui.ShowMessage(opened ? MessageKind::Information : MessageKind::Warning,
                      std::string(txt::HelpMessage.In(lang)) + "\r\n\r\n" +
                          Format(where.In(lang), page.c_str()));
}

MemoWindow* ToolsCommands::Memo() {
    if (!memo_) memo_ = new MemoWindow(c_.ui, c_.lang(), memoPath_, parent_);
    return memo_;
}

AboutBox* ToolsCommands::About() {
    if (!about_) about_ = new AboutBox(c_.lang(), parent_);
    return about_;
}

void ToolsCommands::OpenMemo() {
    Memo()->exec();
}

void ToolsCommands::ShowAboutBox() {
    About()->exec();
}

} // namespace orvane
