#include "register/DialogoDevoluciones.h"

#include "platform/SettingsStore.h"
#include "register/ImportarDevoluciones.h"
#include "register/Registro.h"
#include "sepa/AjustesAcreedor.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace registro {

QDialog* MostrarImportacion(const QString& rutaRegistro, const QString& archivo, QWidget* parent,
                            bool* cambios) {
    const platform::SettingsStore ajustes;
    const QString acreedor =
        QString::fromStdString(sepa::Normalizado(sepa::LeerAcreedor(ajustes)).identificador);
    Registro registro(rutaRegistro);
    const Importacion imp = ImportarDevoluciones(registro, archivo, acreedor);

    auto* ventana = new QDialog(parent);
    ventana->setObjectName(QStringLiteral("resultadoDevoluciones"));
    ventana->setWindowTitle(QStringLiteral("Devoluciones del banco"));
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    auto* capas = new QVBoxLayout(ventana);
    auto* resumen = new QLabel(ventana);
    resumen->setObjectName(QStringLiteral("resumen"));
    resumen->setWordWrap(true);
    resumen->setTextFormat(Qt::PlainText);
    capas->addWidget(resumen);
    const QString nombre = QDir::toNativeSeparators(archivo);
    if (!imp.error.isEmpty()) {
        resumen->setText(imp.error);
    } else {
        resumen->setText(QStringLiteral("%1: %2.").arg(nombre, ResumenImportacion(imp)));
        QStringList noAplicadas;
        for (const EntradaImportada& e : imp.entradas)
            if (e.resultado == EntradaImportada::Resultado::NoAplicada)
                noAplicadas << DescribirNoAplicada(e);
        if (!noAplicadas.isEmpty()) {
            capas->addWidget(new QLabel(QStringLiteral("No aplicadas:"), ventana));
            auto* lista = new QPlainTextEdit(noAplicadas.join(QLatin1Char('\n')), ventana);
            lista->setObjectName(QStringLiteral("noAplicadas"));
            lista->setReadOnly(true);
            capas->addWidget(lista);
        }
    }
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, ventana);
    QObject::connect(botones, &QDialogButtonBox::rejected, ventana, &QDialog::reject);
    capas->addWidget(botones);
    if (cambios != nullptr)
        *cambios = imp.Cuantas(EntradaImportada::Resultado::Aplicada) > 0;
    ventana->show();
    return ventana;
}

bool ImportarDevolucionesDelBanco(const QString& rutaRegistro, QWidget* parent) {
    const QString archivo = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Devoluciones del banco"), QString(),
        QStringLiteral("Informes del banco (*.xml *.XML);;Todos los archivos (*)"));
    if (archivo.isEmpty())
        return false;
    bool cambios = false;
    MostrarImportacion(rutaRegistro, archivo, parent, &cambios);
    return cambios;
}

} // namespace registro
