#include "json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace pw::bench {

namespace {

// Length of the valid UTF-8 sequence at the start of `text`, 0 if invalid.
std::size_t utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const char c = text.front();
        const std::size_t length = utf8Length(text);
        if (length == 0) {
            out += "\xef\xbf\xbd";
            text.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : ",") + items[i];
    }
    return out + "]";
}

void JsonObject::addRaw(std::string_view key, const std::string& json) {
    if (!m_body.empty()) {
        m_body += ',';
    }
    m_body += jsonString(key) + ":" + json;
}

void JsonObject::add(std::string_view key, const std::string& value) {
    addRaw(key, value.empty() ? "null" : jsonString(value));
}

void JsonObject::add(std::string_view key, bool value) {
    addRaw(key, value ? "true" : "false");
}

void JsonObject::add(std::string_view key, std::optional<double> value) {
    if (!value || !std::isfinite(*value)) {
        addRaw(key, "null");
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, *value);
    addRaw(key, std::string(text, result.ptr));
}

void JsonObject::add(std::string_view key, std::optional<std::uint64_t> value) {
    addRaw(key, value ? std::to_string(*value) : "null");
}

} // namespace pw::bench
