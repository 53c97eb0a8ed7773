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

// Digits from the first non-zero to the last non-zero of the integer and fraction parts.
int significantDigits(std::string_view intPart, std::string_view fracPart) {
    int first = -1, last = -1, pos = 0;
    for (std::string_view part : {intPart, fracPart}) {
        for (char c : part) {
            if (c != '0') {
                if (first < 0)
                    first = pos;
                last = pos;
            }
            ++pos;
        }
    }
    return first < 0 ? 0 : last - first + 1;
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
    const char* intBegin = p;
    while (p < end && isDigit(*p))
        ++p;
    const std::string_view intPart(intBegin, static_cast<size_t>(p - intBegin));
    if (intPart.size() > 1 && intPart.front() == '0')
        return r;  // leading zeros: "007" stays text

    if (p == end) {
        if (intPart.empty() || intPart.size() > 19 || (negative && intPart == "0"))
            return r;
        std::uint64_t u = 0;  // 19 digits fit: < 1.9e19
        for (char c : intPart)
            u = u * 10 + static_cast<std::uint64_t>(c - '0');
        const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
        if (u > limit)
            return r;
        r.integer = negative ? static_cast<std::int64_t>(0 - u) : static_cast<std::int64_t>(u);
        r.digits = static_cast<int>(intPart.size());
        r.shape = r.integer >= std::numeric_limits<std::int32_t>::min() && r.integer <= std::numeric_limits<std::int32_t>::max()
                      ? TextValue::Int32
                      : TextValue::Int64;
        return r;
    }

    std::string_view fracPart;
    if (*p == '.') {
        const char* fracBegin = ++p;
        while (p < end && isDigit(*p))
            ++p;
        fracPart = std::string_view(fracBegin, static_cast<size_t>(p - fracBegin));
    } else if (*p != 'e' && *p != 'E') {
        return r;
    }
    if (intPart.empty() && fracPart.empty())
        return r;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        const char* expBegin = p;
        while (p < end && isDigit(*p))
            ++p;
        if (p == expBegin)
            return r;
    }
    if (p != end)
        return r;
    const int digits = significantDigits(intPart, fracPart);
    if (digits > 15)
        return r;
    double d = 0;
    const auto [ptr, ec] = std::from_chars(v.data(), end, d);
    if (ec != std::errc() || ptr != end || !std::isfinite(d))
        return r;
    r.shape = TextValue::Float;
    r.real = d;
    r.digits = digits;
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
