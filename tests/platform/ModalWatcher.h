// Closes the modal windows that a test's actions open, as a user would, and remembers
// what they were: a message box is read and confirmed with its OK button, any other
// modal dialog (the printer choice, the about box) is cancelled.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

class ModalWatcher : public QObject {
    Q_OBJECT

public:
    struct Seen {
        QString className; // "QMessageBox", "platform::PrintDialog", ...
        QString title;
        QString text; // a message box's text
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    ModalWatcher();

    const QVector<Seen>& seen() const { return seen_; }
    // The texts of the message boxes seen, in order.
    QStringList messages() const;
    // The class names of every modal window seen, in order.
    QStringList kinds() const;
    void clear() { seen_.clear(); }

private:
    void Poll();

    QTimer timer_;
    QVector<Seen> seen_;
};
