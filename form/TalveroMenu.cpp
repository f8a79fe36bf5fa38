// The form's menu bar: every command of the buttons and a few more, with the desktop's
// usual shortcuts. The bar sits above the client area; the controls keep their places.
#include "form/TalveroDlg.h"
#include "resources/templates/Recursos.h"
#include "sepa/DatosAcreedor.h"
#include "verifactu/DatosVerifactu.h"
#include "verifactu/DeclaracionResponsable.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace res;

namespace {

QAction* AddCommand(QMenu* menu, const QString& text, const QKeySequence& keys) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace

void CTalveroDlg::BuildMenuBar() {
    QMenuBar* bar = MenuBar();
    // Mnemonics: Archivo A, Recibos R, Ayuda Y; the buttons keep Alt+I, Alt+B and Alt+C.
    QMenu* archivo = bar->addMenu(QStringLiteral("&Archivo"));
    connect(AddCommand(archivo, QStringLiteral("&Vista previa…"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)),
            &QAction::triggered, this, &CTalveroDlg::OnVistaPrevia);
    // The same command as the button, through the same notification.
    connect(AddCommand(archivo, QStringLiteral("&Imprimir…"), QKeySequence::Print),
            &QAction::triggered, this, [this] {
                if (auto* button = qobject_cast<QAbstractButton*>(Item(IDOK)))
                    button->click();
            });
    connect(AddCommand(archivo, QStringLiteral("Guardar como &PDF…"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, &CTalveroDlg::OnGuardarPdf);
    connect(AddCommand(archivo, QStringLiteral("Emitir &lista de recibos…"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)),
            &QAction::triggered, this, &CTalveroDlg::OnEmitirLista);
    archivo->addSeparator();
    // Leaving is "&Cancelar": the settings are written on the way out.
    connect(AddCommand(archivo, QStringLiteral("&Salir"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, [this] {
                if (auto* button = qobject_cast<QAbstractButton*>(Item(IDCANCEL)))
                    button->click();
            });

    QMenu* recibos = bar->addMenu(QStringLiteral("&Recibos"));
    connect(AddCommand(recibos, QStringLiteral("Recibos &emitidos…"),
                       QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, &CTalveroDlg::OnRecibosEmitidos);
    connect(recibos->addAction(QStringLiteral("Devoluciones del &banco…")), &QAction::triggered,
            this, &CTalveroDlg::OnDevolucionesDelBanco);
    connect(recibos->addAction(QStringLiteral("Registro &compartido…")), &QAction::triggered, this,
            &CTalveroDlg::OnRegistroCompartido);
    connect(recibos->addAction(QStringLiteral("&Tipos impositivos…")), &QAction::triggered, this,
            &CTalveroDlg::OnTiposImpositivos);
    connect(recibos->addAction(QStringLiteral("&Datos del acreedor…")), &QAction::triggered, this,
            [this] { sepa::MostrarDatosAcreedor(this); });
    // Switching the mode on may bring today's rates: the form's lists follow at once.
    connect(recibos->addAction(QStringLiteral("&VERI*FACTU…")), &QAction::triggered, this, [this] {
        verifactu::MostrarDatosVerifactu(this, [this](const tipos::Listas& listas) {
            PonerListasDeTipos(listas);
            Recalculate();
        });
    });

    QMenu* ayuda = bar->addMenu(QStringLiteral("A&yuda"));
    connect(AddCommand(ayuda, QStringLiteral("&Acerca de Talvero…"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &CTalveroDlg::OnAcerca);
    connect(ayuda->addAction(QStringLiteral("&Declaración responsable…")), &QAction::triggered,
            this, [this] { verifactu::MostrarDeclaracionResponsable(this); });
}
