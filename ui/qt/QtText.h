// Catalogue and message texts (UTF-8) at the Qt boundary.
#pragma once

#include <QString>

#include <string>

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

} // namespace orvane
