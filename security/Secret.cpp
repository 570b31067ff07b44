#include "Secret.h"

#include <sodium.h>

#include <cstring>
#include <new>

bool StartSodium()
{
    // sodium_init is safe to call from several threads and more than once.
    static const bool started = sodium_init() >= 0;
    return started;
}

CSecret::CSecret(const char* data, size_t size)
{
    if (size == 0)
        return;
    if (!StartSodium())
        throw std::bad_alloc();
    // Guarded pages, locked in memory where the system allows it.
    m_data = static_cast<unsigned char*>(sodium_malloc(size));
    if (!m_data)
        throw std::bad_alloc();
    std::memcpy(m_data, data, size);
    m_size = size;
}

CSecret::~CSecret()
{
    Release();
}

CSecret::CSecret(CSecret&& other) noexcept : m_data(other.m_data), m_size(other.m_size)
{
    other.m_data = nullptr;
    other.m_size = 0;
}

CSecret& CSecret::operator=(CSecret&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = nullptr;
        other.m_size = 0;
    }
    return *this;
}

void CSecret::Release()
{
    // sodium_free wipes the memory before it gives it back.
    if (m_data)
        sodium_free(m_data);
    m_data = nullptr;
    m_size = 0;
}

CSecret CSecret::Take(std::string& text)
{
    CSecret secret(text.data(), text.size());
    WipeString(text);
    return secret;
}

bool CSecret::Equals(const CSecret& other) const
{
    if (m_size != other.m_size)
        return false;
    return m_size == 0 || sodium_memcmp(m_data, other.m_data, m_size) == 0;
}

void WipeString(std::string& text)
{
    // The whole capacity: a shorter text may have left bytes beyond its end.
    text.resize(text.capacity());
    WipeBytes(&text[0], text.size());
    text.clear();
}

void WipeBytes(void* data, size_t size)
{
    if (data && size)
        sodium_memzero(data, size);
}
