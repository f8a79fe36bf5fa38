#include "form/KeypadComma.h"

#include <QKeyEvent>
#include <QLineEdit>

void KeypadComma::Watch(QLineEdit* edit) {
    if (edit)
        edit->installEventFilter(this);
}

bool KeypadComma::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool decimalKey = key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma;
    // Ctrl or Alt with the key is a shortcut, not typing.
    const Qt::KeyboardModifiers others =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || !decimalKey || !(key->modifiers() & Qt::KeypadModifier) || others)
        return QObject::eventFilter(watched, event);
    if (!edit->isReadOnly())
        edit->insert(QStringLiteral(","));
    return true;
}
