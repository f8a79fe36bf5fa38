// Plays the user at "Imprimir recibo": while a print runs, waits for the modal dialog and
// for its list of destinations, notes what it offers, optionally picks a destination,
// waits until that printer's settings are read, edits them through "Propiedades...", then
// presses "Aceptar" (or "Cancelar"). Any other modal window that shows up (a message box,
// say) is noted with its text and closed.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <utility>

class ChoiceDriver : public QObject {
public:
    enum class Press { Accept, Cancel };

    explicit ChoiceDriver(Press press, QString pick = {}) : press_(press), pick_(std::move(pick)) {
        connect(&timer_, &QTimer::timeout, this, &ChoiceDriver::Poll);
        connect(&settingsTimer_, &QTimer::timeout, this, &ChoiceDriver::PollSettings);
        timer_.start(20);
    }

    // Opens the printer's settings from the choice, lets `edit` work on that dialog, and
    // confirms it.
    void EditSettings(std::function<void(QDialog&)> edit) { editSettings_ = std::move(edit); }
    // Runs `act` just before "Aceptar" is pressed.
    void BeforeAccept(std::function<void()> act) { beforeAccept_ = std::move(act); }

    // What the choice showed when it opened.
    int choicesSeen = 0;
    QString startPrinter;
    QStringList printers;
    bool acceptEnabled = false;
    int spinBoxes = -1, checkBoxes = -1, lineEdits = -1, radioButtons = -1;
    int settingsSeen = 0;
    // Modal windows that were not the printer choice, and the texts of message boxes.
    QStringList otherModals;
    QStringList messages;

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || (handled_ != nullptr && dialog == handled_.data())) {
            return;
        }
        if (dialog == picked_.data()) {
            Finish(dialog);
            return;
        }
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("destino"));
        if (choicesSeen > 0 || combo == nullptr) {
            otherModals << dialog->metaObject()->className();
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                messages << box->text();
            }
            dialog->reject();
            return;
        }
        if (dialog->property("buscando").toBool()) {
            return; // the printers are still being listed
        }
        ++choicesSeen;
        picked_ = dialog;
        startPrinter = combo->currentText();
        for (int i = 0; i < combo->count(); ++i) {
            printers << combo->itemText(i);
        }
        spinBoxes = CountOf(dialog, "QSpinBox");
        checkBoxes = CountOf(dialog, "QCheckBox");
        lineEdits = CountOf(dialog, "QLineEdit");
        radioButtons = CountOf(dialog, "QRadioButton");
        if (!pick_.isEmpty()) {
            combo->setCurrentText(pick_);
        }
        pickedAt_.start();
    }

    // Once the picked printer's settings have been read (or the wait is over), edit them if
    // asked to, and press the button.
    void Finish(QDialog* dialog) {
        QPushButton* accept = nullptr;
        QPushButton* settings = nullptr;
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == QStringLiteral("Aceptar")) {
                accept = b;
            } else if (b->text() == QStringLiteral("Propiedades...")) {
                settings = b;
            }
        }
        const bool ready = accept != nullptr && accept->isEnabled();
        if (!ready && pickedAt_.elapsed() < 8000) {
            return;
        }
        handled_ = dialog;
        if (editSettings_ && settings != nullptr) {
            // A timer does not fire again while its own handler runs: a second one drives
            // the settings dialog that the click runs.
            settingsTimer_.start(20);
            settings->click();
            settingsTimer_.stop();
        }
        acceptEnabled = ready;
        if (press_ == Press::Accept && accept != nullptr) {
            if (beforeAccept_) {
                beforeAccept_();
            }
            accept->click(); // does nothing when the button is disabled
        }
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }

    void PollSettings() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->inherits("QPageSetupDialog") || settingsSeen > 0) {
            return;
        }
        ++settingsSeen;
        editSettings_(*dialog);
        dialog->accept();
    }

    static int CountOf(QWidget* parent, const char* className) {
        int n = 0;
        for (QWidget* w : parent->findChildren<QWidget*>()) {
            n += w->inherits(className) ? 1 : 0;
        }
        return n;
    }

    QTimer timer_;
    QTimer settingsTimer_;
    Press press_;
    QString pick_;
    QPointer<QDialog> handled_;
    QPointer<QDialog> picked_;
    QElapsedTimer pickedAt_;
    std::function<void(QDialog&)> editSettings_;
    std::function<void()> beforeAccept_;
};
