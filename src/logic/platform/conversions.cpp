#include "platform/conversions.h"

#include "platform/runtimeerror.h"

#include <QtNumeric>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vorn {

namespace {

QLocale makeRegionalLocale() {
    // The system locale writes numbers as LC_NUMERIC says, which may be another language's
    // (French messages with C numbers, a common setting): the conventions come from the
    // French locale the user's name stands for, which writes the decimal comma.
    const QLocale user = QLocale::system();
    QLocale locale = user.language() == QLocale::French ? QLocale(user.name())
                                                        : QLocale(QLocale::French, QLocale::France);
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

std::optional<QLocale>& localeOverride() {
    static std::optional<QLocale> locale;
    return locale;
}

// Shortest decimal digits and exponent of a finite value: value = 0.d1d2d3... x 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal decompose(double value) {
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string text(buffer, result.ptr);
    Decimal d;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        d.negative = true;
        ++pos;
    }
    const std::size_t ePos = text.find('e');
    for (std::size_t i = pos; i < ePos; ++i) {
        if (text[i] != '.')
            d.digits += text[i];
    }
    d.exponent = std::stoi(text.substr(ePos + 1)) + 1;
    return d;
}

} // namespace

QLocale regionalLocale() {
    if (localeOverride())
        return *localeOverride();
    static const QLocale locale = makeRegionalLocale();
    return locale;
}

void setRegionalLocale(const QLocale& locale) {
    QLocale pinned = locale;
    pinned.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    localeOverride() = pinned;
}

namespace {

// True for a well-formed number too small in magnitude for a double, such as 1E-400: it
// reads as zero, as the nearest double, rather than as text that is no number. Only the
// decimal comma separates decimals: a point is never part of a number.
bool underflowsToZero(const QString& trimmed) {
    if (trimmed.contains(QLatin1Char('.')))
        return false;
    QString plain = trimmed;
    plain.replace(regionalLocale().decimalPoint(), QStringLiteral("."));
    const std::string digits = plain.toStdString();
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc::result_out_of_range || result.ptr != digits.data() + digits.size())
        return false;
    const auto exponent = digits.find_first_of("eE");
    return exponent != std::string::npos && exponent + 1 < digits.size() &&
           digits[exponent + 1] == '-';
}

} // namespace

double toDouble(const QString& text) {
    const QString trimmed = text.trimmed();
    // "inf" and "nan" are no numbers a user types; every number has a digit.
    const bool hasDigit =
        std::any_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c.isDigit(); });
    if (!hasDigit)
        raise(ErrorNumber::TypeMismatch);
    bool ok = false;
    const double value = regionalLocale().toDouble(trimmed, &ok);
    if (ok && std::isfinite(value))
        return value;
    // Tell a well-formed number too large for a double from text that is no number at all.
    if (std::isinf(value))
        raise(ErrorNumber::Overflow);
    if (underflowsToZero(trimmed))
        return 0.0;
    raise(ErrorNumber::TypeMismatch);
}

std::int16_t toInteger(double value) {
    if (!std::isfinite(value))
        raise(ErrorNumber::Overflow);
    const double rounded = roundHalfEven(value, 0);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        raise(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(rounded);
}

std::int16_t toInteger(const QString& text) {
    return toInteger(toDouble(text));
}

double roundHalfEven(double value, int decimals) {
    if (!std::isfinite(value) || value == 0.0)
        return value;
    Decimal d = decompose(value);
    // Number of digits kept: those before the decimal point plus the requested decimals.
    const int keep = d.exponent + decimals;
    if (keep >= static_cast<int>(d.digits.size()))
        return value;
    if (keep < 0)
        return d.negative ? -0.0 : 0.0;

    std::string kept = d.digits.substr(0, static_cast<std::size_t>(keep));
    const std::string rest = d.digits.substr(static_cast<std::size_t>(keep));
    bool up = false;
    if (rest[0] > '5') {
        up = true;
    } else if (rest[0] == '5') {
        const bool exactHalf = rest.find_first_not_of('0', 1) == std::string::npos;
        const bool lastOdd = !kept.empty() && ((kept.back() - '0') % 2 == 1);
        up = !exactHalf || lastOdd;
    }
    int exponent = d.exponent;
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
            kept[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            ++exponent;
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    if (kept.empty())
        return d.negative ? -0.0 : 0.0;
    std::string text = (d.negative ? "-0." : "0.") + kept + "e" + std::to_string(exponent);
    double result = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

QString toText(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    // The largest magnitudes would round up past the double range when written with 15
    // digits and then no longer read back; they are written as the largest 15-digit number
    // a double still holds.
    constexpr double kLargestWritable = 1.79769313486231e308;
    if (std::isfinite(value) && std::abs(value) > kLargestWritable)
        value = std::copysign(kLargestWritable, value);
    QString text = regionalLocale().toString(value, 'g', 15);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString toText(qint64 value) {
    return QString::number(value);
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString timeText(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString generalDateText(const QDateTime& t) {
    return dateText(t.date()) + QLatin1Char(' ') + timeText(t.time());
}

QDateTime fileTime(qint64 seconds, long nanoseconds) {
    // A file system may hold any 64-bit stamp (tmpfs takes the largest); in milliseconds it
    // would wrap round to a date near 1970.
    qint64 milliseconds = 0;
    if (qMulOverflow(seconds, qint64(1000), &milliseconds) ||
        qAddOverflow(milliseconds, qint64(nanoseconds / 1000000), &milliseconds))
        raise(ErrorNumber::Overflow);
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(milliseconds);
    if (!time.isValid())
        raise(ErrorNumber::Overflow);
    return time;
}

QString hexText(std::uint32_t value) {
    return QString::number(value, 16).toUpper();
}

QString hexByte(int value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace vorn
