#include "Archive.h"

#include <cstring>

void ArchiveWriter::WriteLE(uint64_t value, int bytes)
{
    char le[8];
    for (int i = 0; i < bytes; ++i)
        le[i] = char((value >> (8 * i)) & 0xFF);
    m_out.append(le, size_t(bytes));
}

void ArchiveWriter::WriteText(const std::string& text)
{
    const size_t n = text.size();
    if (n < 0xFF) {
        WriteLE(n, 1);
    } else if (n < 0xFFFE) {
        WriteLE(0xFF, 1);
        WriteLE(n, 2);
    } else {
        // Texts of 4 GiB and more cannot occur in a checkbook; the prefix
        // still stays consistent with what is written.
        const size_t length = n < 0xFFFFFFFFu ? n : 0xFFFFFFFEu;
        WriteLE(0xFF, 1);
        WriteLE(0xFFFF, 2);
        WriteLE(length, 4);
        m_out.append(text, 0, length);
        return;
    }
    m_out.append(text);
}

void ArchiveWriter::WriteInt32(int32_t value)
{
    WriteLE(uint32_t(value), 4);
}

void ArchiveWriter::WriteDouble(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteLE(bits, 8);
}

bool ArchiveReader::ReadLength(size_t& length)
{
    length = 0;
    uint8_t shortLength = 0;
    if (!ReadLE(shortLength))
        return false;
    uint64_t n = shortLength;
    if (n == 0xFF) {
        uint16_t middle = 0;
        if (!ReadLE(middle))
            return false;
        n = middle;
        if (n == 0xFFFF) {
            uint32_t wide = 0;
            if (!ReadLE(wide))
                return false;
            n = wide;
        }
    }
    if (n > Remaining()) {
        m_failed = true;
        return false;
    }
    length = size_t(n);
    return true;
}

bool ArchiveReader::ReadText(std::string& text)
{
    text.clear();
    size_t n = 0;
    if (!ReadLength(n))
        return false;
    text.assign(m_data + m_pos, n);
    m_pos += n;
    return true;
}

bool ArchiveReader::ReadToken(std::string_view& token)
{
    token = std::string_view();
    size_t n = 0;
    if (!ReadLength(n))
        return false;
    token = std::string_view(m_data + m_pos, n);
    m_pos += n;
    return true;
}
