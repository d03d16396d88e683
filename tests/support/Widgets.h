// A window's widgets are private: tests find them by object name, as
// automation does. A name that finds nothing stops the run with that name.
// AddRow: one row of a data-driven Qt test, its values in column order.
#pragma once

#include <QObject>
#include <QTest>
#include <QWidget>

namespace orvane::testing {

template <class W = QWidget> W* Child(const QObject* window, const char* name) {
    W* found = window->findChild<W*>(QLatin1String(name));
    if (!found) qFatal("no %s named %s", W::staticMetaObject.className(), name);
    return found;
}

template <typename... Values> void AddRow(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}

} // namespace orvane::testing
