// The print server's last answer on the calling thread, read without linking the print
// server's library: Qt's print plugin loads it when printing starts, and only then is there
// an answer to read. A program that never prints never loads it.
#pragma once

#include <QString>

#include <optional>

namespace platform {

// The server's refusal of the last request made on this thread: its text, or an empty text
// when it gave none. Nothing when the server accepted it, or when the print server's
// library is not loaded (no request was made through it).
std::optional<QString> LastServerRefusal();

} // namespace platform
