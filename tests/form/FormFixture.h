// What the form's tests share: a throw-away settings store, the form opened and active,
// its controls found by id, and typing into them as a user would.
#pragma once

#include "form/TalveroDlg.h"
#include "platform/SettingsStore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>

#include <string>

// Points the per-user settings of this test program at a temporary folder, under the
// organisation "Quenlaria" and a test-only application name.
class SettingsSandbox {
public:
    explicit SettingsSandbox(const QString& applicationName);
    // Empties the store.
    void Clear();
    // Writes a string key of the form's section.
    void Put(const char* key, const std::string& value);
    void PutInt(const char* key, int value);
    std::string Get(const char* key) const;
    int GetInt(const char* key, int fallback) const;
    // Whether a key exists at all.
    bool Has(const char* key) const;

private:
    QTemporaryDir dir_;
};

QLineEdit* Edit(CTalveroDlg& dlg, int id);
QComboBox* List(CTalveroDlg& dlg, int id);
QPushButton* Button(CTalveroDlg& dlg, int id);
QString Text(CTalveroDlg& dlg, int id); // an edit's text or a list's selected entry

// Shows the form (which runs its opening) and waits until its window is active.
bool Open(CTalveroDlg& dlg);

// Clicks into an edit, selects all its text and types over it; an empty text deletes it.
void TypeInto(CTalveroDlg& dlg, int id, const QString& text);
// Types text key by key into the widget that has the focus; letters beyond ASCII too.
void TypeKeys(QWidget* widget, const QString& text);
// Chooses a list entry by its text, as a click in the dropped-down list would.
void Choose(CTalveroDlg& dlg, int id, const QString& entry);
