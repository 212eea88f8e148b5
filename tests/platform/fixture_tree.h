#pragma once

// The machine trees under tests/fixtures: their paths, a temporary copy a test
// may rewrite between two readings or break, writing files into one, and a
// Linux source reading one.

#include "platform/fake/fake_sources.h"
#include "platform/root_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>

inline std::string fixturePath(const char* name) {
    return std::string(PW_FIXTURES) + "/" + name;
}

// Copies a fixture, keeping symbolic links as links, and returns the copy's root
// (the folder holding proc/ and sys/), or an empty string if the fixture is
// missing or the copy failed.
inline QString copyFixture(const QString& name, QTemporaryDir& dir) {
    namespace fs = std::filesystem;
    const fs::path source = fs::path(PW_FIXTURES) / name.toStdString();
    const fs::path target = fs::path(dir.path().toStdString()) / name.toStdString();
    std::error_code error;
    if (!dir.isValid() || !fs::is_directory(source, error)) {
        return {};
    }
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error) {
        return {};
    }
    return QString::fromStdString(target.string());
}

// Writes `content` at `path`, making its folders; false on failure.
inline bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) >= 0;
}

// A script at `path` its owner may run, as an installed program.
inline bool writeExecutable(const QString& path) {
    return writeFile(path, "#!/bin/sh\n") &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Puts an empty folder where a file was: it opens, but never reads.
inline bool replaceWithDirectory(const QString& path) {
    QFile::remove(path);
    return QDir().mkpath(path);
}

// A Linux source reading the tree at `root`; the sources that rescan take a
// clock the test moves on by hand.
template <typename Source> struct SourceOn {
    explicit SourceOn(const std::string& root) : source(open(root, clock)) {}
    std::shared_ptr<pw::platform::FakeClock> clock = std::make_shared<pw::platform::FakeClock>();
    Source source;

private:
    static Source open(const std::string& root, std::shared_ptr<pw::platform::Clock> clock) {
        if constexpr (std::is_constructible_v<Source, pw::platform::RootPath,
                                              std::shared_ptr<pw::platform::Clock>>) {
            return Source(pw::platform::RootPath(root), std::move(clock));
        } else {
            return Source(pw::platform::RootPath(root));
        }
    }
};
