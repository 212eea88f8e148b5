#pragma once

#include <string>
#include <string_view>

namespace pw::platform {

// Where the machine's /proc, /sys and /dev are: "/" on a live machine, a copied
// tree in tests (the --root option). Every reading builds its paths here.
class RootPath {
public:
    explicit RootPath(std::string root = "/") : m_root(std::move(root)) {
        while (m_root.size() > 1 && m_root.back() == '/')
            m_root.pop_back();
        if (m_root == "/")
            m_root.clear();
    }

    // `relative` has no leading slash, e.g. proc("stat").
    std::string proc(std::string_view relative) const { return join("/proc/", relative); }
    std::string sys(std::string_view relative) const { return join("/sys/", relative); }
    std::string dev(std::string_view relative) const { return join("/dev/", relative); }
    // The root itself, "" for the live machine's "/".
    const std::string& prefix() const { return m_root; }

private:
    std::string join(std::string_view area, std::string_view relative) const {
        std::string path;
        path.reserve(m_root.size() + area.size() + relative.size());
        path.append(m_root).append(area).append(relative);
        return path;
    }
    std::string m_root;
};

} // namespace pw::platform
