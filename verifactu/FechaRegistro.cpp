#include "verifactu/FechaRegistro.h"

#include <QtCore/QDateTime>
#include <QtCore/QTimeZone>

#include <cstdio>
#include <cstdlib>

namespace verifactu {

std::string TextoFechaExpedicion(const moneda::Fecha& f) {
    if (!f.EsValida() || f.Anio() < 1)
        return {};
    char texto[16];
    std::snprintf(texto, sizeof texto, "%02d-%02d-%04d", f.Dia(), f.Mes(), f.Anio());
    return texto;
}

std::string TextoFechaHoraHuso(const QDateTime& momento) {
    const int desfase = momento.offsetFromUtc(); // seconds east of UTC
    const int minutos = std::abs(desfase) / 60;
    char huso[8];
    std::snprintf(huso, sizeof huso, "%c%02d:%02d", desfase < 0 ? '-' : '+', minutos / 60,
                  minutos % 60);
    return momento.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toStdString() + huso;
}

} // namespace verifactu
