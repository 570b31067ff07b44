#include "Archive.h"

#include <cstring>

void ArchiveWriter::WriteLE(uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        m_out.push_back(char((value >> (8 * i)) & 0xFF));
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

bool ArchiveReader::ReadLE(uint64_t& value, int bytes)
{
    value = 0;
    if (m_failed || Remaining() < size_t(bytes)) {
        m_failed = true;
        return false;
    }
    for (int i = 0; i < bytes; ++i)
        value |= uint64_t(static_cast<unsigned char>(m_data[m_pos + i])) << (8 * i);
    m_pos += size_t(bytes);
    return true;
}

bool ArchiveReader::ReadText(std::string& text)
{
    text.clear();
    uint64_t n = 0;
    if (!ReadLE(n, 1))
        return false;
    if (n == 0xFF) {
        if (!ReadLE(n, 2))
            return false;
        if (n == 0xFFFF && !ReadLE(n, 4))
            return false;
    }
    if (n > Remaining()) {
        m_failed = true;
        return false;
    }
    text.assign(m_data + m_pos, size_t(n));
    m_pos += size_t(n);
    return true;
}

bool ArchiveReader::ReadInt32(int32_t& value)
{
    uint64_t bits = 0;
    const bool ok = ReadLE(bits, 4);
    value = int32_t(uint32_t(bits));
    return ok;
}

bool ArchiveReader::ReadDouble(double& value)
{
    uint64_t bits = 0;
    const bool ok = ReadLE(bits, 8);
    std::memcpy(&value, &bits, sizeof value);
    return ok;
}

bool ArchiveReader::ReadTime(CTime& value)
{
    int32_t seconds = 0;
    const bool ok = ReadInt32(seconds);
    value = CTime(int64_t(seconds));
    return ok;
}
