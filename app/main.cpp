// Program start: the application object, the windows in their creation
// order (the main window first: its creation reads the settings, so every
// later window knows the language), then the event loop.
#include "database/DbdFile.h"
#include "database/SessionState.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/MainWindow.h"
#include "ui/commands/CommandFamilies.h"
#include "ui/commands/FileCommands.h"
#include "ui/commands/RecentCommands.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/DesktopRecent.h"
#include "ui/qt/QtText.h"
#include "ui/qt/QtUserInteraction.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QScreen>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Documentation screenshots (tools/screenshot.sh): with ORVANE_SCREENSHOT
// naming a PNG file, the window opens the archive named by
// ORVANE_SCREENSHOT_ARCHIVE, shows the page numbered ORVANE_SCREENSHOT_PAGE
// (0 the records, 2 the map), draws itself into the PNG once shown, prints
// its status bar's text on stdout (what a script checks) and quits.
// On the map, ORVANE_SCREENSHOT_MAP sets the view: "world", or
// "longitude,latitude,pixels per degree"; ORVANE_SCREENSHOT_ROW makes a row
// current; ORVANE_SCREENSHOT_CHECK=1 runs Tools > Check;
// ORVANE_SCREENSHOT_SAVE names a DBD file the loaded table is saved to, as
// the save of all rows writes it (the Windows build's trial compares it with
// the Linux build's).
// Not a user feature; nothing else reads the environment.
void ScheduleScreenshot(orvane::MainWindow& window, orvane::SessionState& session,
                        orvane::UserInteraction& ui) {
    const char* png = std::getenv("ORVANE_SCREENSHOT");
    if (!png || !*png) return;
    const char* archive = std::getenv("ORVANE_SCREENSHOT_ARCHIVE");
    const std::string out = png;
    const std::string source = archive ? archive : "";
    const char* page = std::getenv("ORVANE_SCREENSHOT_PAGE");
    const int pageIndex = page ? std::atoi(page) : 0;
    const char* mapView = std::getenv("ORVANE_SCREENSHOT_MAP");
    const QString view = QString::fromUtf8(mapView ? mapView : "");
    const char* rowText = std::getenv("ORVANE_SCREENSHOT_ROW");
    const int row = rowText ? std::atoi(rowText) : 0;
    const bool check = std::getenv("ORVANE_SCREENSHOT_CHECK") != nullptr;
    const char* saveTo = std::getenv("ORVANE_SCREENSHOT_SAVE");
    const std::string dbd = saveTo ? saveTo : "";
    QTimer::singleShot(300, &window, [=, &window, &session, &ui] {
        if (!source.empty()) window.Commands().files->LoadArchive(source);
        if (!dbd.empty()) orvane::SaveDbd(session, dbd, false, ui);
        if (row > 0) window.GoToCell(orvane::kFirstFieldColumn, row);
        if (check) window.findChild<QAction*>("Verifier")->trigger();
        window.findChild<QTabWidget*>("PageControl")->setCurrentIndex(pageIndex);
        if (pageIndex == 2) window.resize(1100, 720); // room for the map
        QCoreApplication::processEvents();
        auto* map = window.findChild<orvane::MapWidget*>("Carte");
        if (pageIndex == 2) map->FitAll(); // what a view set below replaces
        const QStringList parts = view.split(',');
        if (view == "world")
            map->View().ShowWorld();
        else if (parts.size() == 3)
            map->View().SetView({parts[0].toDouble(), parts[1].toDouble()}, parts[2].toDouble());
        QTimer::singleShot(500, &window, [&window, out] {
            window.grab().save(QString::fromStdString(out));
            const auto* status = window.findChild<QLabel*>("StatusPanel0");
            std::printf("%s\n", status->text().toUtf8().constData());
            QApplication::exit(0);
        });
    });
}

struct CommandLine {
    bool help = false;
    bool version = false;
    QStringList files;
    QString error; // a wrong option
};

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("file"), QString());
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();
        return line;
    }
    line.help = parser.isSet(help);
    line.version = parser.isSet(version);
    line.files = parser.positionalArguments();
    return line;
}

