#include "lista/RemesaLista.h"

#include "lista/ColumnasAdeudo.h"

#include <QFileInfo>
#include <QLocale>

namespace lista {

sepa::Fecha FechaDe(const QDate& fecha) {
    if (!fecha.isValid())
        return sepa::Fecha{};
    return sepa::Fecha{std::chrono::year(fecha.year()), std::chrono::month(unsigned(fecha.month())),
                       std::chrono::day(unsigned(fecha.day()))};
}

QDate FechaDe(const sepa::Fecha& fecha) {
    if (!fecha.ok())
        return {};
    return QDate(int(fecha.year()), int(unsigned(fecha.month())), int(unsigned(fecha.day())));
}

sepa::Remesa RemesaDeLista(const ListaRevisada& lista, const PedidoRemesa& pedido) {
    sepa::Remesa remesa{pedido.acreedor, pedido.cobro, {}};
    for (const FilaRevisada& fila : lista.filas)
        if (ConAdeudo(fila))
            remesa.adeudos.push_back(AdeudoDeFila(fila));
    return remesa;
}

QString ComprobarRemesa(const sepa::AcreedorCargado& acreedor, const PedidoRemesa& pedido,
                        ListaRevisada* lista, sepa::Fecha hoy) {
    if (!acreedor.error.empty())
        return QString::fromStdString(acreedor.error);
    if (const std::string motivo = sepa::ComprobarFechaCobro(pedido.cobro, hoy); !motivo.empty())
        return QString::fromStdString(motivo);
    // Never an existing file: the bank could be sent the same debits twice.
    if (QFileInfo::exists(pedido.ruta))
        return QStringLiteral("«%1» ya existe: no se sobrescribe; indique otro nombre.")
            .arg(pedido.ruta);
    if (lista == nullptr)
        return {};
    ComprobarMandatosHasta(*lista, pedido.cobro, hoy);
    if (FilasSinAdeudo(*lista) == qsizetype(lista->filas.size()))
        return QStringLiteral("ningún recibo de la lista «%1» tiene IBAN: no hay remesa que "
                              "escribir.")
            .arg(lista->archivo);
    return {};
}

QString ResumenRemesa(const sepa::ResultadoRemesa& escrita, qsizetype sinAdeudo) {
    const QLocale es(QLocale::Spanish);
    QString t =
        QStringLiteral("Remesa %1: %2 %3, %4")
            .arg(escrita.msgId, es.toString(escrita.adeudos),
                 escrita.adeudos == 1 ? QStringLiteral("adeudo") : QStringLiteral("adeudos"),
                 TextoEuros(moneda::Currency(escrita.centimos * 100)));
    if (sinAdeudo > 0)
        t += QStringLiteral("; %1 %2 sin IBAN %3 fuera")
                 .arg(es.toString(sinAdeudo),
                      sinAdeudo == 1 ? QStringLiteral("recibo") : QStringLiteral("recibos"),
                      sinAdeudo == 1 ? QStringLiteral("queda") : QStringLiteral("quedan"));
    return t;
}

} // namespace lista
