#include "platform/linux/text_scan.h"

#include <cmath>

namespace pw::platform {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool LineCursor::next(std::string_view& line) {
    if (m_rest.empty()) {
        return false;
    }
    const auto end = m_rest.find('\n');
    line = m_rest.substr(0, end);
    m_rest = end == std::string_view::npos ? std::string_view{} : m_rest.substr(end + 1);
    return true;
}

bool WordCursor::next(std::string_view& word) {
    std::size_t i = 0;
    while (i < m_rest.size() && isBlank(m_rest[i])) {
        ++i;
    }
    if (i == m_rest.size()) {
        return false;
    }
    std::size_t j = i;
    while (j < m_rest.size() && !isBlank(m_rest[j])) {
        ++j;
    }
    word = m_rest.substr(i, j - i);
    m_rest = m_rest.substr(j);
    return true;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    WordCursor cursor(text);
    std::string_view word;
    while (cursor.next(word)) {
        out.push_back(word);
    }
    return out;
}

std::optional<std::uint64_t> nextUnsigned(WordCursor& words) {
    std::string_view word;
    if (!words.next(word)) {
        return std::nullopt;
    }
    return wholeNumber<std::uint64_t>(word);
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    return wholeNumber<std::int64_t>(text);
}

std::optional<double> decimalNumber(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace pw::platform
