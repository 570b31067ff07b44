#include "Cp1252.h"

#include <cstdio>

namespace
{
// Bytes 0x80..0x9F; 0 where the code page assigns nothing.
const uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at pos; false on malformed input.
bool NextCodePoint(const std::string& text, size_t& pos, uint32_t& cp)
{
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    uint32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F; extra = 1; min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F; extra = 2; min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07; extra = 3; min = 0x10000;
    } else {
        return false;
    }
    if (text.size() - pos - 1 < size_t(extra))
        return false;
    for (int i = 1; i <= extra; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[pos + size_t(i)]);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    pos += size_t(extra) + 1;
    return true;
}
}  // namespace

uint32_t Cp1252::CodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0)
        return kHigh[byte - 0x80];
    return byte;
}

bool Cp1252::Byte(uint32_t codePoint, unsigned char& byte)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF) ||
        (codePoint >= 0x80 && codePoint < 0xA0 && kHigh[codePoint - 0x80] == 0)) {
        byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == codePoint) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string Cp1252ToUtf8(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        AppendUtf8(out, Cp1252::CodePoint(static_cast<unsigned char>(c)));
    return out;
}

bool Utf8ToCp1252(const std::string& text, std::string& bytes, std::string& bad)
{
    bytes.clear();
    bytes.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        uint32_t cp = 0;
        if (!NextCodePoint(text, pos, cp)) {
            bad = "a byte that is not UTF-8";
            return false;
        }
        unsigned char byte = 0;
        if (!Cp1252::Byte(cp, byte)) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", unsigned(cp));
            bad = "\"" + text.substr(start, pos - start) + "\" (" + name + ")";
            return false;
        }
        bytes.push_back(char(byte));
    }
    return true;
}

std::string Utf8ToCp1252Lossy(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t cp = 0;
        unsigned char byte = '?';
        if (!NextCodePoint(text, pos, cp))
            ++pos;
        else if (!Cp1252::Byte(cp, byte))
            byte = '?';
        bytes.push_back(char(byte));
    }
    return bytes;
}

size_t FindNonUtf8(const std::string& text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t cp = 0;
        if (!NextCodePoint(text, pos, cp))
            return pos;
    }
    return std::string::npos;
}
