#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

// The numeric prefix of a text: leading blanks skipped, an optional sign, digits
// with "." as decimal point and an optional exponent. A text without one gives 0.
double numericPrefix(const QString &text);

// Rounds to the nearest whole number, an exact half going to the even neighbour.
double roundHalfEven(double value);

// Rounds half to even into a 16- or 32-bit integer; nullopt when out of range.
std::optional<std::int16_t> toInt16HalfEven(double value);
std::optional<std::int32_t> toInt32HalfEven(double value);

// The whole text (blanks around it allowed) as a number, in the user's locale or
// the invariant form; nullopt for an empty text or one that is not a number.
std::optional<double> parseWholeNumber(const QString &text);

// A number written with "." as decimal point, no grouping, no leading blank, and
// no decimals when it is whole (1365, 1365.5).
QString invariantNumber(double value);
// The same for a single-precision value: its shortest exact form (1365.7).
QString invariantNumberSingle(float value);

} // namespace quillory
