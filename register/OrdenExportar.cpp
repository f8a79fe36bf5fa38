#include "register/OrdenExportar.h"

#include "register/ExportarCsv.h"
#include "register/Registro.h"

#include <QDate>
#include <QFileInfo>

#include <cstdio>

namespace registro {

namespace {

int FalloDeExportar(const QString& texto, int salida = 2) {
    std::fprintf(stderr, "talvero: %s\n", texto.toLocal8Bit().constData());
    return salida;
}

bool LeerFechaDeExportar(const QString& texto, QDate& fecha) {
    fecha = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    return fecha.isValid();
}

} // namespace

int ExportarDesdeLineaDeOrdenes(const OrdenExportar& orden) {
    const QString& desde = orden.desde;
    const QString& hasta = orden.hasta;
    Filtro filtro;
    if (!desde.isEmpty() && !LeerFechaDeExportar(desde, filtro.desde))
        return FalloDeExportar(
            QStringLiteral("la fecha de --desde «%1» no es válida: escriba AAAA-MM-DD, "
                           "por ejemplo 2024-01-31.")
                .arg(desde));
    if (!hasta.isEmpty() && !LeerFechaDeExportar(hasta, filtro.hasta))
        return FalloDeExportar(
            QStringLiteral("la fecha de --hasta «%1» no es válida: escriba AAAA-MM-DD, "
                           "por ejemplo 2024-03-31.")
                .arg(hasta));
    if (filtro.desde.isValid() && filtro.hasta.isValid() && filtro.desde > filtro.hasta)
        return FalloDeExportar(
            QStringLiteral("--desde (%1) es posterior a --hasta (%2).").arg(desde, hasta));

    // The register is only read: whatever state it is in, the export changes nothing in it,
    // and a register that cannot be read leaves the last good copy where it is.
    Registro registro(Registro::Ubicacion());
    const QString archivo = QFileInfo(orden.archivo).absoluteFilePath();
    if (const QString motivo = DestinoNoAdmitido(archivo, registro.Ruta()); !motivo.isEmpty())
        return FalloDeExportar(motivo + QLatin1Char('.'));
    if (!registro.AbrirParaLeer())
        return FalloDeExportar(QStringLiteral("no se ha exportado nada y %1 no se ha tocado: %2.")
                                   .arg(orden.archivo, registro.Error()),
                               1);
    QString error;
    qint64 filas = 0;
    if (!ExportarCsv(registro.Base(), filtro, {}, archivo, error, &filas))
        return FalloDeExportar(error + QLatin1Char('.'), 1);
    std::fprintf(stderr, "talvero: %lld %s a %s\n", static_cast<long long>(filas),
                 filas == 1 ? "recibo exportado" : "recibos exportados",
                 orden.archivo.toLocal8Bit().constData());
    return 0;
}

} // namespace registro
