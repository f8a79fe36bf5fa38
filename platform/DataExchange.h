// One run of a dialog's data exchange, in one direction. A dialog's DoDataExchange calls
// these operations, one per bound member, in its own order:
//  - load (Saving() false): members into controls; nothing fails;
//  - save (Saving() true): controls into members, each followed by its rule.
// When a rule fails, the exchange shows the rule's message with an exclamation icon,
// moves the focus to the control (selecting an edit's text) and stops: the call does not
// return, the rest of DoDataExchange is skipped, and Dialog::UpdateData returns false.
// What the failing member holds is documented per operation.
#pragma once

#include "amounts/Currency.h"

#include <cstdint>
#include <string>

class QPushButton;
class QWidget;

namespace platform {

class Dialog;

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    // A quiet save: controls into members with every rule's effect on the member, but a
    // failed rule shows nothing, moves no focus and does not stop the exchange, and no
    // control is changed. For a look at what the controls hold, as a preview needs.
    static DataExchange Quiet(Dialog& dialog) {
        DataExchange dx(dialog, true);
        dx.quiet_ = true;
        return dx;
    }

    bool Saving() const { return saving_; }

    // Text of an edit. With maxChars > 0 the edit is limited to that many characters from
    // the first run on (in either direction), and a save of a longer text fails with
    // "No introduzca más de N caracteres." after the member took the text.
    void Text(int id, std::string& value, int maxChars = 0);

    // Integer of an edit, written in decimal. A save reads a decimal integer with optional
    // blanks around it and an optional sign; anything else, the empty text included, or a
    // number outside 32 bits fails with "Introduzca un número entero." and leaves the
    // member as it was.
    void Integer(int id, std::int32_t& value);
    // The same with a range checked on save only: a number outside min..max is stored in
    // the member and then fails with "Introduzca un número entero entre MIN y MAX.".
    void Integer(int id, std::int32_t& value, std::int32_t min, std::int32_t max);

    // Text of a list's selected entry. Load selects the first entry that begins with the
    // member's text, ignoring case (no match: the selection stays). Save copies the
    // selected entry's text ("" when none); with maxChars > 0 a longer text fails with the
    // length message after the member took it. Never limits the list itself.
    void ListText(int id, std::string& value, int maxChars = 0);

    // Amount of an edit, written as plain euros ("1234,56", "12,5", "6"). A save of a text
    // that is not an amount fails with "Introduzca una moneda." and leaves the member
    // invalid: value 0 for a text that is not a number, the most negative value for one
    // too large. Loading an invalid member leaves the edit's text as it is, so a text that
    // failed stays in front of the user instead of a number that was never typed.
    void CurrencyText(int id, moneda::Currency& value);

    // Attaches a button object to its control on the first run; later runs find it set.
    void Attach(int id, QPushButton*& button);

private:
    // Shows the message and stops the exchange; returns only in a quiet exchange.
    void Fail(int id, const std::string& message);
    QWidget* Control(int id) const;

    Dialog& dialog_;
    bool saving_;
    bool quiet_ = false;
};

// Thrown by a failing rule and caught by Dialog::UpdateData; never escapes the layer.
struct ExchangeStopped {};

} // namespace platform
