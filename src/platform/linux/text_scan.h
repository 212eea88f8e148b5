#pragma once

// The one text-scanning toolkit of the parsers: what a blank, a line, a word
// and a number are, for every /proc and /sys format alike.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pw::platform {

// Space, tab, line break, carriage return, vertical tab and form feed.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// 0–15 for a hex digit of either case, else -1.
int hexDigit(char c);

// Leading and trailing blanks removed.
std::string_view trimmed(std::string_view text);

// Hands out the lines of a text one by one, without copying and without the line
// feed; a last line without a line feed counts too.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : m_rest(text) {}
    bool next(std::string_view& line);

private:
    std::string_view m_rest;
};

template <typename Visit> void forEachLine(std::string_view text, Visit&& visit) {
    LineCursor lines(text);
    std::string_view line;
    while (lines.next(line)) {
        visit(line);
    }
}

// Hands out the blank-separated words of a text.
class WordCursor {
public:
    explicit WordCursor(std::string_view text) : m_rest(text) {}
    bool next(std::string_view& word);

private:
    std::string_view m_rest;
};

// Every blank-separated word of a text.
std::vector<std::string_view> words(std::string_view text);

// The whole of `word` as a number in `base`, nothing before or after it; an
// unsigned T takes no sign, a signed one only '-'.
template <typename T> std::optional<T> wholeNumber(std::string_view word, int base = 10) {
    T value{};
    const char* end = word.data() + word.size();
    const auto [ptr, error] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || error != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// The next word of `words` as an unsigned decimal number; absent at the end or
// when the word is not one.
std::optional<std::uint64_t> nextUnsigned(WordCursor& words);

// A decimal integer with an optional sign, blanks around it allowed; anything
// else is absent.
std::optional<std::int64_t> parseInteger(std::string_view text);

// A finite decimal number such as "2394.456", nothing around it.
std::optional<double> decimalNumber(std::string_view text);

} // namespace pw::platform
