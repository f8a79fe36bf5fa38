#include "verifactu/DeclaracionResponsable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verifactu {

namespace {

QString ODeFalta(const std::string& dato) {
    return dato.empty() ? QString::fromUtf8(kSinIndicar) : QString::fromStdString(dato);
}

} // namespace

QString TextoDeclaracionResponsable(const Productor& p) {
    const QStringList lineas{
        QStringLiteral("DECLARACIÓN RESPONSABLE DEL SISTEMA INFORMÁTICO DE FACTURACIÓN"),
        QString(),
        QStringLiteral("Nombre del sistema informático: %1").arg(ODeFalta(p.nombreSistema)),
        QStringLiteral("Código identificador del sistema: %1").arg(ODeFalta(p.idSistema)),
        QStringLiteral("Versión: %1").arg(ODeFalta(p.version)),
        QStringLiteral(
            "Componentes y funcionalidades: programa de escritorio (el programa talvero, su "
            "biblioteca común y su módulo de salida) que rellena, imprime y guarda en PDF "
            "recibos, los emite en listas y lleva el registro de los recibos emitidos. Con "
            "VERI*FACTU activado, genera por cada factura un registro de facturación de alta, "
            "y de anulación cuando se anula, encadenados mediante su huella (SHA-256); "
            "imprime en la factura el código QR tributario y la leyenda «VERI*FACTU»; y "
            "remite los registros a la Agencia Tributaria por su servicio web, con el "
            "certificado del emisor, guardando el estado de cada envío."),
        QStringLiteral("Funciona exclusivamente como sistema VERI*FACTU: sí."),
        QStringLiteral("Permite llevar varios obligados tributarios: sí."),
        QStringLiteral("Tipos de firma utilizados cuando no funciona como VERI*FACTU: ninguno "
                       "(el sistema solo funciona como VERI*FACTU)."),
        QStringLiteral("Nombre o razón social del productor: %1").arg(ODeFalta(p.nombre)),
        QStringLiteral("NIF del productor: %1").arg(ODeFalta(p.nif)),
        QStringLiteral("Dirección postal del productor: %1").arg(ODeFalta(p.direccion)),
        QString(),
        QStringLiteral(
            "El productor declara, bajo su responsabilidad, que este sistema informático de "
            "facturación, en la versión indicada, cumple lo dispuesto en el artículo 29.2.j) "
            "de la Ley 58/2003, de 17 de diciembre, General Tributaria, en el Reglamento que "
            "establece los requisitos que deben adoptar los sistemas y programas informáticos "
            "o electrónicos que soporten los procesos de facturación de empresarios y "
            "profesionales, aprobado por el Real Decreto 1007/2023, de 5 de diciembre, y en la "
            "Orden HAC/1177/2024, de 17 de octubre, que lo desarrolla."),
        QString(),
        QStringLiteral("En ____________________, a ____ de ______________ de ______."),
        QStringLiteral("Firma del productor: la pone quien distribuye el programa."),
    };
    return lineas.join(QLatin1Char('\n'));
}

void MostrarDeclaracionResponsable(QWidget* parent) {
    auto* ventana = parent->findChild<QDialog*>(QStringLiteral("declaracionResponsable"),
                                                Qt::FindDirectChildrenOnly);
    if (ventana == nullptr) {
        ventana = new QDialog(parent);
        ventana->setObjectName(QStringLiteral("declaracionResponsable"));
        ventana->setWindowTitle(QStringLiteral("Declaración responsable"));
        ventana->setAttribute(Qt::WA_DeleteOnClose);
        auto* texto = new QPlainTextEdit(ventana);
        texto->setObjectName(QStringLiteral("texto"));
        texto->setReadOnly(true);
        texto->setPlainText(TextoDeclaracionResponsable(ProductorDeLaCompilacion()));
        auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, ventana);
        botones->button(QDialogButtonBox::Close)->setText(QStringLiteral("Cerrar"));
        QObject::connect(botones, &QDialogButtonBox::rejected, ventana, &QDialog::reject);
        auto* columna = new QVBoxLayout(ventana);
        columna->addWidget(texto);
        columna->addWidget(botones);
        ventana->resize(ventana->fontMetrics().averageCharWidth() * 90,
                        ventana->fontMetrics().height() * 30);
    }
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace verifactu
