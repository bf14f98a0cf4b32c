#include "demo-portal/HtmlText.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <algorithm>

namespace tivora::demo {

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::string sanitizeUtf8(std::string_view text) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned int codePoint = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07u;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and values past Unicode are malformed too.
        if (valid && ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000) ||
                      (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)) {
            valid = false;
        }
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += replacement;
            ++i;
        }
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size() + 256);
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == '{') {
            std::size_t end = i + 1;
            std::size_t index = 0;
            while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9') {
                index = index * 10 + static_cast<std::size_t>(pattern[end] - '0');
                ++end;
            }
            if (end > i + 1 && end < pattern.size() && pattern[end] == '}' &&
                index < values.size()) {
                out.append(values.begin()[index]);
                i = end + 1;
                continue;
            }
        }
        out += pattern[i++];
    }
    return out;
}

std::string percentEncode(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
    }
    return out;
}

std::string queryText(std::string_view bytes) {
    std::string text = sanitizeUtf8(bytes);
    if (text != bytes) {
        QStringDecoder gbk("GBK");
        const QString decoded =
            gbk.decode(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        if (!gbk.hasError()) {
            text = decoded.toStdString();
        }
    }
    std::erase(text, '\0');
    return text;
}

}  // namespace tivora::demo
