#pragma once

#include <initializer_list>
#include <string>

// Numbers as text in the form of the C locale whatever the process locale is: the decimal point
// is always '.'. One call of setlocale by a library or a file dialog would otherwise turn value
// names into "0,50" and break numeric lookups and the numbers of saved states.

// Formats the numbers with a printf format made of text, "%%" and floating-point conversions
// (f F e E g G with the flags "-+ 0", a width and a precision; no '*'), one number per
// conversion in order; a missing number reads as 0. The result is what snprintf gives in the C
// locale. Any other conversion is copied as text.
std::string zylFormatNumbers(const char* format, std::initializer_list<double> numbers);

// The longest leading number of text, read as the C library's strtod reads it in the C locale
// (leading blanks, a sign, decimal or hexadecimal digits, an exponent, "inf", "infinity",
// "nan"); 0 when there is none. Out of range: the infinity of its sign, or 0 when it is tiny.
double zylParseLeadingNumber(const std::wstring& text);
