#pragma once

#include <string>

namespace platform {

// Hands a web or mail link to the desktop's default program. A link that cannot be opened
// is not reported: the user simply sees nothing happen.
void OpenLink(const std::string& link);

} // namespace platform
