#include "register/AnotarEmitido.h"

#include "register/Registro.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace registro {

namespace {

bool avisado = false;

// One store for the whole run, so that recording does not reopen (and checkpoint) the file
// for every receipt. Closed before the application object goes, with its SQL driver.
std::unique_ptr<Registro>& Almacen() {
    static std::unique_ptr<Registro> almacen;
    static const bool limpieza = [] {
        qAddPostRoutine([] { Almacen().reset(); });
        return true;
    }();
    (void)limpieza;
    return almacen;
}

} // namespace

QString TextoDelAviso(const QString& ruta, const QString& motivo, const QString& apartado,
                      bool anotado) {
    QString texto =
        anotado
            ? QStringLiteral("El recibo se ha anotado en el registro de recibos emitidos:\n%1\n\n"
                             "Aviso: %2")
                  .arg(ruta, motivo)
            : QStringLiteral("El recibo se ha emitido, pero no se ha podido anotar en el "
                             "registro de recibos emitidos:\n%1\n\nMotivo: %2")
                  .arg(ruta, motivo);
    if (!apartado.isEmpty())
        texto += QStringLiteral("\n\nEl registro estaba dañado: se ha apartado como\n%1\ny se ha "
                                "empezado uno nuevo. El archivo apartado no se ha borrado.")
                     .arg(apartado);
    texto += QStringLiteral("\n\nEste aviso no se repetirá hasta que vuelva a abrir Talvero.");
    return texto;
}

bool AvisarUnaVez(const QString& texto, QWidget* parent) {
    if (avisado)
        return false;
    avisado = true;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "talvero: %s\n", texto.toLocal8Bit().constData());
        return true;
    }
    // Not modal: the receipt has already gone out, and nothing waits on the answer.
    auto* caja = new QMessageBox(QMessageBox::Warning, QStringLiteral("Registro de recibos"), texto,
                                 QMessageBox::Ok, parent);
    caja->setObjectName(QStringLiteral("avisoRegistro"));
    caja->setAttribute(Qt::WA_DeleteOnClose);
    caja->setModal(false);
    caja->show();
    return true;
}

bool AnotarEmitidoEn(const QString& ruta, const CRecibo& comoSeRelleno, const QString& destino,
                     QWidget* parent) {
    try {
        std::unique_ptr<Registro>& almacen = Almacen();
        if (!almacen || almacen->Ruta() != ruta)
            almacen = std::make_unique<Registro>(ruta);
        const QString apartadoAntes = almacen->Apartado();
        const bool ok = almacen->Anotar(comoSeRelleno, destino);
        const QString apartado = almacen->Apartado();
        if (!ok) {
            AvisarUnaVez(TextoDelAviso(ruta, almacen->Error(), apartado, false), parent);
            // A store that failed starts afresh next time: the folder may be writable again.
            almacen.reset();
            return false;
        }
        if (apartado != apartadoAntes) {
            AvisarUnaVez(TextoDelAviso(ruta,
                                       QStringLiteral("el archivo no era un registro válido; "
                                                      "se ha empezado uno nuevo"),
                                       apartado, true),
                         parent);
        }
        return true;
    } catch (const std::exception& e) {
        AvisarUnaVez(TextoDelAviso(ruta, QString::fromLocal8Bit(e.what()), {}, false), parent);
    }
    return false;
}

QString AnotarFacturaEn(const QString& ruta, const CRecibo& comoSeRelleno, const QString& destino,
                        const Facturacion& facturacion) {
    std::unique_ptr<Registro>& almacen = Almacen();
    if (!almacen || almacen->Ruta() != ruta)
        almacen = std::make_unique<Registro>(ruta);
    if (almacen->AnotarConAlta(comoSeRelleno, destino, facturacion) != 0)
        return {};
    const QString motivo = almacen->Error();
    almacen.reset(); // the folder may be writable again next time
    return QStringLiteral("El recibo no ha salido: con VERI*FACTU, un recibo sale solo después "
                          "de anotarse con su registro de facturación en el registro de recibos "
                          "emitidos:\n%1\n\nMotivo: %2")
        .arg(ruta, motivo);
}

bool AnotarEmitido(const CRecibo& comoSeRelleno, const QString& destino, QWidget* parent) {
    return AnotarEmitidoEn(Registro::Ubicacion(), comoSeRelleno, destino, parent);
}

namespace detail {
void OlvidarAviso() {
    avisado = false;
    Almacen().reset();
}
} // namespace detail

} // namespace registro
