#include "platform/printable.h"

#include <cstdio>

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at text[i] (1 to 4) and its code point; 0 when the
// byte there starts none (a stray continuation byte, an overlong form, a surrogate, beyond
// U+10FFFF, or a sequence cut short).
std::size_t Utf8SequenceAt(const std::string& text, std::size_t i, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, lowest = 0x80, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, lowest = 0x800, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, lowest = 0x10000, code = lead & 0x07;
    else return 0;
    if (text.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(next)) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || surrogate || code > 0x10FFFF ? 0 : length;
}

// C0 controls, DEL and the C1 controls.
bool IsControl(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

void AppendEscaped(std::string& out, unsigned char c) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
    out += escaped;
}

}  // namespace

std::string Printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(text, i, code);
        if (length == 0) {
            AppendEscaped(out, static_cast<unsigned char>(text[i++]));
        } else if (IsControl(code)) {
            for (std::size_t k = 0; k < length; ++k) AppendEscaped(out, static_cast<unsigned char>(text[i + k]));
            i += length;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

std::string CutAtCharacter(const std::string& text, std::size_t most) {
    if (text.size() <= most) return text;
    std::size_t end = most;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}
