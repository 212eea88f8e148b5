#include "services/atomic_write.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace pw {

QString systemErrorText(int error) {
    const char* text = ::strerrordesc_np(error);
    return text ? QString::fromUtf8(text) : QStringLiteral("error %1").arg(error);
}

std::optional<QString> writeAll(int fd, QByteArrayView bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.data() + written, static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return systemErrorText(n < 0 ? errno : ENOSPC);
        }
        written += n;
    }
    return std::nullopt;
}

std::optional<QString> writeFileAtomically(const QString& path, QByteArrayView bytes) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // 0666 less the umask, as any new file of the user's.
        fd =
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return systemErrorText(errno);
    }
    std::optional<QString> error = writeAll(fd, bytes);
    // Some file systems report a full disk or a failed device only here.
    if (!error && ::fsync(fd) != 0) {
        error = systemErrorText(errno);
    }
    if (::close(fd) != 0 && !error) {
        error = systemErrorText(errno);
    }
    if (!error && ::rename(temporary.constData(), target.constData()) != 0) {
        error = systemErrorText(errno);
    }
    if (error) {
        ::unlink(temporary.constData());
    }
    return error;
}

} // namespace pw
