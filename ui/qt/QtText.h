// Text at the Qt boundary: catalogue and message texts are UTF-8, table
// cells Windows-1252; Qt wants QString.
#pragma once

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

// A Windows-1252 cell as a QString (ASCII takes the short road).
QString CellToQString(std::string_view cell);
// A QString as a Windows-1252 cell.
std::string QStringToCell(const QString& text);

} // namespace orvane
