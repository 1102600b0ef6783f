#pragma once

#include "euro/currency.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace vorn {

// The pocket calculator that converts an amount between francs and euros. The amount is
// built on the keypad or typed into the display; a conversion puts the result in the
// display and the converted amount, with its currency, in the small box beneath.
class VornEuro : public Form {
    Q_OBJECT

public:
    VornEuro();

    // Returns a window showing a result to an empty entry state; does nothing otherwise.
    void EstVide();
    // One of the keypad's keys was pressed: starts a new amount after a result, then
    // appends the key's character at the end of the display.
    void key_Click(const QString& character);
    void delete_Click();
    void off_Click();
    void euros_Click();
    void francs_Click();

private:
    // Hides the converted amount and empties the display and its unit: entry state.
    void clearDisplay();
    // Converts the display's amount, read as `from`, into the other currency.
    void convertDisplay(euro::Currency from);

    TextBox* ecran;
    Label* monaie;
    TextBox* ecran2;
    Label* monaie2;
};

} // namespace vorn
