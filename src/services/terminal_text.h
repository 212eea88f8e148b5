#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pw {

// Text on its way to a terminal, where anything the machine names (a process,
// a path, an interface, a sensor label) could otherwise clear the screen, set
// the window title or forge a line of its own: C0 controls, DEL and C1
// controls are written as \xNN, and what is not valid Unicode (a lone
// surrogate) as U+FFFD. The result never holds a line break.
QString terminalSafe(QStringView text);

// The same for raw bytes, where what is not valid UTF-8 becomes U+FFFD.
QString terminalSafeUtf8(QByteArrayView bytes);

// A JSON text with DEL and the C1 controls inside its strings written as \u
// escapes: the same document, safe to show in a terminal. (C0 controls are
// escaped by JSON itself.)
QByteArray terminalSafeJson(const QByteArray& json);

} // namespace pw
