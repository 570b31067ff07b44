#pragma once
// The scrambling of ledger texts in password-protected files: a shift of
// letters and digits by one, then a rotation by half the length.
// UnscrambleText(ScrambleText(t)) == t for every byte string t.

#include <string>

std::string ScrambleText(const std::string& text);
std::string UnscrambleText(const std::string& text);
