#include "TextTransform.h"

namespace
{
char ShiftUp(char c)
{
    if (c >= 'a' && c <= 'y') return char(c + 1);
    if (c == 'z') return 'a';
    if (c >= 'A' && c <= 'Y') return char(c + 1);
    if (c == 'Z') return 'A';
    if (c >= '0' && c <= '8') return char(c + 1);
    if (c == '9') return '0';
    return c;
}

char ShiftDown(char c)
{
    if (c >= 'b' && c <= 'z') return char(c - 1);
    if (c == 'a') return 'z';
    if (c >= 'B' && c <= 'Z') return char(c - 1);
    if (c == 'A') return 'Z';
    if (c >= '1' && c <= '9') return char(c - 1);
    if (c == '0') return '9';
    return c;
}
}

std::string ScrambleText(const std::string& text)
{
    const size_t h = text.size() / 2;
    std::string out;
    out.reserve(text.size());
    for (size_t i = h; i < text.size(); ++i)
        out.push_back(ShiftUp(text[i]));
    for (size_t i = 0; i < h; ++i)
        out.push_back(ShiftUp(text[i]));
    return out;
}

std::string UnscrambleText(const std::string& text)
{
    // Rounding up here undoes the forward rotation by n / 2 rounded down.
    const size_t h = (text.size() + 1) / 2;
    std::string out;
    out.reserve(text.size());
    for (size_t i = h; i < text.size(); ++i)
        out.push_back(ShiftDown(text[i]));
    for (size_t i = 0; i < h; ++i)
        out.push_back(ShiftDown(text[i]));
    return out;
}
