#pragma once
// The primitive items of a checkbook file: length-prefixed texts, 32-bit
// integers, doubles and dates, all little-endian with no padding.
//
// The reader never trusts the file: every length is checked against the
// bytes that remain before anything is allocated, and the first failed
// read makes it fail for good, so callers can read on and check once.

#include "Time.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class ArchiveWriter
{
public:
    explicit ArchiveWriter(std::string& out) : m_out(out) {}

    // One byte n below 255; else 0xFF and a 16-bit n below 0xFFFE; else
    // 0xFF, 0xFFFF and a 32-bit n.
    void WriteText(std::string_view text);
    void WriteInt32(int32_t value);
    void WriteDouble(double value);
    void WriteTime(CTime value) { WriteInt32(value.GetTime()); }

private:
    void WriteLE(uint64_t value, int bytes);

    std::string& m_out;
};

class ArchiveReader
{
public:
    ArchiveReader(const char* data, size_t size) : m_data(data), m_size(size) {}
    explicit ArchiveReader(const std::string& bytes) : ArchiveReader(bytes.data(), bytes.size()) {}
    // The reader only points at the bytes; they must outlive it.
    explicit ArchiveReader(std::string&&) = delete;
    // Reads an open file (not taken over) through a window that holds as
    // much as the next item needs: memory for what is read, not the file.
    explicit ArchiveReader(int fd);

    // Each returns false, leaves its output empty or zero and marks the
    // reader failed when the item is cut short or its length is
    // impossible.
    bool ReadText(std::string& text);
    // A text as a view of the bytes themselves, for markers and keys that
    // are only compared: nothing is copied. The view lasts until the next
    // read.
    bool ReadToken(std::string_view& token);
    bool ReadInt32(int32_t& value)
    {
        uint32_t bits = 0;
        const bool ok = ReadLE(bits);
        value = int32_t(bits);
        return ok;
    }
    bool ReadDouble(double& value)
    {
        uint64_t bits = 0;
        const bool ok = ReadLE(bits);
        std::memcpy(&value, &bits, sizeof value);
        return ok;
    }
    bool ReadTime(CTime& value)
    {
        int32_t seconds = 0;
        const bool ok = ReadInt32(seconds);
        value = CTime(int64_t(seconds));
        return ok;
    }

    bool Failed() const { return m_failed; }
    // Bytes left in the image (in the window, for a file).
    size_t Remaining() const { return m_size - m_pos; }
    // Whether the bytes are at their end.
    bool AtEnd() { return !Need(1); }
    // The errno of a failed read of the file, 0 when none failed.
    int ReadError() const { return m_readError; }

private:
    // Whether n more bytes are there, reading on from the file if need be.
    bool Need(size_t n) { return Remaining() >= n || ReadOn(n); }
    bool ReadOn(size_t n);

    // A little-endian value of the size of T. Inline with a fixed size, so
    // that each becomes a single load where the machine allows.
    template <class T>
    bool ReadLE(T& value)
    {
        value = 0;
        if (m_failed || !Need(sizeof(T))) {
            m_failed = true;
            return false;
        }
        for (size_t i = 0; i < sizeof(T); ++i)
            value |= T(static_cast<unsigned char>(m_data[m_pos + i])) << (8 * i);
        m_pos += sizeof(T);
        return true;
    }
    // The length prefix of a text, checked against the bytes there are
    // before anything is allocated for it.
    bool ReadLength(size_t& length);

    const char* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_failed = false;
    int m_fd = -1;
    std::vector<char> m_window;
    int m_readError = 0;
};
