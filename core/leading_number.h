// Reading a number typed by the user.
#pragma once

#include <string_view>

namespace pp {

// The number that the longest leading part of `text` forms, or 0 when it
// holds no digit. Never fails:
//  - blanks, tabs and line feeds are ignored wherever they stand ("2 5 5" is 255);
//  - decimal form: optional sign, digits, optional period and digits, optional
//    exponent (E or e, optional sign, digits); the period is the only decimal
//    separator, whatever the locale; "1e" reads 1, ".5" reads 0.5;
//  - radix form: &H and hexadecimal digits, or &O and octal digits, letters in
//    either case ("&HFF" and "&o377" read 255); a radix value is never negative;
//  - reading stops at the first character that does not fit ("12abc" is 12,
//    "3,5" is 3); only ASCII digits are digits.
// A decimal number is converted with correct rounding; one beyond the range of
// double gives an infinity. Work is linear in the length of `text`.
double LeadingNumber(std::string_view text);

} // namespace pp
