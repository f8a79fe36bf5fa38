// The dialog layer: a QDialog built from a template (DialogTemplate.h), whose controls are
// addressed by their template id, with a notification table (Notification.h) and one data
// exchange operation (DataExchange.h) per dialog.
//
// Life of a dialog: the constructor creates every control of the template in template
// order, fills the lists and gives each control with an id its id as objectName ("1007").
// The first time the dialog is shown (show() or exec()), OnInitDialog runs; the default
// runs a first load exchange, and when it returns true the keyboard focus goes to the
// first Tab stop. accept() and reject() run OnOK and OnCancel, so a dialog decides itself
// whether its OK and Cancel paths end it. Escape and the close box come through reject();
// Enter clicks the focused push button and otherwise does nothing, so an Enter typed into
// an edit never ends a dialog.
#pragma once

#include "platform/DialogTemplate.h"
#include "platform/Notification.h"

#include <QDialog>

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QAction;
class QMenuBar;
class QPixmap;

namespace platform {

class DataExchange;

class Dialog : public QDialog {
    Q_OBJECT

public:
    explicit Dialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~Dialog() override;

    int TemplateId() const { return templateId_; }

    // The widget that holds the template's controls. Their geometry is in pixels of this
    // client area, which sits below the menu bar when the dialog has one.
    QWidget* ClientArea() const { return client_; }
    // The dialog's menu bar, made on first use above the client area.
    QMenuBar* MenuBar();

    // --- Controls by id -----------------------------------------------------------------
    // Every operation below ignores an id that names no control (reads give "").

    QWidget* Item(int id) const;
    // An edit's or a button's text; for a list, the text of its selected entry.
    std::string ItemText(int id) const;
    // Sets an edit's text (its TextChanged notification runs before this returns, when
    // the text changes), a button's or a label's caption, or a frame's title.
    void SetItemText(int id, std::string_view text);
    // The id of the control that has the keyboard focus, or 0 when the focus is on no
    // control of this dialog. While this dialog's window is not the active one, its own
    // focus widget (the one that gets the focus back when it is activated) counts.
    int FocusedItemId() const;
    // Selects the first entry (in the order shown) whose text begins with the prefix,
    // ignoring case; an empty prefix, or one that no entry begins with, leaves the
    // selection as it was. Sends no SelectionChanged. Returns whether an entry matched.
    bool SelectListPrefix(int id, std::string_view prefix);
    // The selected entry's text, "" when nothing is selected.
    std::string ListSelectedText(int id) const;
    // Replaces a list's entries (placed as its flags place them); nothing is left selected
    // and no SelectionChanged is sent.
    void SetListEntries(int id, std::span<const std::string> entries);
    // Adds one entry where the list's flags put it; the selection stays on its entry.
    void AddListEntry(int id, std::string_view entry);
    // Selects the entry whose text is exactly `entry`; sends no SelectionChanged. Returns
    // whether there was one.
    bool SelectListEntry(int id, std::string_view entry);
    void ShowItem(int id, bool visible);
    // Places a control in pixels of the client area, shows it and puts it on top of the
    // other controls. The Tab order does not change.
    void MoveItem(int id, int x, int y, int width, int height);
    // Gives the control the keyboard focus; for an edit, selectText selects all its text.
    void FocusItem(int id, bool selectText);
    // Shows a picture on a picture button (centred, caption hidden), or its caption again
    // when the picture is null or empty.
    void SetButtonPicture(int id, const QPixmap* picture);
    // A modal message with an exclamation icon, the title "Talvero" and one OK button.
    void MessageBoxExclamation(std::string_view text);

    // --- Data exchange ------------------------------------------------------------------
    // Runs DoDataExchange in the save direction (controls into members, with validation)
    // or the load direction. Returns false when a rule failed; its message has been shown,
    // the focus moved to the control, and the exchange stopped at that step.
    bool UpdateData(bool saveAndValidate = true);

    // Runs a command of the system menu as the window manager would: a command routed by
    // a SystemCommand row (compared with its low four bits cleared) runs its handler.
    // Returns whether a row took it.
    bool RunSystemCommand(unsigned command);

    void setVisible(bool visible) override;
    void accept() final;
    void reject() final;

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();     // ends the dialog with Accepted
    virtual void OnCancel(); // ends the dialog with Rejected

    // Wires a dialog's notification table. Rows whose control does not exist are skipped.
    template <class D, std::size_t N> void Route(const NotifyRow<D> (&rows)[N]) {
        D* self = static_cast<D*>(this);
        for (const NotifyRow<D>& row : rows) {
            auto handler = row.handler;
            Connect(row.code, row.id, [self, handler] { (self->*handler)(); });
        }
    }

    // Adds a command to the window's system menu. Where the window manager offers no way
    // to add to it, the command goes on the dialog's context menu and on the F1 key; that
    // action is returned (none where the system menu took the command).
    QAction* AppendSystemMenuItem(unsigned command, std::string_view text);

    bool event(QEvent* event) override;

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void Connect(Notify code, int id, std::function<void()> handler);
    void PlaceMenuBar();

    int templateId_ = 0;
    QWidget* client_ = nullptr;   // child of the dialog
    QMenuBar* menuBar_ = nullptr; // child of the dialog, when there is one
    bool initialised_ = false;
    std::vector<QWidget*> tabOrder_; // template order; owned by the dialog as children
    std::unordered_map<int, QWidget*> items_;
    std::unordered_map<const QObject*, std::vector<std::function<void()>>> focusLost_;
    std::vector<std::pair<unsigned, std::function<void()>>> systemCommands_;
};

} // namespace platform
