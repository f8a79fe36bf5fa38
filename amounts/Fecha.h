#pragma once

#include <string>

namespace moneda {

// A date with a time of day and a validity state. Built from its parts; valid exactly when
// the year is at most 9999, the month 1..12, the day 1..length of that month (Gregorian
// leap years) and the time 00:00:00..23:59:59. The default is the valid 30 December 1899,
// 00:00:00. Day, month and year read -1 when the value is not valid.
class Fecha {
public:
    Fecha() = default;
    Fecha(int anio, int mes, int dia, int hora, int minuto, int segundo);

    bool EsValida() const { return valida_; }
    int Dia() const { return valida_ ? dia_ : -1; }
    int Mes() const { return valida_ ? mes_ : -1; }
    int Anio() const { return valida_ ? anio_ : -1; }
    int Hora() const { return valida_ ? hora_ : -1; }
    int Minuto() const { return valida_ ? minuto_ : -1; }
    int Segundo() const { return valida_ ? segundo_ : -1; }

    // The date as "yyyy-mm-dd", the year with at least four digits (with its sign when
    // negative); empty when the value is not valid.
    std::string TextoIso() const;

private:
    bool valida_ = true;
    int anio_ = 1899, mes_ = 12, dia_ = 30;
    int hora_ = 0, minuto_ = 0, segundo_ = 0;
};

} // namespace moneda
