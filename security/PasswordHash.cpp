#include "PasswordHash.h"

#include "Cp1252.h"
#include "Time.h"

#include <crypt.h>

#include <cstdlib>
#include <cstring>

namespace
{
const char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}

std::string CryptPassword(const std::string& password, const std::string& salt)
{
    if (salt.size() < 2)
        return std::string();
    // crypt_r keeps its result in our own area, not a shared static one.
    struct crypt_data data = {};
    const char* hash = crypt_r(password.c_str(), salt.substr(0, 2).c_str(), &data);
    if (!hash || hash[0] == '*')
        return std::string();
    return hash;
}

std::string MakePasswordHash(const std::string& password)
{
    std::srand(unsigned(Clock::Now()));
    std::string salt;
    for (int k = 0; k < 2; ++k)
        salt.push_back(kAlphabet[(std::rand() >> 1) & 63]);
    return CryptPassword(password, salt);
}

std::string HashPassword(const std::string& storedHash, const std::string& password)
{
    return CryptPassword(password, storedHash.substr(0, 2));
}

bool IsPasswordHash(const std::string& text)
{
    if (text.size() != 13)
        return false;
    for (char c : text)
        if (c == '\0' || !std::strchr(kAlphabet, c))
            return false;
    // Eleven characters carry 66 bits of a 64-bit result.
    return (std::strchr(kAlphabet, text.back()) - kAlphabet) % 4 == 0;
}

bool CheckPassword(const std::string& storedHash, const std::string& password)
{
    return IsPasswordHash(storedHash) && HashPassword(storedHash, password) == storedHash;
}

std::string PasswordBytes(const std::string& utf8)
{
    if (FindNonUtf8(utf8) != std::string::npos)
        return utf8;
    std::string bytes;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[i + size_t(k)]) & 0x3F);
        i += size_t(length);
        unsigned char byte = '?';
        if (codePoint > 0xFFFF)
            bytes += '?';  // the first half of the pair
        else if (!Cp1252::Byte(codePoint, byte))
            byte = '?';
        bytes += char(byte);
    }
    return bytes;
}
