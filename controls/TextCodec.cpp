#include "TextCodec.h"

#include "Cp1252.h"

#include <algorithm>

namespace
{
// Bytes 0x80 to 0x9F are where the code page and Latin-1 part; every other
// byte is the same character in both.
bool IsLatin1Alike(unsigned c)
{
    return c < 0x80 || (c >= 0xA0 && c <= 0xFF);
}
}

QString FromBytes(const std::string& bytes)
{
    QString text;
    AppendBytes(text, bytes);
    return text;
}

void AppendBytes(QString& text, const std::string& bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return IsLatin1Alike(static_cast<unsigned char>(c)); })) {
        text.append(QLatin1String(bytes.data(), qsizetype(bytes.size())));
        return;
    }
    text.reserve(text.size() + qsizetype(bytes.size()));
    for (char c : bytes)
        text.append(QChar(char16_t(Cp1252::CodePoint(static_cast<unsigned char>(c)))));
}

std::string ToBytes(const QString& text)
{
    std::string bytes(size_t(text.size()), '\0');
    char* out = bytes.data();
    for (QChar ch : text) {
        // Each half of a surrogate pair is unmappable on its own, so a
        // character beyond the BMP becomes "??", as it always has.
        unsigned char byte = static_cast<unsigned char>(ch.unicode());
        if (!IsLatin1Alike(ch.unicode()) && !Cp1252::Byte(ch.unicode(), byte))
            byte = '?';
        *out++ = char(byte);
    }
    return bytes;
}
