#pragma once
// Windows-1252 bytes, as the checkbook stores its texts, to UTF-8 and back.
// The five bytes the code page leaves unassigned stand for the C1 control
// of the same value, so every byte string survives the trip.

#include <string>

std::string Cp1252ToUtf8(const std::string& bytes);
// False when the text holds a character the code page cannot hold (or is
// not UTF-8); bad then tells which character.
bool Utf8ToCp1252(const std::string& text, std::string& bytes, std::string& bad);
