// A window's widgets are private: tests find them by object name, as
// automation does. A name that finds nothing stops the run with that name.
#pragma once

#include <QObject>
#include <QWidget>

namespace orvane::testing {

template <class W = QWidget> W* Child(const QObject* window, const char* name) {
    W* found = window->findChild<W*>(QLatin1String(name));
    if (!found) qFatal("no %s named %s", W::staticMetaObject.className(), name);
    return found;
}

} // namespace orvane::testing
