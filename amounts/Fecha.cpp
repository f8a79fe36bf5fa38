#include "amounts/Fecha.h"

#include <cstdio>

namespace moneda {

namespace {

// Gregorian rule. The remainder test is exact for negative years too.
bool EsBisiesto(int anio) {
    return anio % 4 == 0 && (anio % 100 != 0 || anio % 400 == 0);
}

int DiasDelMes(int anio, int mes) {
    constexpr int kDias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mes == 2 && EsBisiesto(anio))
        return 29;
    return kDias[mes - 1];
}

} // namespace

// Only an upper bound limits the year; the time of day must lie in 00:00:00..23:59:59.
Fecha::Fecha(int anio, int mes, int dia, int hora, int minuto, int segundo)
    : anio_(anio), mes_(mes), dia_(dia), hora_(hora), minuto_(minuto), segundo_(segundo) {
    valida_ = anio <= 9999 && mes >= 1 && mes <= 12 && dia >= 1 && dia <= DiasDelMes(anio, mes) &&
              hora >= 0 && hora <= 23 && minuto >= 0 && minuto <= 59 && segundo >= 0 &&
              segundo <= 59;
}

std::string Fecha::TextoIso() const {
    if (!valida_)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", anio_, mes_, dia_);
    return text;
}

} // namespace moneda
