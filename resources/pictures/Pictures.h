// Talvero's pictures, compiled into every program that links talvero_pictures.
//
// Resource paths, named after the pictures' resource ids:
//   ":/pictures/129.png"  the advertising banner, 230 x 200, 16 colours
//   ":/pictures/136.png"  the sample logo strip of the receipt, 300 x 750, 256-colour table
//   ":/icons/talvero-N.png" for N = 16, 32, 48, 64, 128, 256: the application icon (128)
#pragma once

#include <QIcon>

namespace pictures {

inline constexpr const char* kBanner = ":/pictures/129.png";
inline constexpr const char* kLogotipo = ":/pictures/136.png";

// The application icon with every size it is drawn at, so that the window manager and the
// task bar each pick the sharpest one instead of scaling a single size.
QIcon ApplicationIcon();

// The same icon with the sizes a window is drawn at, 16 to 64 pixels: in the title bar and
// the task bar, small and large, at one and two times the scale. Under X11 every size a
// window's icon offers goes to the window manager the moment the window is made, and the
// two larger ones, which only a launcher or a task switcher shows and which those take
// from the icons installed with the desktop file, cost a twentieth of the program's start.
QIcon WindowIcon();

} // namespace pictures
