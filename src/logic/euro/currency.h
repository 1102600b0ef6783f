#pragma once

#include <QString>

// Conversion between French francs and euros at the fixed rate, on amounts held as text.
// No widget here: the calculator window shows what these functions compute.
namespace vorn::euro {

// Francs to one euro, as the nearest double.
inline constexpr double kFrancsPerEuro = 6.55957;
// Decimal places a converted amount keeps.
inline constexpr int kResultDecimals = 3;

enum class Currency { Francs, Euros };

// The name shown next to an amount: "Francs" or "Euros".
QString currencyName(Currency currency);
// The currency an amount in `currency` converts into.
Currency otherCurrency(Currency currency);

// The amount as the display reads it: every "." becomes the decimal comma.
QString withDecimalCommas(QString amount);

// `amount` in `from` converted into the other currency, rounded to the kept decimals with
// halves to even. A result beyond the double range raises error 6.
double convert(double amount, Currency from);

// The text of an amount in `from` converted into the other currency, written in the shortest
// form. Text that is no number raises error 13; one beyond the double range raises error 6.
QString convertText(const QString& amount, Currency from);

} // namespace vorn::euro
