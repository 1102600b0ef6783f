#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdint>

// Conversions between text and numbers under the French regional conventions, and the
// number helpers the windows share. No widget here: everything is pure and tested directly.
namespace vorn {

// The French locale the user's locale names when its language is French (whatever its
// numbers follow), fr_FR otherwise; never groups digits.
QLocale regionalLocale();
// Replaces the locale used by the conversions (tests pin it; nullptr-like reset with {}).
void setRegionalLocale(const QLocale& locale);

// Text to double; text that is not a number raises error 13, a magnitude beyond the
// double range raises error 6.
double toDouble(const QString& text);
// Text or double to a 16-bit integer, halves to even; outside -32768..32767 raises error 6.
std::int16_t toInteger(const QString& text);
std::int16_t toInteger(double value);

// Rounds to `decimals` places, halves to even, judged on the number's shortest decimal form.
double roundHalfEven(double value, int decimals);

// Number to text: shortest form, 15 significant digits at most, decimal comma, no grouping.
QString toText(double value);
QString toText(qint64 value);

QString dateText(const QDate& date);         // dd/MM/yyyy
QString timeText(const QTime& time);         // HH:mm:ss
QString generalDateText(const QDateTime& t); // dd/MM/yyyy HH:mm:ss

// A file's time stamp, seconds and nanoseconds since 1970 as the system gives them, as a local
// date and time; a stamp beyond what a date holds raises error 6.
QDateTime fileTime(qint64 seconds, long nanoseconds);

// Upper-case hexadecimal without leading zeros.
QString hexText(std::uint32_t value);
// Two upper-case hexadecimal digits.
QString hexByte(int value);

} // namespace vorn
