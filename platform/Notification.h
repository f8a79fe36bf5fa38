// A dialog's notification table: one static array of rows (notification, control id,
// handler) per dialog class, so that the whole routing of a dialog can be read in one
// place. Dialog::Route wires the rows to the widgets' signals and events.
#pragma once

namespace platform {

enum class Notify {
    Clicked,          // a push button was clicked (mouse, Space, Enter on it, its mnemonic)
    TextChanged,      // an edit's text changed, by the user or by the program; delivered
                      // before the call that set the text returns
    SelectionChanged, // the user chose another entry of a list (the layer's own selection
                      // during a load exchange does not notify)
    FocusLost,        // a control lost the keyboard focus
    SystemCommand,    // a command of the window's system menu, by its command id
};

template <class D> struct NotifyRow {
    Notify code;
    int id; // control id, or the command id of a SystemCommand row
    void (D::*handler)();
};

} // namespace platform
