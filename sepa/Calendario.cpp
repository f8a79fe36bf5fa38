#include "sepa/Calendario.h"

#include <array>

namespace sepa {

namespace {

using namespace std::chrono;

std::string Cifras(int n, int ancho) {
    std::string texto = std::to_string(n);
    if (int(texto.size()) < ancho)
        texto.insert(0, std::size_t(ancho) - texto.size(), '0');
    return texto;
}

} // namespace

Fecha DomingoDePascua(year anio) {
    // The anonymous Gregorian algorithm (Meeus/Jones/Butcher).
    const int y = int(anio);
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int mes = (h + l - 7 * m + 114) / 31;
    const int dia = (h + l - 7 * m + 114) % 31 + 1;
    return Fecha{anio, month(unsigned(mes)), day(unsigned(dia))};
}

std::string MotivoInhabil(Fecha dia) {
    if (!dia.ok())
        return "no es una fecha que exista";
    const weekday semana{sys_days(dia)};
    if (semana == Saturday)
        return "es sábado";
    if (semana == Sunday)
        return "es domingo";
    const month_day md{dia.month(), dia.day()};
    if (md == January / 1)
        return "es 1 de enero";
    if (md == May / 1)
        return "es 1 de mayo";
    if (md == December / 25)
        return "es 25 de diciembre";
    if (md == December / 26)
        return "es 26 de diciembre";
    const sys_days pascua{DomingoDePascua(dia.year())};
    if (sys_days(dia) == pascua - days(2))
        return "es Viernes Santo";
    if (sys_days(dia) == pascua + days(1))
        return "es Lunes de Pascua";
    return {};
}

Fecha PrimerDiaValido(Fecha despuesDe, Fecha hoy) {
    sys_days dia = std::max(sys_days(despuesDe), sys_days(hoy)) + days(1);
    // At most four days in a row are closed (Friday to Monday at Easter).
    while (!MotivoInhabil(Fecha(dia)).empty())
        dia += days(1);
    return Fecha(dia);
}

Fecha UltimoDiaValido(Fecha hoy) {
    Fecha limite = hoy + years(1);
    if (!limite.ok())
        limite = limite.year() / limite.month() / last;
    sys_days dia{limite};
    while (!MotivoInhabil(Fecha(dia)).empty())
        dia -= days(1);
    return Fecha(dia);
}

std::string ComprobarFechaCobro(Fecha cobro, Fecha hoy) {
    if (!cobro.ok())
        return "la fecha de cobro no es una fecha que exista.";
    if (const Fecha ultimo = UltimoDiaValido(hoy); sys_days(cobro) > sys_days(ultimo))
        return "la fecha de cobro " + TextoFecha(cobro) +
               " es demasiado lejana (se admite hasta un año después de hoy); la última fecha "
               "válida es el " +
               TextoFecha(ultimo) + ".";
    std::string motivo;
    if (sys_days(cobro) <= sys_days(hoy))
        motivo = sys_days(cobro) == sys_days(hoy) ? "es hoy" : "ya ha pasado";
    else
        motivo = MotivoInhabil(cobro);
    if (motivo.empty())
        return {};
    return "la fecha de cobro " + TextoFecha(cobro) + " " + motivo +
           ", y el banco solo cobra en un día hábil posterior a hoy; el primer día válido es el " +
           TextoFecha(PrimerDiaValido(cobro, hoy)) + ".";
}

std::string TextoFecha(Fecha dia) {
    return Cifras(int(unsigned(dia.day())), 2) + "/" + Cifras(int(unsigned(dia.month())), 2) + "/" +
           Cifras(int(dia.year()), 4);
}

std::string TextoIso(Fecha dia) {
    return Cifras(int(dia.year()), 4) + "-" + Cifras(int(unsigned(dia.month())), 2) + "-" +
           Cifras(int(unsigned(dia.day())), 2);
}

} // namespace sepa
