#include "lista/FacturasLista.h"

#include "platform/SettingsStore.h"
#include "register/Registro.h"
#include "verifactu/Ajustes.h"

#include <QUuid>

namespace lista {

std::optional<registro::Facturacion> FacturacionDeAjustes(platform::SettingsStore& store) {
    verifactu::Ajustes a = verifactu::LeerAjustes(store);
    std::optional<registro::Facturacion> f = registro::FacturacionVigente(a, QDate::currentDate());
    if (f && f->instalacion.empty()) {
        // Made once, the first time this installation issues an invoice.
        a.instalacion = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        store.WriteString(platform::kTalveroSection, "VerifactuInstalacion", a.instalacion);
        store.Flush();
        f->instalacion = a.instalacion;
    }
    return f;
}

NumerosDelRegistro NumerosParaLista(registro::Registro& reg,
                                    const std::optional<registro::Facturacion>& f) {
    NumerosDelRegistro n{reg.NumerosEnUso(), reg.SiguienteNumeroLibre(), std::nullopt};
    if (f)
        n.usadosPorElEmisor = reg.NumerosUsadosPor(f->emisorNif);
    return n;
}

void RevisarFacturas(ListaRevisada& lista) {
    if (!lista.facturacion)
        return;
    const registro::Facturacion& f = *lista.facturacion;
    for (FilaRevisada& fila : lista.filas) {
        if (!fila.Valida())
            continue;
        const verifactu::ResultadoAlta alta =
            registro::AltaDeRecibo(fila.recibo, f, fila.nifPagador);
        if (!alta.motivo.empty())
            fila.errores << QStringLiteral("Fila %1: %2")
                                .arg(fila.fila)
                                .arg(QString::fromStdString(alta.motivo));
        else
            fila.recibo.m_Qr = registro::QrDeAlta(alta.registro, f.produccion);
    }
}

} // namespace lista
