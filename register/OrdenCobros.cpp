#include "register/OrdenCobros.h"

#include "amounts/moneda.h"
#include "platform/SettingsStore.h"
#include "register/ExportarCsv.h"
#include "register/ImportarDevoluciones.h"
#include "register/Registro.h"
#include "register/RemesaDevueltos.h"
#include "resources/links/Enlaces.h"
#include "sepa/AjustesAcreedor.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <tuple>

namespace registro {

namespace {

void DecirEn(std::FILE* salida, const QString& texto) {
    std::fprintf(salida, "%s\n", texto.toLocal8Bit().constData());
}

int FalloDeCobros(const QString& texto, int salida) {
    DecirEn(stderr, QStringLiteral("talvero: ") + texto);
    return salida;
}

sepa::Fecha FechaSepaDe(const QDate& d) {
    if (!d.isValid())
        return sepa::Fecha{};
    return sepa::Fecha{std::chrono::year(d.year()), std::chrono::month(unsigned(d.month())),
                       std::chrono::day(unsigned(d.day()))};
}

// The creditor's settings, where the form keeps them: the command line names the
// application's organisation only for a list, which reads the form's settings too.
platform::SettingsStore AjustesDelFormulario() {
    QCoreApplication::setOrganizationName(QString::fromStdString(enlaces::Empresa()));
    return platform::SettingsStore();
}

} // namespace

int ImportarDevolucionesDesdeLineaDeOrdenes(const QString& archivo) {
    const platform::SettingsStore ajustes = AjustesDelFormulario();
    const QString acreedor =
        QString::fromStdString(sepa::Normalizado(sepa::LeerAcreedor(ajustes)).identificador);
    Registro registro(Registro::Ubicacion());
    const Importacion imp = ImportarDevoluciones(registro, archivo, acreedor);
    if (!imp.error.isEmpty())
        return FalloDeCobros(imp.error, imp.noEsInforme ? 2 : 1);
    for (const EntradaImportada& e : imp.entradas)
        if (e.resultado == EntradaImportada::Resultado::NoAplicada)
            DecirEn(stderr, QStringLiteral("talvero: %1: no aplicada: %2")
                                .arg(archivo, DescribirNoAplicada(e)));
    DecirEn(stdout, QStringLiteral("Devoluciones de %1: %2").arg(archivo, ResumenImportacion(imp)));
    return imp.Cuantas(EntradaImportada::Resultado::NoAplicada) > 0 ? 1 : 0;
}

int PendientesDesdeLineaDeOrdenes(const QString& archivo, const QString& hasta) {
    QDate dia = QDate::currentDate();
    if (!hasta.isEmpty()) {
        dia = QDate::fromString(hasta, QStringLiteral("yyyy-MM-dd"));
        if (!dia.isValid())
            return FalloDeCobros(QStringLiteral("la fecha de --hasta «%1» no es válida: escriba "
                                                "AAAA-MM-DD, por ejemplo 2024-03-31.")
                                     .arg(hasta),
                                 2);
    }
    Registro registro(Registro::Ubicacion());
    const QString ruta = QFileInfo(archivo).absoluteFilePath();
    if (const QString motivo = DestinoNoAdmitido(ruta, registro.Ruta()); !motivo.isEmpty())
        return FalloDeCobros(motivo + QLatin1Char('.'), 2);
    // The register is only read, as the export reads it.
    if (!registro.AbrirParaLeer())
        return FalloDeCobros(QStringLiteral("no se ha escrito nada y %1 no se ha tocado: %2.")
                                 .arg(archivo, registro.Error()),
                             1);
    QString error;
    qint64 filas = 0;
    if (!ExportarCsv(registro.Base(), {}, {}, ruta, error, &filas, dia, true))
        return FalloDeCobros(error + QLatin1Char('.'), 1);
    DecirEn(stderr, QStringLiteral("talvero: %1 %2 el %3, en %4")
                        .arg(filas)
                        .arg(filas == 1 ? QStringLiteral("recibo debido")
                                        : QStringLiteral("recibos debidos"),
                             dia.toString(QStringLiteral("dd/MM/yyyy")), archivo));
    return 0;
}

int RemesaDevueltosDesdeLineaDeOrdenes(const OrdenDevueltos& orden) {
    PedidoDevueltos pedido;
    pedido.ruta = QFileInfo(orden.remesa).absoluteFilePath();
    pedido.cobro = orden.cobro;
    for (const auto& [texto, fecha, opcion] : {std::tuple{orden.desde, &pedido.desde, "--desde"},
                                               std::tuple{orden.hasta, &pedido.hasta, "--hasta"}}) {
        if (texto.isEmpty())
            continue;
        *fecha = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
        if (!fecha->isValid())
            return FalloDeCobros(QStringLiteral("la fecha de %1 «%2» no es válida: escriba "
                                                "AAAA-MM-DD.")
                                     .arg(QLatin1String(opcion), texto),
                                 2);
    }
    if (!orden.gastos.isEmpty()) {
        // Euros with at most two decimals, above zero: a fee is charged to the cent.
        const moneda::Currency gastos = moneda::ParseCurrency(orden.gastos.toStdString());
        if (!gastos.isValid() || gastos.value() <= 0 || gastos.value() % 100 != 0)
            return FalloDeCobros(QStringLiteral("--gastos-devolucion «%1» no es un importe en "
                                                "euros mayor que cero, como 3,50.")
                                     .arg(orden.gastos),
                                 2);
        pedido.gastos = gastos.value() / 100;
    }
    const platform::SettingsStore ajustes = AjustesDelFormulario();
    const sepa::AcreedorCargado acreedor = sepa::CargarAcreedor(ajustes);
    if (!acreedor.error.empty())
        return FalloDeCobros(QString::fromStdString(acreedor.error), 2);
    pedido.acreedor = acreedor.acreedor;
    const QString version = orden.version.isEmpty()
                                ? QString::fromStdString(sepa::LeerVersionRemesa(ajustes))
                                : orden.version;
    pedido.formato = sepa::FormatoDeRemesa(version);
    if (pedido.formato == nullptr)
        return FalloDeCobros(
            QStringLiteral("--version-remesa «%1» no es %2 ni %3.")
                .arg(version, QLatin1String(sepa::kRemesa08), QLatin1String(sepa::kRemesa02)),
            2);
    if (const std::string motivo =
            sepa::ComprobarFechaCobro(FechaSepaDe(pedido.cobro), sepa::Hoy());
        !motivo.empty())
        return FalloDeCobros(QString::fromStdString(motivo), 2);
    Registro registro(Registro::Ubicacion());
    const RemesaDeDevueltos r = RemesaDevueltos(registro, pedido);
    for (const QString& aviso : r.avisos)
        DecirEn(stderr, QStringLiteral("talvero: ") + aviso);
    for (const QString& excluido : r.excluidos)
        DecirEn(stderr, QStringLiteral("talvero: ") + excluido + QStringLiteral(": queda fuera."));
    if (!r.Escrita())
        return FalloDeCobros(r.error, r.ninguno || QFileInfo::exists(pedido.ruta) ? 2 : 1);
    DecirEn(stdout,
            QStringLiteral("Remesa %1 de recibos devueltos: %2 %3 a %4")
                .arg(r.escrita.msgId)
                .arg(r.escrita.adeudos)
                .arg(r.escrita.adeudos == 1 ? QStringLiteral("adeudo") : QStringLiteral("adeudos"),
                     orden.remesa));
    if (!r.gastos.isEmpty())
        DecirEn(stdout, QStringLiteral("Recibos de gastos de devolución: %1")
                            .arg(r.gastos.join(QStringLiteral(", "))));
    return 0;
}

} // namespace registro
