#pragma once
// Caps Lock, Num Lock and Scroll Lock states for the status bar. Qt does
// not report them, so they are read from the keyboard LEDs the kernel
// exposes; where those are missing every lock reads as off.

#include <functional>

enum class LockKey
{
    Caps,
    Num,
    Scroll,
};

namespace LockKeys
{
using Reader = std::function<bool(LockKey)>;

bool IsOn(LockKey key);
// Replaces the LED reader (tests); an empty reader restores it.
void SetReader(Reader reader);
}
