#include "platform/linux/refused_files.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

namespace pw::platform {
namespace {

// Per-process files come and go with their process, so a spell may never see
// its path again: past this many open spells, further refusals go unreported
// instead of growing the list.
constexpr std::size_t kMaxOpenSpells = 128;

std::mutex g_mutex;
std::vector<std::string> g_spells;
std::atomic<std::size_t> g_spellCount{0};
std::function<void(const std::string&)> g_log;

const char* reason(Refusal why) {
    switch (why) {
    case Refusal::NotRegularFile:
        return "is not a regular file";
    case Refusal::TooLong:
        return "is longer than any counter file";
    case Refusal::TooManyEntries:
        return "has too many entries; the rest are skipped";
    }
    return "";
}

} // namespace

void setRefusedFileLog(std::function<void(const std::string& line)> log) {
    const std::lock_guard lock(g_mutex);
    g_log = std::move(log);
}

void reportRefusedFile(const std::string& path, Refusal why) {
    const std::lock_guard lock(g_mutex);
    if (g_spells.size() >= kMaxOpenSpells ||
        std::find(g_spells.begin(), g_spells.end(), path) != g_spells.end()) {
        return;
    }
    g_spells.push_back(path);
    g_spellCount.store(g_spells.size(), std::memory_order_relaxed);
    const std::string line = "Not reading " + path + ": it " + reason(why) + ".";
    if (g_log) {
        g_log(line);
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void reportReadableFile(const std::string& path) {
    if (g_spellCount.load(std::memory_order_relaxed) == 0) {
        return;
    }
    const std::lock_guard lock(g_mutex);
    const auto it = std::find(g_spells.begin(), g_spells.end(), path);
    if (it != g_spells.end()) {
        g_spells.erase(it);
        g_spellCount.store(g_spells.size(), std::memory_order_relaxed);
    }
}

std::size_t openRefusalSpells() {
    return g_spellCount.load(std::memory_order_relaxed);
}

} // namespace pw::platform
