#pragma once

// Copies one of the machine trees under tests/fixtures into a temporary folder,
// keeping symbolic links as links, so a test can rewrite counters between two
// samples or break files without touching the checked-in tree.

#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>

// Returns the copy's root (the folder holding proc/ and sys/), or an empty string
// if the fixture is missing or the copy failed.
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
