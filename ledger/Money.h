#pragma once
// Money as the program shows it and reads it back: always with a point and
// never through the C library's locale, which the GUI sets from the user's
// (a German desktop would otherwise see "12,50" in one list and "12.50" in
// the next, and a typed "12.50" could be misread).

#include <optional>
#include <string>
#include <string_view>

namespace Money
{
// Beyond this many dollars, cents would no longer be exact in a double.
constexpr double kLimit = 1e12;

// "%.2f" without the locale: "1234.50", "-12.00". A negative zero, and a
// negative value that rounds to zero, shows as "0.00" (a fee-only payment
// stores -0.0). A value no person typed (NaN, an infinity, from a damaged
// or hand-made file) shows as kNotANumber rather than "nan".
std::string Format(double value);
inline constexpr std::string_view kNotANumber = "invalid";

// Typed money: surrounding blanks, an optional "+" or "-", digits with
// optional grouping commas in the usual places ("1,234,567"), then an
// optional point with any number of decimals, rounded half away from zero
// to the cent on the typed digits themselves (so "12.345" is 12.35, never
// 12.345000000000001). Anything else, and amounts beyond kLimit, give
// nothing. The result never depends on the locale.
std::optional<double> Parse(std::string_view text);
}
