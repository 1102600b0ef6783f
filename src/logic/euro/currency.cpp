#include "euro/currency.h"

#include "platform/conversions.h"
#include "platform/runtimeerror.h"

#include <cmath>

namespace vorn::euro {

QString currencyName(Currency currency) {
    return currency == Currency::Francs ? QStringLiteral("Francs") : QStringLiteral("Euros");
}

Currency otherCurrency(Currency currency) {
    return currency == Currency::Francs ? Currency::Euros : Currency::Francs;
}

QString withDecimalCommas(QString amount) {
    return amount.replace(QLatin1Char('.'), QLatin1Char(','));
}

namespace {

// How far a converted amount may stand from the exact result of its decimal amount and the
// decimal rate, in units of its last place: the amount, the rate and the operation are each
// rounded once to the nearest double.
constexpr double kArithmeticUlps = 2.0;

// `value` put on the half between its two neighbours with the kept decimals when it lies
// within the arithmetic's error of it, so that rounding sees the half that the decimal
// amount gives: 150 euros are 983.9355 francs, which the double product puts just below.
double onNearHalf(double value) {
    const double scale = std::pow(10.0, kResultDecimals);
    const double half = (std::floor(value * scale) + 0.5) / scale;
    const double magnitude = std::abs(value);
    const double ulp = std::nextafter(magnitude, HUGE_VAL) - magnitude;
    return std::abs(value - half) <= kArithmeticUlps * ulp ? half : value;
}

} // namespace

double convert(double amount, Currency from) {
    const double converted =
        from == Currency::Francs ? amount / kFrancsPerEuro : amount * kFrancsPerEuro;
    if (!std::isfinite(converted))
        raise(ErrorNumber::Overflow);
    return roundHalfEven(onNearHalf(converted), kResultDecimals);
}

QString convertText(const QString& amount, Currency from) {
    return toText(convert(toDouble(amount), from));
}

} // namespace vorn::euro
