#pragma once

#include "platform/controls.h"
#include "platform/form.h"

#include <array>
#include <cstddef>

namespace vorn {

// The web colour converter: red, green and blue values from 0 to 255 become the "#RRGGBB"
// notation and a preview, each new colour pushes the former one into a history of three
// recallable swatches, and the icon slides down the window and back when clicked.
class Color : public Form {
    Q_OBJECT

public:
    // The component boxes by the colour they hold: red Text2, green Text1, blue Text3.
    enum Component : std::size_t { Red, Green, Blue };
    // The history swatches, newest first: Label6, Label7, Label8.
    enum Swatch : std::size_t { Newest, Middle, Oldest };

    Color();

    // Leaving a component box: tests its value and, when it is in range, rebuilds the
    // colour from the three boxes.
    void Text_LostFocus(Component component);
    // Clicking a history swatch brings its colour back into the preview.
    void Label_Click(Swatch swatch);
    // Clicking the icon plays the animation.
    void Image1_Click();

    // Pushes the preview colour into the history, dropping the oldest.
    void labelInit();
    // Sets the three component boxes back to "255" without running their handlers.
    void textInit();

protected:
    void Form_Load() override;

private:
    void showHexa(ColourValue colour);
    void setCaptionColour(ColourValue colour);
    bool animationStep(float delta);

    std::array<TextBox*, 3> m_components{}; // by Component
    std::array<Label*, 3> m_swatches{};     // by Swatch
    std::array<Label*, 4> m_captions{};     // "Rouge", "Vert", "Bleu", "Valeur Hexadécimale"
    Label* Label1 = nullptr;                // the preview
    TextBox* Text4 = nullptr;               // the "#RRGGBB" notation, read-only
    Image* Image1 = nullptr;

    QString Hexa;              // the six digits of the colour last shown, without "#"
    ColourValue coul = kBlack; // the colour of the swatch being recalled
};

} // namespace vorn
