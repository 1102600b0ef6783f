// The chronology's year path, as the query window follows it: the typed text becomes a 16-bit
// year, and a year from -4004 to 90 is given to the five lookups. Each lookup writes only the
// boxes and row labels that belong to it, with texts and sizes fit to show.
#include "chronology/tables.h"
#include "fuzzsupport.h"

#include <initializer_list>

using namespace vorn;
using chronology::Output;
using chronology::RowLabel;
using chronology::Writes;

namespace {

constexpr int kEarliestYear = -4004;
constexpr int kLatestYear = 90;

// Fails if `writes` touches a box or row label outside those given.
void expectOnly(const char* lookup, const Writes& writes, std::initializer_list<Output> outputs,
                std::initializer_list<RowLabel> labels, const QString& input) {
    int allowed = 0;
    for (Output output : outputs) {
        if (const auto& text = writes.text(output)) {
            ++allowed;
            if (!text->isValidUtf16() || text->size() > 2000)
                fuzz::fail(lookup, input, QStringLiteral("writes an unfit text"));
        }
    }
    for (RowLabel row : labels) {
        if (const auto& change = writes.label(row)) {
            ++allowed;
            if (change->caption.isEmpty() || change->points < 6 || change->points > 72)
                fuzz::fail(lookup, input, QStringLiteral("retitles a row unfitly"));
        }
    }
    if (writes.count() != allowed)
        fuzz::fail(lookup, input, QStringLiteral("writes into another lookup's boxes"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::pinFrenchConventions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzz::textOf(data, size);
    if (input.isEmpty())
        return 0; // the window reminds the range without converting
    int year = 0;
    try {
        year = toInteger(input);
    } catch (const RuntimeError& error) {
        fuzz::expectError(error, {ErrorNumber::TypeMismatch, ErrorNumber::Overflow}, input);
        return 0;
    }
    if (year < kEarliestYear || year > kLatestYear)
        return 0;
    const auto y = static_cast<chronology::Year>(year);
    expectOnly("israel", chronology::israel(y), {Output::IsraelName, Output::IsraelPeriod},
               {RowLabel::Israel}, input);
    expectOnly("juda", chronology::juda(y), {Output::JudahName, Output::JudahPeriod},
               {RowLabel::Judah}, input);
    expectOnly("patriarches", chronology::patriarches(y),
               {Output::PatriarchName, Output::PatriarchPeriod}, {}, input);
    expectOnly("juges", chronology::juges(y),
               {Output::JudgeName, Output::JudgePeriod, Output::Commentary}, {}, input);
    expectOnly("commentaires", chronology::commentaires(y), {Output::Commentary}, {}, input);
    return 0;
}
