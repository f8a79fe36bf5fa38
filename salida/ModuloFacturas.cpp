#include "salida/ModuloFacturas.h"

#include "lista/FacturasLista.h"
#include "platform/PdfExport.h"
#include "platform/SettingsStore.h"
#include "receipt/Recibo.h"
#include "register/AnotarEmitido.h"
#include "register/Registro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QUuid>

#include <cstdio>

namespace salida {

namespace {

std::optional<registro::Facturacion> FacturacionDeHoy() {
    platform::SettingsStore ajustes;
    return lista::FacturacionDeAjustes(ajustes);
}

} // namespace

Factura PrepararFacturaDelFormulario(CRecibo& rec) {
    const std::optional<registro::Facturacion> f = FacturacionDeHoy();
    if (!f)
        return {};
    Factura factura{true, {}};
    const verifactu::ResultadoAlta alta = registro::AltaDeRecibo(rec, *f);
    if (!alta.motivo.empty()) {
        factura.motivo = QStringLiteral("Este recibo no puede emitirse como factura: %1")
                             .arg(QString::fromStdString(alta.motivo));
        return factura;
    }
    registro::Registro reg(registro::Registro::Ubicacion());
    const QString numero = QString::fromStdString(rec.m_Numero);
    if (reg.NumerosUsadosPor(f->emisorNif).contains(numero)) {
        factura.motivo = QStringLiteral("El número %1 ya se ha usado en otro recibo de este "
                                        "emisor, y una factura no puede repetir su número. "
                                        "Escriba otro en «Número».")
                             .arg(numero.trimmed());
        return factura;
    }
    rec.m_Qr = registro::QrDeAlta(alta.registro, f->produccion);
    return factura;
}

void PonerQrDelFormulario(CRecibo& rec) {
    if (const std::optional<registro::Facturacion> f = FacturacionDeHoy()) {
        const verifactu::ResultadoAlta alta = registro::AltaDeRecibo(rec, *f);
        if (alta.motivo.empty())
            rec.m_Qr = registro::QrDeAlta(alta.registro, f->produccion);
    }
}

bool AnotarFacturaDelFormulario(const CRecibo& comoSeRelleno, const QString& destino,
                                QWidget* parent) {
    const std::optional<registro::Facturacion> f = FacturacionDeHoy();
    const QString motivo =
        f ? registro::AnotarFacturaEn(registro::Registro::Ubicacion(), comoSeRelleno, destino, *f)
          : QStringLiteral("El recibo no ha salido: VERI*FACTU se ha desactivado mientras tanto.");
    if (motivo.isEmpty())
        return true;
    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Registro de recibos"), motivo,
                     QMessageBox::Ok, parent);
    caja.setObjectName(QStringLiteral("facturaNoAnotada"));
    caja.exec();
    return false;
}

QString GuardarFacturaPdfDelFormulario(const CRecibo& conQr, const CRecibo& comoSeRelleno,
                                       const QString& ruta, const QString& titulo) {
    const std::optional<registro::Facturacion> f = FacturacionDeHoy();
    if (!f)
        return QStringLiteral("No se ha guardado nada: VERI*FACTU se ha desactivado mientras "
                              "tanto.");
    const QFileInfo destino(ruta);
    // Hidden beside its target, so that putting it in place is a rename on one disk.
    const QString temporal = destino.absoluteDir().filePath(
        QStringLiteral(".%1.%2.talvero-parcial")
            .arg(destino.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
    if (const QString error = platform::WritePdfPage(temporal, titulo,
                                                     [&conQr](page::PageSurface& page) {
                                                         CRecibo copia = conQr;
                                                         copia.Dibujar(page);
                                                     });
        !error.isEmpty()) {
        QFile::remove(temporal);
        return error;
    }
    const QString absoluta = destino.absoluteFilePath();
    if (const QString motivo =
            registro::AnotarFacturaEn(registro::Registro::Ubicacion(), comoSeRelleno, absoluta, *f);
        !motivo.isEmpty()) {
        QFile::remove(temporal);
        return motivo;
    }
    // The user chose this name in the save dialog, replacing a file there if asked: the
    // rename replaces it in one step.
    if (std::rename(QFile::encodeName(temporal).constData(),
                    QFile::encodeName(absoluta).constData()) != 0) {
        QFile::remove(temporal);
        return QStringLiteral("El recibo %1 se ha emitido y anotado en el registro con su "
                              "registro VERI*FACTU, pero el PDF no se ha podido poner en «%2». "
                              "Vuelva a guardarlo desde «Recibos emitidos».")
            .arg(QString::fromStdString(comoSeRelleno.m_Numero).trimmed(),
                 QDir::toNativeSeparators(absoluta));
    }
    return {};
}

} // namespace salida
