#include "platform/DialogControls.h"

#include "platform/WholeCharacters.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace platform {

namespace {

// The template's heights of drop-down lists include the dropped-down part; the closed
// list is one edit high, a pixel less than a 14-unit row so that stacked lists do not
// overlap.
constexpr int kClosedListHeight = 22;

QRect PixelRect(const DialogRect& r) {
    const int left = DialogUnitsToPixelsX(r.x);
    const int top = DialogUnitsToPixelsY(r.y);
    return QRect(left, top, DialogUnitsToPixelsX(r.x + r.cx) - left,
                 DialogUnitsToPixelsY(r.y + r.cy) - top);
}

Qt::FocusPolicy FocusPolicyFor(unsigned flags) {
    // Controls without the Tab flag are still reached with the mouse.
    return (flags & kTabStop) ? Qt::StrongFocus : Qt::ClickFocus;
}

QString Caption(const ControlTemplate& c) {
    return QString::fromUtf8(c.caption);
}

QWidget* CreateEdit(const ControlTemplate& c, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    if (c.flags & kAlignRight)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    else if (c.flags & kAlignCenter)
        edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    edit->setReadOnly(c.flags & kReadOnly);
    if (c.flags & kDigitsOnly) {
        // Only typing is filtered; text put in by the program is not, and the exchange
        // judges whatever the edit holds.
        static const QRegularExpression digits(QStringLiteral("[0-9]*"));
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    }
    if (c.maxLength > 0) {
        KeepCharactersWhole(edit);
        edit->setMaxLength(c.maxLength);
    }
    edit->setText(Caption(c));
    edit->setFocusPolicy(FocusPolicyFor(c.flags));
    edit->setGeometry(PixelRect(c.rect));
    return edit;
}

QWidget* CreateList(const ControlTemplate& c, QWidget* parent) {
    auto* list = new ListControl(c.flags, parent);
    list->setFocusPolicy(FocusPolicyFor(c.flags));
    const QRect r = PixelRect(c.rect);
    list->setGeometry(r.x(), r.y(), r.width(), std::min(r.height(), kClosedListHeight));
    // Show as many entries as the template's dropped-down height holds (8 units each).
    list->setMaxVisibleItems(std::max(1, c.rect.cy / 8 - 1));
    return list;
}

QWidget* CreateButton(const ControlTemplate& c, QWidget* parent) {
    QPushButton* button = (c.flags & kPicture) ? new PictureButton(Caption(c), parent)
                                               : new QPushButton(Caption(c), parent);
    // Enter is the dialog's business (see Dialog::keyPressEvent); the default flag only
    // changes how the button is drawn.
    button->setAutoDefault(false);
    button->setDefault(c.flags & kDefaultButton);
    button->setFocusPolicy(FocusPolicyFor(c.flags));
    button->setGeometry(PixelRect(c.rect));
    return button;
}

QWidget* CreateLabel(const ControlTemplate& c, QWidget* parent) {
    auto* label = new QLabel(Caption(c), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A caption wider than its box in the template font grows to the right rather than
    // being cut off.
    QRect r = PixelRect(c.rect);
    const QSize hint = label->sizeHint();
    r.setWidth(std::max(r.width(), hint.width()));
    r.setHeight(std::max(r.height(), hint.height()));
    label->setGeometry(r);
    return label;
}

QWidget* CreateFrame(const ControlTemplate& c, QWidget* parent) {
    auto* frame = new QGroupBox(Caption(c), parent);
    frame->setFocusPolicy(Qt::NoFocus);
    // A frame is only drawn around other controls; clicks go through to them.
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->setGeometry(PixelRect(c.rect));
    return frame;
}

QWidget* CreateIcon(const ControlTemplate& c, QWidget* parent) {
    auto* label = new QLabel(parent);
    const QPixmap picture(Caption(c));
    label->setPixmap(picture);
    label->setFocusPolicy(Qt::NoFocus);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // An icon control takes the size of its picture.
    const QRect r = PixelRect(c.rect);
    const QSize size = picture.isNull() ? QSize(32, 32) : picture.deviceIndependentSize().toSize();
    label->setGeometry(QRect(r.topLeft(), size));
    return label;
}

} // namespace

ListControl::ListControl(unsigned flags, QWidget* parent)
    : QComboBox(parent), sorted_(flags & kSorted), uppercase_(flags & kUppercase),
      alignRight_(flags & kAlignRight) {
    setEditable(false);
}

void ListControl::AddEntry(const QString& text) {
    const QString entry = uppercase_ ? text.toUpper() : text;
    int at = count();
    if (sorted_) {
        at = 0;
        while (at < count() && QString::compare(itemText(at), entry, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    // Adding entries must not select one: a new list has no selection.
    const int selected = currentIndex();
    const QSignalBlocker quiet(this);
    insertItem(at, entry);
    if (alignRight_)
        setItemData(at, int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
    setCurrentIndex(selected < 0 ? -1 : (at <= selected ? selected + 1 : selected));
}

void ListControl::SetEntries(QStringList texts) {
    if (uppercase_) {
        for (QString& text : texts)
            text = text.toUpper();
    }
    if (sorted_) {
        std::stable_sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    }
    const QSignalBlocker quiet(this);
    clear();
    insertItems(0, texts);
    if (alignRight_) {
        for (int i = 0; i < count(); ++i)
            setItemData(i, int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
    }
    setCurrentIndex(-1);
}

int ListControl::FindPrefix(const QString& prefix) const {
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void ListControl::paintEvent(QPaintEvent* event) {
    if (!alignRight_) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.textAlignment = Qt::AlignRight | Qt::AlignVCenter;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void PictureButton::SetPicture(const QPixmap* picture) {
    if (picture && !picture->isNull()) {
        setIcon(QIcon(*picture));
        setIconSize(picture->deviceIndependentSize().toSize());
    } else {
        setIcon(QIcon());
    }
    update();
}

void PictureButton::paintEvent(QPaintEvent* event) {
    if (!HasPicture()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
}

QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Edit:
        widget = CreateEdit(control, parent);
        break;
    case ControlKind::DropList:
        widget = CreateList(control, parent);
        break;
    case ControlKind::Button:
        widget = CreateButton(control, parent);
        break;
    case ControlKind::Label:
        widget = CreateLabel(control, parent);
        break;
    case ControlKind::Frame:
        widget = CreateFrame(control, parent);
        break;
    case ControlKind::Icon:
        widget = CreateIcon(control, parent);
        break;
    }
    if (widget && control.id != 0)
        widget->setObjectName(QString::number(control.id));
    return widget;
}

} // namespace platform
