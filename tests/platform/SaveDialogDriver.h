// Plays the user at the "Guardar como PDF" file dialog: notes what it proposes (title,
// folder, file name, filter), then either cancels it or enters a file name and saves.
// Asked whether to replace an existing file, answers as told. Any other message box (a
// failure, say) is noted and confirmed.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <utility>

class SaveDialogDriver : public QObject {
public:
    // `answer` is the file name to enter, absolute or relative to the proposed folder; an
    // empty one cancels the dialog. `replace` is the answer to "replace the existing file?".
    explicit SaveDialogDriver(QString answer, bool replace = true)
        : answer_(std::move(answer)), replace_(replace) {
        connect(&timer_, &QTimer::timeout, this, &SaveDialogDriver::Poll);
        connect(&nestedTimer_, &QTimer::timeout, this, &SaveDialogDriver::PollNested);
        timer_.start(10);
    }

    int dialogsSeen = 0;
    QString title;
    QString folder;
    QString proposedName;
    QStringList filters;
    QStringList replaceQuestions; // texts of the "replace?" questions asked
    QStringList messages;         // texts of the other message boxes

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Answer(*box);
            return;
        }
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            if (auto* other = qobject_cast<QDialog*>(modal)) {
                messages << QStringLiteral("unexpected %1").arg(other->metaObject()->className());
                other->reject();
            }
            return;
        }
        ++dialogsSeen;
        title = dialog->windowTitle();
        folder = dialog->directory().absolutePath();
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            proposedName = name->text();
        }
        filters = dialog->nameFilters();
        if (answer_.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name box, as a user would; a name elsewhere moves the dialog there.
        const QFileInfo answer(answer_);
        if (answer.isAbsolute()) {
            dialog->setDirectory(answer.absolutePath());
        }
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            name->setText(answer.fileName());
        }
        // A timer does not fire again while its own handler runs: a second one answers the
        // question that saving over an existing file asks from inside accept().
        nestedTimer_.start(10);
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept, virtually
        nestedTimer_.stop();
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }

    void PollNested() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Answer(*box);
        }
    }

    void Answer(QMessageBox& box) {
        if (box.button(QMessageBox::Yes) != nullptr) {
            replaceQuestions << box.text();
            box.button(replace_ ? QMessageBox::Yes : QMessageBox::No)->click();
            return;
        }
        messages << box.text();
        if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box.reject();
        }
    }

    QString answer_;
    bool replace_;
    QTimer timer_;
    QTimer nestedTimer_;
};
