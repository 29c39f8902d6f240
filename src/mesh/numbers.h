// Numbers in text files. Parsing is lenient, the way the program has always read
// numbers: "." is the decimal point whatever the user's locale, and the number ends at
// the first character that cannot continue it. Formatting always writes "." too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mw {

// Leading spaces and tabs are skipped; then an optional sign, digits, an optional "."
// with digits, and an optional exponent (E or D in either case, optional sign, digits).
// "&H" and "&O" start a hexadecimal or octal integer. An empty or non-numeric text gives
// 0, "3abc" gives 3, "1,5" gives 1. A magnitude beyond the double range gives +-infinity.
double parse_number(std::string_view text);

// True when parse_number reads at least one digit of `text`; a text without one is "no
// number" to the boxes that must not store a 0 for it.
bool reads_a_number(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double round_half_even(double value);

// The number rounded (halves to even) into a signed 16-bit field; false when the rounded
// value lies outside -32768..32767 (or is not a number).
bool to_int16(double value, std::int16_t& out);

// The number rounded to the nearest 32-bit float; false when it does not round to a
// finite float (a magnitude beyond about 3.4e38) or is not a number.
bool to_float32(double value, float& out);

// The program's general number format: a "-" for negative values, at most 7 significant
// digits, no trailing zeros, no "0" before the decimal point of a magnitude below 1
// (0.5 gives ".5"), and the exponent form for large and small magnitudes (1E-05,
// 1.234568E+07). 0 gives "0".
std::string format_general(double value);

// A number item of the OBJ writer: a sign character (a space for zero and positive values,
// "-" for negative ones), the general format without its sign, and one trailing space.
// -0.25 gives "-.25 ", 3 gives " 3 ".
std::string format_number_item(double value);

// An integer item: a leading space (a "-" for negative values), the digits and a trailing
// space. 12 gives " 12 ", -1 gives "-1 ".
std::string format_int_item(std::int64_t value);

// The fixed patterns "0.000000", "0.00000000" and "0.00": `decimals` digits after ".",
// at least one digit before it, "-" for negative values, halves rounded away from zero.
// format_fixed(1.5, 6) gives "1.500000", format_fixed(-0.25, 8) gives "-0.25000000".
std::string format_fixed(double value, int decimals);

// Shortest decimal text that reads back to the same 32-bit float ("." decimal point).
std::string format_float_shortest(float value);

} // namespace mw
