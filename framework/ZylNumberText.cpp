#include "framework/ZylNumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace
{
// Enough for the longest fixed-notation double (309 integer digits) with a precision of up to
// kMaxPrecision digits.
constexpr int kMaxPrecision = 100;
constexpr size_t kNumberBufferSize = 512;

struct Conversion
{
    bool left = false;     // '-'
    bool plus = false;     // '+'
    bool space = false;    // ' '
    bool zeros = false;    // '0'
    int width = 0;
    int precision = 6;
    char kind = 'f';
};

// One conversion of x in the C locale's form.
std::string convert(const Conversion& c, double x)
{
    const bool upper = c.kind == 'F' || c.kind == 'E' || c.kind == 'G';
    const char lower = static_cast<char>(upper ? c.kind - 'A' + 'a' : c.kind);
    const bool negative = std::signbit(x);
    const double magnitude = std::fabs(x);

    std::string digits;
    if (std::isnan(x))
    {
        digits = "nan";
    }
    else if (std::isinf(x))
    {
        digits = "inf";
    }
    else
    {
        const auto format = lower == 'f'   ? std::chars_format::fixed
                            : lower == 'e' ? std::chars_format::scientific
                                           : std::chars_format::general;
        // %g with a precision of 0 means 1 significant digit.
        int precision = std::min(c.precision, kMaxPrecision);
        if (lower == 'g' && precision == 0)
            precision = 1;
        char buffer[kNumberBufferSize];
        const auto result = std::to_chars(buffer, buffer + sizeof(buffer), magnitude, format, precision);
        if (result.ec == std::errc())
            digits.assign(buffer, result.ptr);
    }
    if (upper)
        for (auto& ch : digits)
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');

    std::string sign;
    if (negative)
        sign = "-";
    else if (c.plus)
        sign = "+";
    else if (c.space)
        sign = " ";

    const size_t length = sign.size() + digits.size();
    const size_t width = c.width > 0 ? static_cast<size_t>(c.width) : 0;
    if (length >= width)
        return sign + digits;
    const std::string padding(width - length, c.zeros && !c.left && std::isfinite(x) ? '0' : ' ');
    if (c.left)
        return sign + digits + padding;
    if (c.zeros && std::isfinite(x))
        return sign + padding + digits;
    return padding + sign + digits;
}

int readNumber(const char*& p)
{
    int n = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        n = std::min(n * 10 + (*p - '0'), 1000);
    return n;
}

bool isCSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether the decimal or hexadecimal number text (no sign, as from_chars matched it) stands for a
// value too large for a double rather than one too small.
bool overflows(const char* first, const char* last, bool hex)
{
    // The position of the first non-zero digit against the point, plus the exponent, tells the
    // magnitude's order; a non-zero mantissa is guaranteed by from_chars's range error.
    long long order = 0;
    bool seenPoint = false, seenDigit = false;
    const char* p = first;
    for (; p != last; ++p)
    {
        if (*p == '.')
        {
            seenPoint = true;
            continue;
        }
        if (!(hex ? isHexDigit(*p) : (*p >= '0' && *p <= '9')))
            break;
        if (*p != '0')
            seenDigit = true;
        if (!seenDigit && seenPoint)
            --order;
        else if (seenDigit && !seenPoint)
            ++order;
    }
    long long exponent = 0;
    if (p != last && (*p == 'e' || *p == 'E' || *p == 'p' || *p == 'P'))
    {
        ++p;
        const bool negative = p != last && *p == '-';
        if (p != last && (*p == '-' || *p == '+'))
            ++p;
        for (; p != last && *p >= '0' && *p <= '9'; ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000LL);
        if (negative)
            exponent = -exponent;
    }
    // Hexadecimal digits count four binary places each, the exponent binary places.
    return hex ? order * 4 + exponent > 0 : order + exponent > 0;
}
} // namespace

std::string zylFormatNumbers(const char* format, std::initializer_list<double> numbers)
{
    std::string text;
    if (format == nullptr)
        return text;
    auto next = numbers.begin();
    for (const char* p = format; *p != '\0';)
    {
        if (*p != '%')
        {
            text += *p++;
            continue;
        }
        if (p[1] == '%')
        {
            text += '%';
            p += 2;
            continue;
        }

        const char* start = p++;
        Conversion c;
        for (;; ++p)
        {
            if (*p == '-')
                c.left = true;
            else if (*p == '+')
                c.plus = true;
            else if (*p == ' ')
                c.space = true;
            else if (*p == '0')
                c.zeros = true;
            else
                break;
        }
        c.width = readNumber(p);
        if (*p == '.')
        {
            ++p;
            c.precision = readNumber(p);
        }
        const char kind = *p;
        if (kind == '\0' || std::string("fFeEgG").find(kind) == std::string::npos)
        {
            // Not a conversion this formatter knows: the text as it stands.
            text.append(start, kind == '\0' ? p : p + 1);
            if (kind != '\0')
                ++p;
            continue;
        }
        ++p;
        c.kind = kind;
        const double x = next != numbers.end() ? *next++ : 0.0;
        text += convert(c, x);
    }
    return text;
}

double zylParseLeadingNumber(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;

    // The number's characters are ASCII; the first other character ends it.
    std::string ascii;
    for (size_t k = i; k < text.size() && text[k] > 0 && text[k] < 128; ++k)
        ascii += static_cast<char>(text[k]);

    const char* p = ascii.c_str();
    const char* end = p + ascii.size();
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-'))
    {
        negative = *p == '-';
        ++p;
    }

    double value = 0.0;
    bool hex = false;
    const char* digits = p;
    std::from_chars_result result { p, std::errc::invalid_argument };
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')
        && (isHexDigit(p[2]) || (p[2] == '.' && end - p > 3 && isHexDigit(p[3]))))
    {
        hex = true;
        digits = p + 2;
        result = std::from_chars(digits, end, value, std::chars_format::hex);
    }
    else
    {
        result = std::from_chars(p, end, value, std::chars_format::general);
    }

    if (result.ec == std::errc::result_out_of_range)
        value = overflows(digits, result.ptr, hex) ? std::numeric_limits<double>::infinity() : 0.0;
    else if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}
