#include "mesh/numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace mw {

namespace {

inline bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// "&H..." and "&O...": digits of the base up to the first other character.
double parse_radix(std::string_view digits, int base)
{
    double value = 0;
    for (char c : digits) {
        int d;
        if (is_digit(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= base)
            break;
        value = value * base + d;
    }
    return value;
}

// For a decimal text that from_chars found out of range: does it overflow (true) or
// underflow (false)? Judged from the position of the first significant digit and the
// exponent.
bool overflows(std::string_view mantissa, std::string_view exponentDigits, bool exponentNegative)
{
    long long position = 0; // power of ten of the first non-zero digit
    const std::size_t dot = mantissa.find('.');
    const std::size_t intDigits = dot == std::string_view::npos ? mantissa.size() : dot;
    bool found = false;
    for (std::size_t i = 0; i < mantissa.size() && !found; ++i) {
        if (mantissa[i] == '.' || mantissa[i] == '0')
            continue;
        found = true;
        position = i < intDigits ? static_cast<long long>(intDigits - i - 1) : -static_cast<long long>(i - intDigits);
    }
    if (!found)
        return false;
    long long exponent = 0;
    for (char c : exponentDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > 100000)
            break;
    }
    return position + (exponentNegative ? -exponent : exponent) > 0;
}

} // namespace

double parse_number(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i + 1 < n && text[i] == '&') {
        const char kind = static_cast<char>(text[i + 1] | 0x20);
        if (kind == 'h')
            return parse_radix(text.substr(i + 2), 16);
        if (kind == 'o')
            return parse_radix(text.substr(i + 2), 8);
        return 0;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < n && is_digit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && is_digit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    const std::size_t mantissaEnd = i;
    std::size_t end = mantissaEnd;
    bool dExponent = false;
    std::size_t expDigitsStart = 0;
    bool expNegative = false;
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < n && is_digit(text[j])) {
            expDigitsStart = j;
            while (j < n && is_digit(text[j]))
                ++j;
            end = j;
            dExponent = text[i] == 'd' || text[i] == 'D';
        }
    }

    double value = 0;
    std::from_chars_result result;
    if (dExponent) {
        std::string copy(text.substr(start, end - start));
        copy[mantissaEnd - start] = 'e';
        result = std::from_chars(copy.data(), copy.data() + copy.size(), value, std::chars_format::general);
    } else {
        result = std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::general);
    }
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view expDigits =
            expDigitsStart == 0 ? std::string_view() : text.substr(expDigitsStart, end - expDigitsStart);
        value = overflows(text.substr(start, mantissaEnd - start), expDigits, expNegative)
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

bool reads_a_number(std::string_view text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return false;
    if (text[i] == '&' && i + 2 < text.size()) {
        const char kind = static_cast<char>(text[i + 1] | 0x20);
        const char c = static_cast<char>(text[i + 2] | 0x20);
        if (kind == 'h')
            return is_digit(text[i + 2]) || (c >= 'a' && c <= 'f');
        if (kind == 'o')
            return text[i + 2] >= '0' && text[i + 2] <= '7';
        return false;
    }
    if (text[i] == '+' || text[i] == '-')
        ++i;
    if (i < text.size() && text[i] == '.')
        ++i;
    return i < text.size() && is_digit(text[i]);
}

double round_half_even(double value)
{
    return std::nearbyint(value);
}

bool to_int16(double value, std::int16_t& out)
{
    if (!std::isfinite(value))
        return false;
    const double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0)
        return false;
    out = static_cast<std::int16_t>(r);
    return true;
}

bool to_float32(double value, float& out)
{
    // Magnitudes up to half a step beyond the largest float still round to it.
    const double limit = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
    if (std::isnan(value) || std::fabs(value) >= limit)
        return false;
    if (std::fabs(value) >= static_cast<double>(FLT_MAX))
        out = value < 0 ? -FLT_MAX : FLT_MAX;
    else
        out = static_cast<float>(value);
    return true;
}

std::string format_general(double value)
{
    if (value == 0 || !std::isfinite(value)) {
        if (std::isnan(value))
            return "NaN";
        if (std::isinf(value))
            return value < 0 ? "-Inf" : "Inf";
        return "0";
    }
    // Seven significant digits, rounded, as d.dddddde+XX.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 6);
    const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 7 || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int e = exponent < 0 ? -exponent : exponent;
        if (e < 10)
            out += '0';
        out += std::to_string(e);
    } else if (exponent >= 0) {
        const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out += '.';
            out.append(digits, intDigits, std::string::npos);
        }
    } else {
        out += '.';
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

std::string format_number_item(double value)
{
    const std::string general = format_general(value);
    if (!general.empty() && general[0] == '-')
        return general + " ";
    return " " + general + " ";
}

std::string format_int_item(std::int64_t value)
{
    char buf[24];
    char* p = buf;
    if (value >= 0)
        *p++ = ' ';
    p = std::to_chars(p, buf + sizeof buf - 1, value).ptr;
    *p++ = ' ';
    return std::string(buf, static_cast<std::size_t>(p - buf));
}

std::string format_fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return format_general(value);
    double magnitude = std::fabs(value);
    // An exact half at the last place rounds away from zero. magnitude = M * 2^k with M
    // odd; magnitude * 10^decimals = M * 5^decimals * 2^(k + decimals) is a half-integer
    // exactly when k + decimals == -1.
    if (magnitude != 0) {
        int exp2;
        const double mant = std::frexp(magnitude, &exp2);
        auto m = static_cast<std::uint64_t>(std::ldexp(mant, 53));
        int k = exp2 - 53;
        while ((m & 1) == 0) {
            m >>= 1;
            ++k;
        }
        if (k + decimals == -1)
            magnitude = std::nextafter(magnitude, std::numeric_limits<double>::infinity());
    }
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, decimals);
    std::string out(buf, static_cast<std::size_t>(r.ptr - buf));
    const bool allZero = out.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !allZero)
        out.insert(out.begin(), '-');
    return out;
}

std::string format_float_shortest(float value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, static_cast<std::size_t>(r.ptr - buf));
}

} // namespace mw
