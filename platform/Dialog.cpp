#include "platform/Dialog.h"

#include "platform/DataExchange.h"
#include "platform/DialogControls.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

namespace {

// The template's face when a family of that name is installed, else the first installed of
// two that come with Debian and have the metrics the dialog units were laid out for. Asking
// the installed list rather than whether fontconfig would stand some other font in for the
// face saves a twentieth of the program's start. The font gets that one family: a second
// one makes Qt ask fontconfig for the whole fallback list the first time the font is used,
// another thirtieth, where one family alone asks only when a character is missing from it.
// With none of them installed, fontconfig chooses what stands in for them.
QFont TemplateFont(const DialogTemplate& t) {
    const QStringList installed = QFontDatabase::families();
    QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    const QString face = QString::fromUtf8(t.fontFace);
    for (const QString& family : QStringList{face} + families) {
        if (!family.isEmpty() && installed.contains(family, Qt::CaseInsensitive)) {
            families = {family};
            break;
        }
    }
    QFont font;
    font.setFamilies(families);
    font.setPointSize(t.pointSize > 0 ? t.pointSize : 8);
    return font;
}

} // namespace

Dialog::Dialog(const DialogTemplate& t, QWidget* parent)
    : QDialog(parent), templateId_(t.id), client_(new QWidget(this)) {
    setWindowTitle(QString::fromUtf8(t.title));
    setFont(TemplateFont(t));
    client_->setObjectName(QStringLiteral("areaCliente"));
    client_->setGeometry(0, 0, DialogUnitsToPixelsX(t.cx), DialogUnitsToPixelsY(t.cy));
    setFixedSize(client_->size());

    std::vector<QWidget*> frames;
    for (const ControlTemplate& c : t.controls) {
        QWidget* w = CreateControl(c, client_);
        if (c.id != 0)
            items_.emplace(c.id, w);
        if (c.kind == ControlKind::Frame)
            frames.push_back(w);
        if (w->focusPolicy() != Qt::NoFocus)
            tabOrder_.push_back(w);
    }
    // Frames are drawn beneath the controls they surround.
    for (QWidget* frame : frames)
        frame->lower();
    for (std::size_t i = 1; i < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);

    for (const ListContents& list : t.lists) {
        if (auto* control = qobject_cast<ListControl*>(Item(list.id))) {
            for (std::string_view entry : list.entries)
                control->AddEntry(QString::fromUtf8(entry));
        }
    }
}

Dialog::~Dialog() {
    // Children outlive this part of the object; let none of them call back into it.
    for (const auto& [id, widget] : items_) {
        widget->removeEventFilter(this);
        disconnect(widget, nullptr, this, nullptr);
    }
}

QWidget* Dialog::Item(int id) const {
    const auto it = items_.find(id);
    return it == items_.end() ? nullptr : it->second;
}

std::string Dialog::ItemText(int id) const {
    QWidget* w = Item(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text().toStdString();
    if (qobject_cast<QComboBox*>(w))
        return ListSelectedText(id);
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().toStdString();
    if (auto* frame = qobject_cast<QGroupBox*>(w))
        return frame->title().toStdString();
    return {};
}

void Dialog::SetItemText(int id, std::string_view text) {
    QWidget* w = Item(id);
    const QString value = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(value);
    else if (auto* frame = qobject_cast<QGroupBox*>(w))
        frame->setTitle(value);
}

int Dialog::FocusedItemId() const {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused->window() != this)
        focused = focusWidget();
    // The focus can sit on a part of a control (a list's popup, for instance); the control
    // is the ancestor that is a direct child of the dialog.
    while (focused && focused->parentWidget() != client_)
        focused = focused->parentWidget();
    if (!focused)
        return 0;
    for (const auto& [id, widget] : items_) {
        if (widget == focused)
            return id;
    }
    return 0;
}

bool Dialog::SelectListPrefix(int id, std::string_view prefix) {
    auto* list = qobject_cast<ListControl*>(Item(id));
    if (!list || prefix.empty())
        return false;
    const int found = list->FindPrefix(QString::fromUtf8(prefix.data(), qsizetype(prefix.size())));
    if (found < 0)
        return false;
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(found);
    return true;
}

std::string Dialog::ListSelectedText(int id) const {
    auto* list = qobject_cast<QComboBox*>(Item(id));
    if (!list || list->currentIndex() < 0)
        return {};
    return list->itemText(list->currentIndex()).toStdString();
}

void Dialog::SetListEntries(int id, std::span<const std::string> entries) {
    auto* list = qobject_cast<ListControl*>(Item(id));
    if (!list)
        return;
    QStringList texts;
    texts.reserve(qsizetype(entries.size()));
    for (const std::string& entry : entries)
        texts << QString::fromStdString(entry);
    list->SetEntries(std::move(texts));
}

void Dialog::AddListEntry(int id, std::string_view entry) {
    if (auto* list = qobject_cast<ListControl*>(Item(id)))
        list->AddEntry(QString::fromUtf8(entry.data(), qsizetype(entry.size())));
}

