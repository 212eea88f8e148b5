#pragma once

// Helpers the probe tests share: fake tools first on PATH and a capture of the
// log lines written to standard output.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace pw::test {

inline QString fakeToolsDir() {
    return QStringLiteral(PW_PROBES_FAKE_TOOLS);
}

// Sets an environment variable for the life of the guard.
class EnvGuard {
public:
    EnvGuard(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvGuard() {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Redirects file descriptor 1 into a temporary file until destroyed.
class StdoutCapture {
public:
    StdoutCapture() {
        m_file.open();
        std::fflush(stdout);
        m_saved = ::dup(1);
        ::dup2(m_file.handle(), 1);
    }
    ~StdoutCapture() { restore(); }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    QString text() {
        std::fflush(stdout);
        QFile reader(m_file.fileName());
        reader.open(QIODevice::ReadOnly);
        return QString::fromUtf8(reader.readAll());
    }

private:
    void restore() {
        if (m_saved >= 0) {
            std::fflush(stdout);
            ::dup2(m_saved, 1);
            ::close(m_saved);
            m_saved = -1;
        }
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace pw::test
