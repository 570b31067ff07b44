#include "TextCodec.h"

#include "Cp1252.h"

QString FromBytes(const std::string& bytes)
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char c : bytes)
        text.append(QChar(char16_t(Cp1252::CodePoint(static_cast<unsigned char>(c)))));
    return text;
}

std::string ToBytes(const QString& text)
{
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    for (QChar ch : text) {
        // Each half of a surrogate pair is unmappable on its own, so a
        // character beyond the BMP becomes "??", as it always has.
        unsigned char byte = 0;
        if (!Cp1252::Byte(ch.unicode(), byte))
            byte = '?';
        bytes.push_back(char(byte));
    }
    return bytes;
}
