#pragma once
// A passphrase on its way to becoming a key: kept in memory of its own that
// is locked against swapping and wiped when the secret goes, so that it
// lives no longer than the key derivation that needs it.

#include <cstddef>
#include <string>

class CSecret
{
public:
    CSecret() = default;
    CSecret(const char* data, size_t size);
    ~CSecret();
    CSecret(CSecret&& other) noexcept;
    CSecret& operator=(CSecret&& other) noexcept;
    CSecret(const CSecret&) = delete;
    CSecret& operator=(const CSecret&) = delete;

    // Copies text and wipes it.
    static CSecret Take(std::string& text);

    const unsigned char* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    // Compared in a time that does not depend on where they differ.
    bool Equals(const CSecret& other) const;

private:
    void Release();

    unsigned char* m_data = nullptr;
    size_t m_size = 0;
};

// Overwrites the bytes of text with zeros, then empties it.
void WipeString(std::string& text);
// Overwrites size bytes at data with zeros, in a way no compiler leaves out.
void WipeBytes(void* data, size_t size);

// Whether the encryption library could be started; everything here and in
// SealedFile.h needs it and starts it when first used.
bool StartSodium();
