#include "ui/qt/QtText.h"

#include "platform/Cp1252.h"

namespace orvane {

QString CellToQString(std::string_view cell) {
    for (char c : cell)
        if (static_cast<unsigned char>(c) >= 0x80) return Q(Cp1252ToUtf8(cell));
    return QString::fromLatin1(cell.data(), qsizetype(cell.size()));
}

std::string QStringToCell(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToCp1252(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

} // namespace orvane
