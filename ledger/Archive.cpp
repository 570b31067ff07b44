#include "Archive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

void ArchiveWriter::WriteLE(uint64_t value, int bytes)
{
    char le[8];
    for (int i = 0; i < bytes; ++i)
        le[i] = char((value >> (8 * i)) & 0xFF);
    m_out.append(le, size_t(bytes));
}

void ArchiveWriter::WriteText(std::string_view text)
{
    size_t n = text.size();
    if (n < 0xFF) {
        WriteLE(n, 1);
    } else if (n < 0xFFFE) {
        WriteLE(0xFF, 1);
        WriteLE(n, 2);
    } else {
        // Texts of 4 GiB and more cannot occur in a checkbook; the prefix
        // still stays consistent with what is written.
        n = n < 0xFFFFFFFFu ? n : 0xFFFFFFFEu;
        WriteLE(0xFF, 1);
        WriteLE(0xFFFF, 2);
        WriteLE(n, 4);
    }
    m_out.append(text.data(), n);
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

ArchiveReader::ArchiveReader(int fd) : m_data(nullptr), m_size(0), m_fd(fd) {}

bool ArchiveReader::ReadOn(size_t n)
{
    if (m_fd < 0 || m_readError != 0)
        return false;
    // What is left moves to the front; the window grows only as far as the
    // bytes actually read, whatever length an item claims.
    constexpr size_t kChunk = 1 << 16;
    const size_t left = m_size - m_pos;
    if (left > 0 && m_pos > 0)
        std::memmove(m_window.data(), m_window.data() + m_pos, left);
    m_pos = 0;
    m_size = left;
    while (m_size < n) {
        if (m_window.size() - m_size < kChunk)
            m_window.resize(std::max(m_window.size() * 2, m_size + kChunk));
        m_data = m_window.data();
        const ssize_t got = ::read(m_fd, m_window.data() + m_size, m_window.size() - m_size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            m_readError = errno;
        if (got <= 0)
            return false;
        m_size += size_t(got);
    }
    return true;
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
    if (!Need(size_t(n))) {
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
