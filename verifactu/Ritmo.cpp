#include "verifactu/Ritmo.h"

#include <algorithm>

namespace verifactu {

std::int64_t Ritmo::Espera(std::int64_t ahoraMs, std::size_t pendientes) const {
    if (!ultimoEnvio_)
        return 0;
    std::int64_t espera = esperaMs_;
    if (fallos_ > 0) {
        // A full batch does not hurry a retry: the service is not taking any.
        const int doblados = std::min(fallos_ - 1, 6);
        espera = std::max(espera, std::min(kPrimerReintentoMs << doblados, kReintentoMaximoMs));
        espera = std::min(espera, kReintentoMaximoMs);
    } else if (pendientes >= kLoteCompleto) {
        return 0;
    }
    return std::max<std::int64_t>(0, *ultimoEnvio_ + espera - ahoraMs);
}

void Ritmo::Acabado(std::int64_t ahoraMs) {
    ultimoEnvio_ = ahoraMs;
}

void Ritmo::Respondido(int segundos) {
    // The schema allows up to four digits; anything else is taken as the initial wait.
    esperaMs_ =
        segundos >= 0 && segundos <= 9999 ? std::int64_t(segundos) * 1000 : kEsperaInicialMs;
    fallos_ = 0;
}

void Ritmo::Fallido() {
    ++fallos_;
}

} // namespace verifactu
