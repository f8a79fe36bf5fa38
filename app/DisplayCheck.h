// Start-up without a graphical desktop. The toolkit, finding no display, prints its English
// advice and aborts with a core dump; the program instead ends with status 1 and one Spanish
// line on standard error.
#pragma once

#include <QtGlobal>

class StartupDisplayCheck {
public:
    // Ends the program at once when no display can be meant (no X or Wayland display named
    // and no platform chosen); otherwise watches the toolkit's start until Started().
    StartupDisplayCheck();
    ~StartupDisplayCheck();
    // The application object exists: the toolkit found its display. Messages held back
    // while it started go out as they would have.
    void Started();

    StartupDisplayCheck(const StartupDisplayCheck&) = delete;
    StartupDisplayCheck& operator=(const StartupDisplayCheck&) = delete;

private:
    QtMessageHandler previous_ = nullptr;
    bool watching_ = false;
};

// The line written to standard error.
extern const char kNoDisplayLine[];
