#pragma once

#include "platform/conversions.h"
#include "platform/runtimeerror.h"

#include <QLocale>
#include <QString>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

// What every fuzz target shares: the input as the text a user could type, the French
// conventions pinned, and a failure that shows the input and stops the run.
namespace vorn::fuzz {

inline void pinFrenchConventions() {
    setRegionalLocale(QLocale(QLocale::French, QLocale::France));
}

// The bytes as UTF-8 text, as a text box would hold them (invalid sequences become U+FFFD).
inline QString textOf(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void fail(const char* what, const QString& input, const QString& detail = {}) {
    std::fprintf(stderr, "invariant broken: %s\n  input: \"%s\"\n  %s\n", what,
                 qUtf8Printable(input), qUtf8Printable(detail));
    std::abort();
}

// Fails unless a rejected text raised one of the errors a conversion may raise.
inline void expectError(const RuntimeError& error, std::initializer_list<ErrorNumber> allowed,
                        const QString& input) {
    for (ErrorNumber code : allowed) {
        if (error.code() == code)
            return;
    }
    fail("unexpected run-time error", input, QString::number(static_cast<int>(error.code())));
}

// Fails unless `value`, written as text, reads back within the fifteen digits written, and
// unless writing the read-back value again gives the same text. Fifteen digits survive the
// trip through a double; subnormal values carry fewer and are left out of the second check.
inline void expectReadsBack(double value, const QString& input) {
    const QString written = toText(value);
    double back = 0;
    try {
        back = toDouble(written);
    } catch (const RuntimeError& error) {
        fail("a written number does not read back", input,
             written + QStringLiteral(" raised ") +
                 QString::number(static_cast<int>(error.code())));
    }
    if (std::abs(back - value) > std::abs(value) * 1e-14)
        fail("a written number reads back as another value", input,
             QStringLiteral("%1 -> %2 -> %3")
                 .arg(value, 0, 'g', 17)
                 .arg(written)
                 .arg(back, 0, 'g', 17));
    if (std::abs(value) >= DBL_MIN && toText(back) != written)
        fail("writing a number read back changes its text", input,
             written + QStringLiteral(" -> ") + toText(back));
}

} // namespace vorn::fuzz
