// Program start: the application object, the windows in their creation
// order (the main window first: its creation reads the settings, so every
// later window knows the language), then the event loop.
#include "database/SessionState.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/MainWindow.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/QtUserInteraction.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QTranslator>

#include <clocale>
#include <cstdlib>

namespace {

// Documentation screenshots (tools/screenshot.sh): with ORVANE_SCREENSHOT
// naming a PNG file, the window opens the archive named by
// ORVANE_SCREENSHOT_ARCHIVE, shows the page numbered ORVANE_SCREENSHOT_PAGE
// (0 the records, 2 the map), draws itself into the PNG once shown and quits.
// On the map, ORVANE_SCREENSHOT_MAP sets the view: "world", or
// "longitude,latitude,pixels per degree"; ORVANE_SCREENSHOT_ROW makes a row
// current; ORVANE_SCREENSHOT_CHECK=1 runs Tools > Check.
// Not a user feature; nothing else reads the environment.
void ScheduleScreenshot(orvane::TForm_main& window) {
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
    QTimer::singleShot(300, &window, [&window, out, source, pageIndex, view, row, check] {
        if (!source.empty()) window.LoadArchive(source);
        if (row > 0) window.GoToCell(orvane::kFirstFieldColumn, row);
        if (check) window.Verifier->trigger();
        window.PageControl->setCurrentIndex(pageIndex);
        if (pageIndex == 2) window.resize(1100, 720); // room for the map
        QCoreApplication::processEvents();
        if (pageIndex == 2) window.Carte->FitAll(); // what a view set below replaces
        const QStringList parts = view.split(',');
        if (view == "world")
            window.Carte->View().ShowWorld();
        else if (parts.size() == 3)
            window.Carte->View().SetView({parts[0].toDouble(), parts[1].toDouble()},
                                         parts[2].toDouble());
        QTimer::singleShot(500, &window, [&window, out] {
            window.grab().save(QString::fromStdString(out));
            QApplication::exit(0);
        });
    });
}

} // namespace

int main(int argc, char** argv) {
    // The decimal separator, time zone and date formats come from the
    // user's locale; read them before anything resets LC_NUMERIC.
    std::setlocale(LC_ALL, "");
    orvane::SessionState session;
    session.Display = orvane::SystemDisplayContext();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(orvane::txt::ApplicationTitle));
    // The core formats numbers itself; keep the C library's numbers neutral.
    std::setlocale(LC_NUMERIC, "C");

    orvane::QtUserInteraction ui;
    orvane::QtBusyIndicator busy;
    const std::string iniPath = orvane::SettingsFilePath();

    orvane::TForm_main mainWindow(session, ui, &busy, iniPath);
    // The main window has read the language: Qt's own dialogs (file
    // pickers, message box buttons) speak it too.
    QTranslator qtTexts;
    if (orvane::LangOf(session.Language) == orvane::Lang::French &&
        qtTexts.load(QStringLiteral("qtbase_fr"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    ui.SetFallbackParent(&mainWindow);
    orvane::TForm_init initDialog(session, ui, iniPath, &mainWindow);
    mainWindow.SetInitDialog(&initDialog);

    // Centred on the screen at start.
    if (const QScreen* screen = mainWindow.screen()) {
        QRect frame = mainWindow.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        mainWindow.move(frame.topLeft());
    }
    ScheduleScreenshot(mainWindow);
    mainWindow.show();
    // Ask for the focus too: under a bare X server (no window manager) the
    // window would otherwise never become active, and the first-run check
    // waits for that.
    mainWindow.raise();
    mainWindow.activateWindow();
    return app.exec();
}
