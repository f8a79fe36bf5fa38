// "--remesa" with "--fecha-cobro": an addition to a list, whose debited receipts also go to
// the creditor's bank as one SEPA remittance file.
#include "orden/Capacidades.h"
#include "salida/Ordenes.h"

#include <QDate>

namespace orden {

namespace {

QDate FechaDeCobro(const Leidas& leidas) {
    return QDate::fromString(leidas.Valor("--fecha-cobro"), QStringLiteral("yyyy-MM-dd"));
}

QString ComprobarRemesa(const Leidas& leidas, bool) {
    const bool remesa = leidas.Tiene("--remesa");
    const QString cobro = leidas.Valor("--fecha-cobro");
    if (remesa && cobro.isEmpty())
        return QStringLiteral("con --remesa, indique --fecha-cobro AAAA-MM-DD.");
    if (!remesa && !cobro.isEmpty())
        return QStringLiteral("--fecha-cobro solo vale con --remesa.");
    if (remesa && !FechaDeCobro(leidas).isValid())
        return QStringLiteral("--fecha-cobro «%1» no es una fecha AAAA-MM-DD.").arg(cobro);
    // Its value is the module's to check: the versions are the remittance's own business.
    if (leidas.Tiene("--version-remesa") && !remesa)
        return QStringLiteral("--version-remesa solo vale con --remesa.");
    return {};
}

void Completar(const Leidas& leidas, salida::PedidoLista& pedido) {
    pedido.remesa = salida::PedidoRemesa{leidas.Valor("--remesa"), FechaDeCobro(leidas),
                                         leidas.Valor("--version-remesa")};
}

} // namespace

Capacidad RemesaDeLista() {
    return {
        .opciones = {{"--remesa", "REMESA.xml",
                      "con --emitir-lista, sola o con --pdf, --carpeta-pdf o\n--impresora: la "
                      "remesa SEPA (pain.008) de los recibos\ncon IBAN, para el banco del acreedor "
                      "(sus datos, en\n«Datos del acreedor…»); sola, solo se anotan esos"},
                     {"--fecha-cobro", "AAAA-MM-DD",
                      "con --remesa: el día en que el banco cobra los recibos"},
                     {"--version-remesa", "VERSIÓN",
                      "con --remesa: pain.008.001.08 (la de hoy) o\npain.008.001.02; sin ella, la "
                      "de «Datos del\nacreedor…»",
                      true}},
        .amplia = "--emitir-lista",
        .excluye = {"--comprobar"},
        .comprobar = &ComprobarRemesa,
        .completar = &Completar};
}

} // namespace orden
