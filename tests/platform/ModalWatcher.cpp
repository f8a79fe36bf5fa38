#include "ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

ModalWatcher::ModalWatcher() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::Poll);
    timer_.start();
}

QStringList ModalWatcher::messages() const {
    QStringList texts;
    for (const Seen& s : seen_) {
        if (s.className == QLatin1String("QMessageBox"))
            texts << s.text;
    }
    return texts;
}

void ModalWatcher::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    Seen s;
    s.className = QString::fromLatin1(modal->metaObject()->className());
    s.title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        s.text = box->text();
        s.icon = box->icon();
        seen_.push_back(s);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        seen_.push_back(s);
        dialog->reject();
    }
}

QStringList ModalWatcher::kinds() const {
    QStringList kinds;
    for (const Seen& s : seen_)
        kinds << s.className;
    return kinds;
}
