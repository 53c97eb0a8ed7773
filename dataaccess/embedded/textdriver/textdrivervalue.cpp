#include "textdrivervalue.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace da::embedded {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view v) {
    while (!v.empty() && v.front() == ' ')
        v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ')
        v.remove_suffix(1);
    return v;
}

bool equalsIgnoringCase(std::string_view v, std::string_view lowerWord) {
    if (v.size() != lowerWord.size())
        return false;
    for (size_t i = 0; i < v.size(); ++i) {
        char c = v[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerWord[i])
            return false;
    }
    return true;
}

}  // namespace

QByteArray textColumnSqlType(TextColumnType type, int width) {
    switch (type) {
    case TextColumnType::Int: return "int";
    case TextColumnType::BigInt: return "bigint";
    case TextColumnType::Float: return "float";
    case TextColumnType::Bit: return "bit";
    case TextColumnType::Text: break;
    }
    return "nvarchar(" + QByteArray::number(width > 0 ? width : 255) + ")";
}

QString textColumnTypeName(TextColumnType type) {
    switch (type) {
    case TextColumnType::Int: return QStringLiteral("Integer");
    case TextColumnType::BigInt: return QStringLiteral("Integer (64-bit)");
    case TextColumnType::Float: return QStringLiteral("Float");
    case TextColumnType::Bit: return QStringLiteral("Bit");
    case TextColumnType::Text: break;
    }
    return QStringLiteral("Text");
}

TextValue classifyTextValue(std::string_view value) {
    TextValue r;
    const std::string_view v = trimBlanks(value);
    if (v.empty())
        return r;
    r.shape = TextValue::Text;

    const char* p = v.data();
    const char* const end = p + v.size();
    const bool negative = *p == '-';
    if (negative)
        ++p;
    // mantissa takes every digit of the integer part and the fraction; it is exact while
    // they number 19 or fewer from the first non-zero one.
    const char* const intBegin = p;
    std::uint64_t mantissa = 0;
    while (p < end && isDigit(*p))
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
    const size_t intLen = static_cast<size_t>(p - intBegin);
    if (intLen > 1 && *intBegin == '0')
        return r;  // leading zeros: "007" stays text

    if (p == end) {
        if (intLen == 0 || intLen > 19 || (negative && intLen == 1 && *intBegin == '0'))
            return r;
        // 19 digits fit in 64 unsigned bits (< 1.9e19).
        const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
        if (mantissa > limit)
            return r;
        r.integer = negative ? static_cast<std::int64_t>(0 - mantissa) : static_cast<std::int64_t>(mantissa);
        r.digits = static_cast<int>(intLen);
        r.shape = r.integer >= std::numeric_limits<std::int32_t>::min() && r.integer <= std::numeric_limits<std::int32_t>::max()
                      ? TextValue::Int32
                      : TextValue::Int64;
        return r;
    }

    const char* fracBegin = p;
    int fracLen = 0;
    if (*p == '.') {
        fracBegin = ++p;
        while (p < end && isDigit(*p))
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
        fracLen = static_cast<int>(p - fracBegin);
    } else if (*p != 'e' && *p != 'E') {
        return r;
    }
    if (intLen == 0 && fracLen == 0)
        return r;
    int exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool expNegative = p < end && *p == '-';
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        const char* expBegin = p;
        while (p < end && isDigit(*p)) {
            if (exponent < 10000)
                exponent = exponent * 10 + (*p - '0');
            ++p;
        }
        if (p == expBegin)
            return r;
        if (expNegative)
            exponent = -exponent;
    }
    if (p != end)
        return r;
    // Digits from the first non-zero one (counted) and up to the last non-zero one
    // (significant); the integer part has no leading zeros but a lone "0".
    const std::string_view intPart(intBegin, intLen), fracPart(fracBegin, static_cast<size_t>(fracLen));
    int leading = 0;
    if (intPart.empty() || intPart == "0") {
        leading = static_cast<int>(intPart.size());
        for (char c : fracPart) {
            if (c != '0')
                break;
            ++leading;
        }
    }
    const int counted = static_cast<int>(intPart.size()) + fracLen - leading;
    int trailing = 0;
    for (std::string_view part : {fracPart, intPart}) {
        size_t k = part.size();
        while (k > 0 && part[k - 1] == '0' && trailing < counted) {
            --k;
            ++trailing;
        }
        if (k > 0)
            break;
    }
    const int significant = counted - trailing;
    if (significant > 15)
        return r;

    // Exact digits times an exact power of ten rounds once, so this equals the correctly
    // rounded reading (mantissa < 1e15 < 2^53, powers of ten exact up to 1e22).
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const int scale = exponent - fracLen;  // value = mantissa * 10^scale
    double d = 0;
    if (counted <= 15 && scale >= -22 && scale <= 22) {
        d = scale < 0 ? static_cast<double>(mantissa) / kPow10[-scale] : static_cast<double>(mantissa) * kPow10[scale];
        if (negative)
            d = -d;
    } else {
        const auto [ptr, ec] = std::from_chars(v.data(), end, d);
        if (ec != std::errc() || ptr != end || !std::isfinite(d))
            return r;
    }
    r.shape = TextValue::Float;
    r.real = d;
    r.digits = significant;
    return r;
}

bool parseForcedInteger(std::string_view value, std::int64_t& out) {
    std::string_view v = trimBlanks(value);
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    if (v.empty())
        return false;
    const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    return ec == std::errc() && ptr == v.data() + v.size();
}

bool parseForcedDouble(std::string_view value, double& out) {
    std::string_view v = trimBlanks(value);
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    if (v.empty())
        return false;
    const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    return ec == std::errc() && ptr == v.data() + v.size() && std::isfinite(out);
}

bool parseForcedBit(std::string_view value, bool& out) {
    const std::string_view v = trimBlanks(value);
    for (std::string_view word : {"true", "yes", "on"}) {
        if (equalsIgnoringCase(v, word))
            return out = true;
    }
    for (std::string_view word : {"false", "no", "off"}) {
        if (equalsIgnoringCase(v, word)) {
            out = false;
            return true;
        }
    }
    std::int64_t n = 0;
    if (!parseForcedInteger(v, n))
        return false;
    out = n != 0;
    return true;
}

}  // namespace da::embedded
