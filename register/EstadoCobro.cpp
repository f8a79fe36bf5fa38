#include "register/EstadoCobro.h"

namespace registro {

QString NombreEstado(Estado estado) {
    switch (estado) {
    case Estado::Pendiente:
        return QStringLiteral("Pendiente");
    case Estado::SinSeguimiento:
        return QStringLiteral("Sin seguimiento");
    case Estado::EnRemesa:
        return QStringLiteral("En remesa");
    case Estado::Cobrado:
        return QStringLiteral("Cobrado");
    case Estado::Devuelto:
        return QStringLiteral("Devuelto");
    case Estado::Anulado:
        return QStringLiteral("Anulado");
    }
    return {};
}

bool Debido(Estado estado) {
    return estado == Estado::Pendiente || estado == Estado::Devuelto;
}

EstadoCobro EstadoEn(const HechosCobro& hechos, const QDate& dia) {
    if (hechos.anulado)
        return {Estado::Anulado, {}, {}};
    const CambioCobro* ultimo = nullptr;
    for (const CambioCobro& c : hechos.cambios)
        if (c.fecha.isValid() && c.fecha <= dia && (ultimo == nullptr || c.fecha >= ultimo->fecha))
            ultimo = &c;
    if (ultimo == nullptr)
        return {hechos.seguimiento ? Estado::Pendiente : Estado::SinSeguimiento, {}, {}};
    switch (ultimo->tipo) {
    case CambioCobro::Tipo::EnRemesa:
        if (!ultimo->cobro.isValid())
            return {Estado::Cobrado, {}, {}};
        return {ultimo->cobro <= dia ? Estado::Cobrado : Estado::EnRemesa, ultimo->cobro, {}};
    case CambioCobro::Tipo::Devuelto:
        return {Estado::Devuelto, ultimo->fecha, ultimo->motivo};
    case CambioCobro::Tipo::Cobrado:
        return {Estado::Cobrado, ultimo->fecha, {}};
    }
    return {};
}

} // namespace registro
