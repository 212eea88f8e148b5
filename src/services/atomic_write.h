#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace pw {

// Writes `bytes` to `path` atomically: into a new file beside it, flushed to
// the disk, then renamed over `path`. Every step is checked, so a full disk or
// an I/O error is a failure and never a short or empty file; a failed write
// leaves nothing new behind. Returns the system's description of the error
// ("No space left on device") on failure.
std::optional<QString> writeFileAtomically(const QString& path, QByteArrayView bytes);

// Writes all of `bytes` to the open descriptor `fd`; the error's description
// when the system takes less.
std::optional<QString> writeAll(int fd, QByteArrayView bytes);

// The system's description of an errno value, not translated.
QString systemErrorText(int error);

} // namespace pw
