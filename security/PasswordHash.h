#pragma once
// The document password is kept only as a traditional DES crypt(3) hash:
// 13 characters, the first two being the salt.

#include <string>

// crypt of the password under the first two characters of salt; empty
// when the library refuses (for example a salt outside the alphabet).
std::string CryptPassword(const std::string& password, const std::string& salt);
// The hash of password under a new salt drawn from the clock.
std::string MakePasswordHash(const std::string& password);
// The hash of password under the salt of storedHash.
std::string HashPassword(const std::string& storedHash, const std::string& password);
