#include "services/terminal_text.h"

namespace pw {
namespace {

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

void appendEscape(QString& out, unsigned code, const char* prefix, int digits) {
    out += QLatin1String(prefix);
    out += QStringLiteral("%1").arg(code, digits, 16, QLatin1Char('0'));
}

} // namespace

QString terminalSafe(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (isControl(c)) {
            appendEscape(out, c, "\\x", 2);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (QChar::isSurrogate(c)) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += text[i];
        }
    }
    return out;
}

QString terminalSafeUtf8(QByteArrayView bytes) {
    // fromUtf8 puts U+FFFD in place of each malformed sequence.
    return terminalSafe(QString::fromUtf8(bytes));
}

QByteArray terminalSafeJson(const QByteArray& json) {
    QByteArray out;
    out.reserve(json.size());
    for (qsizetype i = 0; i < json.size(); ++i) {
        const auto byte = static_cast<unsigned char>(json[i]);
        if (byte == 0x7F) {
            out += "\\u007f";
        } else if (byte == 0xC2 && i + 1 < json.size() &&
                   static_cast<unsigned char>(json[i + 1]) <= 0x9F &&
                   static_cast<unsigned char>(json[i + 1]) >= 0x80) {
            // U+0080..U+009F in UTF-8; 0xC2 is only ever a lead byte.
            out += "\\u00";
            out += QByteArray::number(static_cast<unsigned char>(json[++i]), 16);
        } else {
            out += json[i];
        }
    }
    return out;
}

} // namespace pw
