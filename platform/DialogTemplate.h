// A dialog described as data: its size, title and font, and one row per control with the
// control's id, kind, caption, place in dialog units and behaviour flags. The dialog layer
// (platform/Dialog.h) builds the widgets from it. Plain C++ so that the templates
// themselves (resources/templates/) are tables without any toolkit in them.
#pragma once

#include <span>
#include <string_view>

namespace platform {

enum class ControlKind {
    Edit,     // one-line edit with a border, scrolling sideways when its text is wider
    DropList, // drop-down list without typing
    Button,   // push button
    Label,    // static text
    Frame,    // group frame with an optional title
    Icon,     // a picture; its caption is the picture's resource path
};

// Behaviour flags, combined with |.
enum ControlFlag : unsigned {
    kNoFlags = 0,
    kTabStop = 1u << 0,       // reached with the Tab key; otherwise only with the mouse
    kAlignRight = 1u << 1,    // edits and lists
    kAlignCenter = 1u << 2,   // edits
    kReadOnly = 1u << 3,      // edits
    kDigitsOnly = 1u << 4,    // edits: only digits can be typed
    kSorted = 1u << 5,        // lists: entries kept in text order
    kUppercase = 1u << 6,     // lists: entries shown and returned in capitals
    kDefaultButton = 1u << 7, // buttons: drawn as the default button
    kPicture = 1u << 8,       // buttons: show a picture, centred, instead of the caption
    kNoPrefix = 1u << 9,      // labels: "&" is shown as it is
};

// A rectangle in dialog units: x, y, width, height.
struct DialogRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct ControlTemplate {
    int id = 0; // 0: the control has no id and cannot be addressed
    ControlKind kind = ControlKind::Label;
    std::string_view caption; // UTF-8
    DialogRect rect;
    unsigned flags = kNoFlags;
    int maxLength = 0; // edits: length limit from creation on; 0 for none
};

// The entries a list receives when the dialog is created, in this order.
struct ListContents {
    int id = 0;
    std::span<const std::string_view> entries;
};

struct DialogTemplate {
    int id = 0;
    std::string_view title; // UTF-8
    int cx = 0;             // client area in dialog units
    int cy = 0;
    std::string_view fontFace;
    int pointSize = 8;
    std::span<const ControlTemplate> controls; // template order, which is also the Tab order
    std::span<const ListContents> lists;
};

// Dialog units to pixels for the 8-point template font: 1.5 pixels per horizontal unit
// (rounded down, as the form's own pixel positions are) and 1.625 per vertical unit
// (rounded to nearest). So a 423 x 246 dialog is 634 x 400 pixels.
constexpr int DialogUnitsToPixelsX(int units) {
    return units * 3 / 2;
}
constexpr int DialogUnitsToPixelsY(int units) {
    return (units * 13 + 4) / 8;
}

} // namespace platform
