#include "Money.h"

#include <charconv>
#include <cmath>
#include <cstdint>

std::string Money::Format(double value)
{
    if (!std::isfinite(value))
        return std::string(kNotANumber);
    // to_chars is the one formatter in the standard library that ignores
    // the locale. The largest double has 309 digits before the point.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    std::string formatted(text, result.ptr);
    if (formatted == "-0.00")
        formatted = "0.00";
    return formatted;
}

std::optional<double> Money::Parse(std::string_view text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    // Whole dollars, with or without grouping commas: either plain digits,
    // or one to three digits followed by groups of exactly three.
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && decimals.empty())
        return std::nullopt;

    std::uint64_t cents = 0;
    int digitsInGroup = 0;
    bool grouped = false;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const char c = whole[i];
        if (c == ',') {
            if (i == 0 || (grouped && digitsInGroup != 3) || (!grouped && digitsInGroup > 3))
                return std::nullopt;
            grouped = true;
            digitsInGroup = 0;
            continue;
        }
        if (!isDigit(c))
            return std::nullopt;
        ++digitsInGroup;
        // 13 digits already exceed the limit; stop before the count overflows.
        if (cents > 100'000'000'000'000ULL)
            return std::nullopt;
        cents = cents * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (grouped && digitsInGroup != 3)
        return std::nullopt;
    cents *= 100;

    for (std::size_t i = 0; i < decimals.size(); ++i) {
        if (!isDigit(decimals[i]))
            return std::nullopt;
        const int digit = decimals[i] - '0';
        if (i == 0)
            cents += static_cast<std::uint64_t>(digit) * 10;
        else if (i == 1)
            cents += static_cast<std::uint64_t>(digit);
        else if (i == 2 && digit >= 5)
            cents += 1;
    }

    const double value = static_cast<double>(cents) / 100.0;
    if (value > kLimit)
        return std::nullopt;
    // + 0.0 turns "-0" into a plain zero.
    return negative ? -value + 0.0 : value;
}
