#pragma once

// Just enough JSON writing for the GPU probe, without Qt.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::bench {

// A string as a JSON string: quotes, backslashes and control characters
// escaped, bytes that are not UTF-8 replaced with U+FFFD.
std::string jsonString(std::string_view text);

// "[a,b]" of texts already in JSON.
std::string jsonArray(const std::vector<std::string>& items);

class JsonObject {
public:
    void add(std::string_view key, const std::string& value); // empty: null
    void add(std::string_view key, bool value);
    void add(std::string_view key, std::optional<double> value); // absent: null
    void add(std::string_view key, std::optional<std::uint64_t> value);
    void addRaw(std::string_view key, const std::string& json);
    std::string text() const { return "{" + m_body + "}"; }

private:
    std::string m_body;
};

} // namespace pw::bench
