#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The five chronology lookups: for a year, who was patriarch, judge, ruler of Israel and of
// Judah, and what happened then. Each lookup is an ordered table of year intervals; the first
// row holding the year is the only one applied. No widget here: a lookup returns the writes
// that the query window applies to its boxes and row labels.
namespace vorn::chronology {

using Year = std::int16_t;

// The boxes a lookup writes into.
enum class Output {
    PatriarchName,
    PatriarchPeriod,
    JudgeName,
    JudgePeriod,
    IsraelName,
    IsraelPeriod,
    JudahName,
    JudahPeriod,
    Commentary,
};
inline constexpr std::size_t kOutputCount = static_cast<std::size_t>(Output::Commentary) + 1;

// The row labels a lookup may retitle.
enum class RowLabel { Israel, Judah };
inline constexpr std::size_t kRowLabelCount = static_cast<std::size_t>(RowLabel::Judah) + 1;

// A row label's new caption and its font size in whole points.
struct LabelChange {
    QString caption;
    int points = 0;
    friend bool operator==(const LabelChange&, const LabelChange&) = default;
};

// What one lookup writes for one year: a text for each box the matching row names and a
// change for each row label it retitles. Everything left unset keeps its content.
struct Writes {
    std::array<std::optional<QString>, kOutputCount> texts;
    std::array<std::optional<LabelChange>, kRowLabelCount> labels;

    const std::optional<QString>& text(Output output) const {
        return texts[static_cast<std::size_t>(output)];
    }
    const std::optional<LabelChange>& label(RowLabel row) const {
        return labels[static_cast<std::size_t>(row)];
    }
    // How many boxes and labels are written.
    int count() const;
};

Writes israel(Year year);       // ruler of Israel: name, period, Israel row label
Writes juda(Year year);         // ruler of Judah: name, period, Judah row label
Writes patriarches(Year year);  // patriarch: name, period
Writes juges(Year year);        // judge: name and period, or a group of judges in the commentary
Writes commentaires(Year year); // commentary on the period

} // namespace vorn::chronology