bool Dialog::SelectListEntry(int id, std::string_view entry) {
    auto* list = qobject_cast<ListControl*>(Item(id));
    if (!list)
        return false;
    const int found = list->findText(QString::fromUtf8(entry.data(), qsizetype(entry.size())),
                                     Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (found < 0)
        return false;
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(found);
    return true;
}

void Dialog::ShowItem(int id, bool visible) {
    if (QWidget* w = Item(id))
        w->setVisible(visible);
}

void Dialog::MoveItem(int id, int x, int y, int width, int height) {
    if (QWidget* w = Item(id)) {
        w->setGeometry(x, y, width, height);
        w->show();
        w->raise();
    }
}

void Dialog::FocusItem(int id, bool selectText) {
    QWidget* w = Item(id);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && selectText)
        edit->selectAll();
}

void Dialog::SetButtonPicture(int id, const QPixmap* picture) {
    if (auto* button = qobject_cast<PictureButton*>(Item(id)))
        button->SetPicture(picture);
}

void Dialog::MessageBoxExclamation(std::string_view text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Talvero"),
                    QString::fromUtf8(text.data(), qsizetype(text.size())), QMessageBox::Ok, this);
    box.exec();
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const ExchangeStopped&) {
        return false;
    }
    return true;
}

bool Dialog::RunSystemCommand(unsigned command) {
    for (const auto& [id, handler] : systemCommands_) {
        if ((command & 0xFFF0u) == id) {
            handler();
            return true;
        }
    }
    return false;
}

void Dialog::setVisible(bool visible) {
    if (visible && !initialised_) {
        initialised_ = true;
        if (OnInitDialog() && !tabOrder_.empty()) {
            for (QWidget* w : tabOrder_) {
                if (w->focusPolicy() & Qt::TabFocus) {
                    w->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
        }
    }
    QDialog::setVisible(visible);
}

void Dialog::accept() {
    OnOK();
}

void Dialog::reject() {
    OnCancel();
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
    QDialog::accept();
}

void Dialog::OnCancel() {
    QDialog::reject();
}

QMenuBar* Dialog::MenuBar() {
    if (menuBar_ == nullptr) {
        // The bar takes its own line above the client area; the window grows by its height
        // and every control keeps its place in the client area.
        menuBar_ = new QMenuBar(this);
        menuBar_->setFont(QApplication::font(menuBar_));
        menuBar_->setNativeMenuBar(false);
        PlaceMenuBar();
    }
    return menuBar_;
}

void Dialog::PlaceMenuBar() {
    if (menuBar_ == nullptr)
        return;
    const int height = menuBar_->heightForWidth(client_->width()) > 0
                           ? menuBar_->heightForWidth(client_->width())
                           : menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, client_->width(), height);
    client_->move(0, height);
    setFixedSize(client_->width(), height + client_->height());
}

bool Dialog::event(QEvent* event) {
    // Menus added after the bar was placed, or a new font, can change its height.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange)
        PlaceMenuBar();
    return QDialog::event(event);
}

QAction* Dialog::AppendSystemMenuItem(unsigned command, std::string_view text) {
    const QString caption = QString::fromUtf8(text.data(), qsizetype(text.size()));
#ifdef Q_OS_WIN
    if (HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu, MF_STRING, command, reinterpret_cast<LPCWSTR>(caption.utf16()));
    }
    return nullptr;
#else
    auto* action = new QAction(caption, this);
    action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, command] { RunSystemCommand(command); });
    addAction(action);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
#endif
}

#ifdef Q_OS_WIN
bool Dialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && RunSystemCommand(unsigned(msg->wParam))) {
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

void Dialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // Enter presses the focused button; typed into an edit or a list it does
            // nothing, so that it neither prints nor ends the dialog by surprise.
            if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
                button && button->window() == this && button->isEnabled())
                button->click();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event); // Escape: reject()
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto it = focusLost_.find(watched);
        if (it != focusLost_.end()) {
            // Copied: a handler may not change the table, but be safe against it.
            const std::vector<std::function<void()>> handlers = it->second;
            for (const auto& handler : handlers)
                handler();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Dialog::Connect(Notify code, int id, std::function<void()> handler) {
    if (code == Notify::SystemCommand) {
        systemCommands_.emplace_back(unsigned(id), std::move(handler));
        return;
    }
    QWidget* w = Item(id);
    if (!w)
        return;
    switch (code) {
    case Notify::Clicked:
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            connect(button, &QAbstractButton::clicked, this, [handler] { handler(); });
        break;
    case Notify::TextChanged:
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            connect(edit, &QLineEdit::textChanged, this, [handler] { handler(); });
        break;
    case Notify::SelectionChanged:
        if (auto* list = qobject_cast<QComboBox*>(w))
            connect(list, &QComboBox::currentIndexChanged, this, [handler] { handler(); });
        break;
    case Notify::FocusLost:
        if (focusLost_.find(w) == focusLost_.end())
            w->installEventFilter(this);
        focusLost_[w].push_back(std::move(handler));
        break;
    case Notify::SystemCommand:
        break;
    }
}

} // namespace platform