// The language of the texts printed before any window: the settings' when
// there are settings, else French for a French locale, English otherwise.
orvane::Lang CommandLineLanguage(const std::string& iniPath) {
    orvane::SessionSettings settings;
    if (orvane::StartupRead(settings, iniPath)) return orvane::LangOf(settings.Language);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string(value).rfind("fr", 0) == 0 ? orvane::Lang::French
                                                          : orvane::Lang::English;
    }
    return orvane::Lang::English;
}

} // namespace

int main(int argc, char** argv) {
    // The decimal separator, time zone and date formats come from the
    // user's locale; read them before anything resets LC_NUMERIC.
    std::setlocale(LC_ALL, "");

    // --help and --version need no display: answered before Qt opens one.
    {
        QStringList raw;
        for (int i = 0; i < argc; ++i)
            raw << QString::fromLocal8Bit(argv[i]);
        const CommandLine early = ParseCommandLine(raw);
        if (early.version) {
            std::printf("orvane %s\n", ORVANE_VERSION);
            return 0;
        }
        if (early.help) {
            std::fputs(
                orvane::txt::CommandLineHelp.In(CommandLineLanguage(orvane::SettingsFilePath())),
                stdout);
            return 0;
        }
    }
    orvane::SessionState session;
    session.Display = orvane::SystemDisplayContext();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(orvane::txt::ApplicationTitle));
    // The installed desktop entry and icon (the desktop finds the window's
    // entry by this name under Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Orvane"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.orvane.Orvane")));
    // The core formats numbers itself; keep the C library's numbers neutral.
    std::setlocale(LC_NUMERIC, "C");
    // Qt has taken its own options (-platform, -style...): what is left is ours.
    const CommandLine line = ParseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        const std::string error = line.error.toStdString();
        std::fputs(orvane::Format(orvane::txt::CommandLineBadOption.In(
                                      CommandLineLanguage(orvane::SettingsFilePath())),
                                  error.c_str())
                       .c_str(),
                   stderr);
        return 1;
    }
    std::vector<std::string> files;
    for (const QString& file : line.files)
        files.push_back(orvane::NativePath(QFileInfo(file).absoluteFilePath()));

    orvane::QtUserInteraction ui;
    orvane::QtBusyIndicator busy;
    const std::string iniPath = orvane::SettingsFilePath();

    orvane::MainWindow mainWindow(session, ui, &busy, iniPath);
    // The main window has read the language: Qt's own dialogs (file
    // pickers, message box buttons) speak it too.
    QTranslator qtTexts;
    if (orvane::LangOf(session.Language) == orvane::Lang::French &&
        qtTexts.load(QStringLiteral("qtbase_fr"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    ui.SetFallbackParent(&mainWindow);
    orvane::DirectoriesDialog initDialog(session, ui, iniPath, &mainWindow);
    mainWindow.SetInitDialog(&initDialog);

    // Centred on the screen at start.
    if (const QScreen* screen = mainWindow.screen()) {
        QRect frame = mainWindow.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        mainWindow.move(frame.topLeft());
    }
    ScheduleScreenshot(mainWindow, session, ui);
    mainWindow.Commands().recent->ToDesktop = orvane::AddToDesktopRecent;
    // The files open once the window shows, so their messages open over it;
    // without a file, the last table when the option says so. The
    // documentation's screenshots start from an empty window.
    if (!files.empty())
        QTimer::singleShot(0, &mainWindow, [&mainWindow, files] { mainWindow.OpenFiles(files); });
    else if (!std::getenv("ORVANE_SCREENSHOT"))
        QTimer::singleShot(0, &mainWindow, [&mainWindow] { mainWindow.ReopenLastTable(); });
    mainWindow.show();
    // Ask for the focus too: under a bare X server (no window manager) the
    // window would otherwise never become active, and the first-run check
    // waits for that.
    mainWindow.raise();
    mainWindow.activateWindow();
    return app.exec();
}
