// Keeps an edit's characters whole under its length limit. QLineEdit counts the limit in
// UTF-16 units, so an emoji or any other character outside the basic plane typed, pasted or
// loaded at the limit would keep only its first half: a broken character that turns into a
// replacement mark when the text is read. With this an edit never holds half a character:
// one that does not fit is left out whole.
#pragma once

class QLineEdit;

namespace platform {

// Installs the guard on an edit that has no validator of its own (an edit that takes digits
// only never holds such characters).
void KeepCharactersWhole(QLineEdit* edit);

} // namespace platform
