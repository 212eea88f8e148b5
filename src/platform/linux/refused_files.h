#pragma once

// Counter files the backend refuses to read (a FIFO or device put in place of
// one, a file far longer than any counter) make their one reading unknown.
// Each is reported once per spell: the first refusal logs a line, later ones
// of the same path stay quiet until that path reads normally again.

#include <functional>
#include <string>

namespace pw::platform {

enum class Refusal {
    NotRegularFile, // FIFO, socket, device, directory
    TooLong,        // over the read bound
    TooManyEntries, // a directory listing stopped at its bound
};

// Where the lines go; standard error until the program says otherwise. Called
// from whichever thread read the file.
void setRefusedFileLog(std::function<void(const std::string& line)> log);

void reportRefusedFile(const std::string& path, Refusal why);

// Ends the spell of `path`, if it has one. Cheap when no spell is open.
void reportReadableFile(const std::string& path);

// How many spells are open; tests look at it.
std::size_t openRefusalSpells();

} // namespace pw::platform
