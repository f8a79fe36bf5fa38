// The floor the program's start-up is measured against: a bare QDialog with as many
// widgets of the same kinds as the receipt form (34 edits, 6 drop-down lists, 5 buttons,
// 9 labels, 10 frames: 64), the same menu bar (three menus, six commands with their
// shortcuts), and the same way out: closed this many milliseconds after it is shown
// (TALVERO_TEST_AUTOCLOSE_MS), as the program is for the same measurement.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void AddCommand(QMenu* menu, const QString& text, const QKeySequence& keys) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
}

void AddMenuBar(QDialog& dialog) {
    auto* bar = new QMenuBar(&dialog);
    QMenu* archivo = bar->addMenu(QStringLiteral("&Archivo"));
    AddCommand(archivo, QStringLiteral("&Vista previa…"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    AddCommand(archivo, QStringLiteral("&Imprimir…"), QKeySequence::Print);
    AddCommand(archivo, QStringLiteral("Guardar como &PDF…"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    archivo->addSeparator();
    AddCommand(archivo, QStringLiteral("&Salir"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    AddCommand(bar->addMenu(QStringLiteral("&Recibos")), QStringLiteral("Recibos &emitidos…"),
               QKeySequence(Qt::CTRL | Qt::Key_R));
    AddCommand(bar->addMenu(QStringLiteral("A&yuda")), QStringLiteral("&Acerca de Talvero…"),
               QKeySequence(Qt::Key_F1));
    dialog.layout()->setMenuBar(bar);
}

void AddWidgets(QWidget* area) {
    int n = 0;
    const auto place = [&n](QWidget* w) {
        w->setGeometry(5 + (n % 4) * 160, 5 + (n / 4) * 24, 150, 22);
        ++n;
    };
    for (int i = 0; i < 10; ++i)
        place(new QGroupBox(QStringLiteral("Marco"), area));
    for (int i = 0; i < 34; ++i)
        place(new QLineEdit(area));
    for (int i = 0; i < 6; ++i) {
        auto* list = new QComboBox(area);
        list->addItems(
            {QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("10"), QStringLiteral("21")});
        place(list);
    }
    for (int i = 0; i < 5; ++i)
        place(new QPushButton(QStringLiteral("&Botón"), area));
    for (int i = 0; i < 9; ++i)
        place(new QLabel(QStringLiteral("Etiqueta"), area));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Recibo"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = new QWidget(&dialog);
    area->setFixedSize(640, 400);
    layout->addWidget(area);
    AddWidgets(area);
    AddMenuBar(dialog);
    if (const int ms = qEnvironmentVariableIntValue("TALVERO_TEST_AUTOCLOSE_MS"); ms > 0)
        QTimer::singleShot(ms, &dialog, &QDialog::reject);
    dialog.exec();
    return 0;
}
