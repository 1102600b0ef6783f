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

double convert(double amount, Currency from) {
    const double converted =
        from == Currency::Francs ? amount / kFrancsPerEuro : amount * kFrancsPerEuro;
    if (!std::isfinite(converted))
        raise(ErrorNumber::Overflow);
    return roundHalfEven(converted, kResultDecimals);
}

QString convertText(const QString& amount, Currency from) {
    return toText(convert(toDouble(amount), from));
}

} // namespace vorn::euro
