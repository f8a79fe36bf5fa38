// Plays the user at the "Guardar como PDF" file dialog: notes the folder it opens in and the
// name it proposes, then cancels or types a name and saves, answering "yes" when asked to
// replace a file. Any other message box is noted and confirmed; any other dialog cancelled.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <utility>

class SaveDialogDriver : public QObject {
public:
    // `answer`: the absolute path to save as; empty cancels the dialog.
    explicit SaveDialogDriver(QString answer) : answer_(std::move(answer)) {
        connect(&timer_, &QTimer::timeout, this, &SaveDialogDriver::Poll);
        timer_.start(10);
    }

    int dialogsSeen = 0;
    QString folder;
    QString proposedName;
    int replaceQuestions = 0;
    QStringList messages;

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const bool replace = box->button(QMessageBox::Yes) != nullptr;
            replaceQuestions += replace ? 1 : 0;
            if (!replace) {
                messages << box->text();
            }
            box->button(replace ? QMessageBox::Yes : QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            ++dialogsSeen;
            folder = dialog->directory().absolutePath();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            proposedName = name->text();
            if (answer_.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->setDirectory(QFileInfo(answer_).absolutePath());
            name->setText(QFileInfo(answer_).fileName());
            // The question about replacing a file comes from inside accept(), while this
            // timer's handler runs: the timer that answers it is a second one.
            QTimer nested;
            connect(&nested, &QTimer::timeout, this, &SaveDialogDriver::Poll);
            nested.start(10);
            static_cast<QDialog*>(dialog)->accept(); // the file dialog's own, virtually
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            messages << QString::fromLatin1(other->metaObject()->className());
            other->reject();
        }
    }

    QString answer_;
    QTimer timer_;
};
