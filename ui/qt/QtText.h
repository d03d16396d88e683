// Text at the Qt boundary: catalogue and message texts are UTF-8, table
// cells Windows-1252; Qt wants QString.
#pragma once

#include <QDir>
#include <QString>

#include <string>
#include <string_view>

namespace orvane {

inline QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}
inline QString Q(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

// A path Qt gives (file dialogs, the command line) as the program keeps and
// shows it: with the system's separators (Qt gives '/' on Windows too).
inline std::string NativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

// A Windows-1252 cell as a QString (ASCII takes the short road).
QString CellToQString(std::string_view cell);
// A QString as a Windows-1252 cell.
std::string QStringToCell(const QString& text);

} // namespace orvane
