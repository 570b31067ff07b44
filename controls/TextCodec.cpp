#include "TextCodec.h"

namespace
{
// Windows-1252 bytes 0x80..0x9F; 0 marks the five bytes it leaves unset,
// which map to the C1 control of the same value.
const char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
}

QString FromBytes(const std::string& bytes)
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            text.append(QChar(kHigh[b - 0x80]));
        else
            text.append(QChar(char16_t(b)));
    }
    return text;
}

std::string ToBytes(const QString& text)
{
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) ||
            (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] == 0)) {
            bytes.push_back(char(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == u)
                mapped = char(0x80 + i);
        bytes.push_back(mapped);
    }
    return bytes;
}
