#pragma once
// Windows-1252, the code page the checkbook keeps its texts in: one byte's
// code point and back, and whole texts to UTF-8 and back. The five bytes
// the code page leaves unassigned stand for the C1 control of the same
// value, so every byte string survives the trip.

#include <cstdint>
#include <string>

namespace Cp1252
{
uint32_t CodePoint(unsigned char byte);
// False when the code page cannot hold the character.
bool Byte(uint32_t codePoint, unsigned char& byte);
}

std::string Cp1252ToUtf8(const std::string& bytes);
// False when the text holds a character the code page cannot hold (or is
// not UTF-8); bad then tells which character.
bool Utf8ToCp1252(const std::string& text, std::string& bytes, std::string& bad);
// As above, but a character the code page cannot hold, or a byte that is
// not UTF-8, becomes "?", as the program does with typed text.
std::string Utf8ToCp1252Lossy(const std::string& text);
// The offset of the first byte that does not belong to a UTF-8 sequence,
// or npos when the whole text is UTF-8.
size_t FindNonUtf8(const std::string& text);
