#include "PasswordHash.h"

#include "Time.h"

#include <crypt.h>

#include <cstdlib>

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
