#pragma once

#include "platform/twips.h"

#include <QString>

#include <array>
#include <cstddef>

class QWidget;

// How a window lists its controls: one declaration per control, and tables of them for families of
// like controls, each table turned into controls by one call.
namespace vorn {

// The ends of a line, in twips.
struct TwipsLine {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
};

// One control: its name, its caption (what it shows: a label's or a button's caption, a
// box's first text; nullptr for none), its place, and what it stands for where the caption
// does not say it (the name assistive tools announce). Texts are UTF-8.
template <class Place> struct BasicDecl {
    const char* name = nullptr;
    const char* caption = nullptr;
    Place place{};
    const char* description = nullptr;
};

// A control placed in a rectangle, and a line placed by its ends.
using ControlDecl = BasicDecl<TwipsRect>;
using LineDecl = BasicDecl<TwipsLine>;

// One row of a table of like controls: the control, and what its family needs to know of it
// besides (the handler it runs, the picture it shows, the colour it starts with...). A table
// whose rows need more than one such value has rows of its own, with the declaration as `decl`.
template <class Extra, class Decl = ControlDecl> struct ControlRow {
    Decl decl;
    Extra extra;
};

// A declaration's text; nullptr is the empty text.
inline QString declText(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

template <class Place> const BasicDecl<Place>& declOf(const BasicDecl<Place>& decl) {
    return decl;
}
template <class Row>
requires requires(const Row& row) {
    row.decl;
}
const auto& declOf(const Row& row) {
    return row.decl;
}

// Creates a control of kind Kind for each row of `rows`, child of `parent`, in the table's
// order, and hands each with its row to `setUp`. Returns the controls in the same order.
template <class Kind, class Row, std::size_t N, class SetUp>
std::array<Kind*, N> makeControls(QWidget* parent, const std::array<Row, N>& rows, SetUp setUp) {
    std::array<Kind*, N> made{};
    for (std::size_t i = 0; i < N; ++i) {
        made[i] = new Kind(parent, declOf(rows[i]));
        setUp(made[i], rows[i]);
    }
    return made;
}

template <class Kind, class Row, std::size_t N>
std::array<Kind*, N> makeControls(QWidget* parent, const std::array<Row, N>& rows) {
    return makeControls<Kind>(parent, rows, [](Kind*, const Row&) {});
}

} // namespace vorn
