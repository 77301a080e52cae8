#include "core/leading_number.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace pp {

namespace {

// Walks the text, passing over the characters that are ignored everywhere.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // The next character that counts, or '\0' at the end. A NUL in the text
    // fits no form either, so it ends the number like the end of the text.
    char peek() {
        while (pos_ < text_.size() && isIgnored(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void next() { ++pos_; }

private:
    static bool isIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int radixDigit(char c, int radix) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    }
    return value < radix ? value : -1;
}

// &H... or &O..., the reader standing after the ampersand.
double radixNumber(Reader& in) {
    int radix = 0;
    switch (in.peek()) {
    case 'H':
    case 'h':
        radix = 16;
        break;
    case 'O':
    case 'o':
        radix = 8;
        break;
    default:
        return 0.0; // an ampersand not followed by a radix letter holds no number
    }
    in.next();
    // Exact up to 2^53, far beyond 255; larger values only need to stay large.
    double value = 0.0;
    for (int digit = radixDigit(in.peek(), radix); digit >= 0;
         digit = radixDigit(in.peek(), radix)) {
        value = value * radix + digit;
        in.next();
    }
    return value;
}

// Adds the decimal digits that follow to `out`; returns how many there were.
std::size_t takeDigits(Reader& in, std::string& out) {
    std::size_t count = 0;
    while (isDecimalDigit(in.peek())) {
        out += in.peek();
        in.next();
        ++count;
    }
    return count;
}

double decimalNumber(Reader& in) {
    // The number's characters without the ignored ones, for a correctly
    // rounding and locale-free conversion.
    std::string number;
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }
    const std::size_t integerStart = number.size();
    const std::size_t integerDigits = takeDigits(in, number);
    std::size_t fractionDigits = 0;
    if (in.peek() == '.') {
        in.next();
        number += '.';
        fractionDigits = takeDigits(in, number);
    }
    if (integerDigits + fractionDigits == 0) {
        return 0.0;
    }
    // Exponent, saturated well beyond the range of double.
    constexpr long long exponentLimit = 1'000'000'000;
    long long exponent = 0;
    if (in.peek() == 'E' || in.peek() == 'e') {
        in.next();
        bool negativeExponent = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negativeExponent = in.peek() == '-';
            in.next();
        }
        while (isDecimalDigit(in.peek())) {
            exponent = std::min((exponent * 10) + (in.peek() - '0'), exponentLimit);
            in.next();
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
        number += 'e';
        number += std::to_string(exponent);
    }

    double value = 0.0;
    const std::from_chars_result read =
        std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: which one follows from where the
        // first significant digit stands.
        long long magnitude = 0;
        const std::size_t firstNonZero = number.find_first_not_of("0.", integerStart);
        if (firstNonZero < integerStart + integerDigits) {
            magnitude = static_cast<long long>(integerStart + integerDigits - firstNonZero);
        } else if (firstNonZero != std::string::npos && number[firstNonZero] != 'e') {
            magnitude = -static_cast<long long>(firstNonZero - integerStart - integerDigits - 1);
        }
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

double LeadingNumber(std::string_view text) {
    Reader in(text);
    if (in.peek() == '&') {
        in.next();
        return radixNumber(in);
    }
    return decimalNumber(in);
}

} // namespace pp
