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

// Whether text is a hash some password can have: 13 characters of crypt's
// alphabet, the last one holding only the 4 bits the algorithm has left.
bool IsPasswordHash(const std::string& text);

// Whether password (its bytes as PasswordBytes gives them) hashes to
// storedHash. Never for a stored hash that no password can have (empty or
// damaged): such a file opens for nobody, in the window and on the
// command line alike.
bool CheckPassword(const std::string& storedHash, const std::string& password);

// The bytes a password typed as UTF-8 is hashed from: Windows-1252, as the
// stored files expect, with "?" for each character the code page cannot
// hold ("??" beyond the 16-bit range, as the window has always made it).
// Text that is not UTF-8 is taken as Windows-1252 already.
std::string PasswordBytes(const std::string& utf8);
