#include "FormFixture.h"

#include "form/SavedSettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QtTest>

SettingsSandbox::SettingsSandbox(const QString& applicationName) {
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlaria"));
    QCoreApplication::setApplicationName(applicationName);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

void SettingsSandbox::Clear() {
    QSettings s;
    s.clear();
    s.sync();
}

void SettingsSandbox::Put(const char* key, const std::string& value) {
    platform::SettingsStore store;
    store.WriteString(platform::kTalveroSection, key, value);
    store.Flush();
}

void SettingsSandbox::PutInt(const char* key, int value) {
    platform::SettingsStore store;
    store.WriteInt(platform::kTalveroSection, key, value);
    store.Flush();
}

std::string SettingsSandbox::Get(const char* key) const {
    return platform::SettingsStore().GetString(platform::kTalveroSection, key);
}

int SettingsSandbox::GetInt(const char* key, int fallback) const {
    return platform::SettingsStore().GetInt(platform::kTalveroSection, key, fallback);
}

bool SettingsSandbox::Has(const char* key) const {
    QSettings s;
    return s.contains(QString::fromLatin1(platform::kTalveroSection) + QLatin1Char('/') +
                      QString::fromLatin1(key));
}

QLineEdit* Edit(CTalveroDlg& dlg, int id) {
    return dlg.findChild<QLineEdit*>(QString::number(id));
}

QComboBox* List(CTalveroDlg& dlg, int id) {
    return dlg.findChild<QComboBox*>(QString::number(id));
}

QPushButton* Button(CTalveroDlg& dlg, int id) {
    return dlg.findChild<QPushButton*>(QString::number(id));
}

QString Text(CTalveroDlg& dlg, int id) {
    if (QLineEdit* edit = Edit(dlg, id))
        return edit->text();
    if (QComboBox* list = List(dlg, id))
        return list->currentText();
    return {};
}

bool Open(CTalveroDlg& dlg) {
    dlg.show();
    dlg.activateWindow();
    return QTest::qWaitForWindowActive(&dlg);
}

void TypeInto(CTalveroDlg& dlg, int id, const QString& text) {
    QLineEdit* edit = Edit(dlg, id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        TypeKeys(edit, text);
}

void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            // Letters such as "á" or "Ó": the key of the letter, carrying the letter as
            // its text, as a Spanish keyboard sends it.
            const auto key = Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
        }
    }
}

void Choose(CTalveroDlg& dlg, int id, const QString& entry) {
    QComboBox* list = List(dlg, id);
    list->setFocus(Qt::MouseFocusReason); // as a click on it leaves the focus there
    list->setCurrentIndex(list->findText(entry));
}
