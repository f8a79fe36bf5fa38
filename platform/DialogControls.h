// The widgets that stand for the template's control kinds, and the factory that makes one
// from its template row. Only the dialog layer uses these directly.
#pragma once

#include "platform/DialogTemplate.h"

#include <QComboBox>
#include <QPixmap>
#include <QPushButton>

class QWidget;

namespace platform {

// A drop-down list without typing. Entries can be kept sorted by text (ignoring case) and
// shown in capitals; the closed list can show its text right-aligned.
class ListControl : public QComboBox {
    Q_OBJECT

public:
    ListControl(unsigned flags, QWidget* parent);

    // Adds an entry where the list's flags put it.
    void AddEntry(const QString& text);
    // Replaces every entry at once, in the order AddEntry one by one would give, without
    // selecting any; for long lists, where adding one at a time would be slow.
    void SetEntries(QStringList texts);
    // The first entry, in the order shown, whose text begins with prefix (ignoring case);
    // -1 when none does.
    int FindPrefix(const QString& prefix) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool sorted_;
    bool uppercase_;
    bool alignRight_;
};

// A push button that shows only its picture, centred, while it has one, and its caption
// otherwise. The caption is kept (text() does not change) for when the picture goes.
class PictureButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    // A null or empty picture brings the caption back.
    void SetPicture(const QPixmap* picture);
    bool HasPicture() const { return !icon().isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Makes the widget for one template row, as a child of parent, placed in pixels.
QWidget* CreateControl(const ControlTemplate& control, QWidget* parent);

} // namespace platform
