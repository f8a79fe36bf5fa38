#include "SampleRecords.h"

#include <array>
#include <string_view>

namespace sample {

moneda::Currency Euros(std::int64_t cents) {
    return moneda::Currency(cents * 100);
}

void AddConcepts(CRecibo& r, int n) {
    std::string* textos[] = {&r.m_Concepto1, &r.m_Concepto2, &r.m_Concepto3, &r.m_Concepto4,
                             &r.m_Concepto5};
    moneda::Currency* importes[] = {&r.m_Importe1, &r.m_Importe2, &r.m_Importe3, &r.m_Importe4,
                                    &r.m_Importe5};
    for (int k = 0; k < n && k < 5; ++k) {
        *textos[k] = "Concepto " + std::to_string(k + 1);
        *importes[k] = Euros(100 * (k + 1));
    }
}

CRecibo Filled() {
    CRecibo r;
    r.m_Numero = "17";
    r.m_Localidad = "ZARAGOZA";
    r.m_Vencimiento = "A LA VISTA";
    r.m_Fecha = moneda::Fecha(2004, 3, 5, 1, 1, 1);
    r.m_Concepto1 = "Reparación de la caldera";
    r.m_Importe1 = Euros(12000);
    r.m_Concepto2 = "Piezas & material";
    r.m_Importe2 = Euros(3456);
    r.m_Iva = "16";
    r.m_ImporteIva = moneda::Currency(247296); // 16 % of 154,56 = 24,7296

    r.m_Irpf = "15";
    r.m_ImporteIrpf = moneda::Currency(-231840); // 15 % of 154,56 withheld = -23,184
    // Total: 154,56 + 24,7296 - 23,184 = 156,1056, printed 156,11.
    r.m_Direccion = "C/ Mayor, 12, 3º B - 50001 ZARAGOZA";
    r.m_Pagador1 = "COMUNIDAD DE PROPIETARIOS";
    r.m_Pagador2 = "C/ MAYOR, 12";
    r.m_Cobrador1 = "JUAN PÉREZ GARCÍA";
    r.m_Cobrador2 = "NIF 12345678-Z";
    return r;
}

namespace {

// SplitMix64: a small, well-spread sequence from one seed.
std::uint64_t Mezcla(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

template <std::size_t N>
std::string Uno(const std::array<std::string_view, N>& lista, std::uint64_t& semilla) {
    semilla = Mezcla(semilla);
    return std::string(lista[semilla % N]);
}

constexpr std::array<std::string_view, 8> kNombres{"JOSÉ",  "MARÍA", "ÁNGEL", "NURIA",
                                                   "IÑAKI", "ROCÍO", "JESÚS", "LUCÍA"};
constexpr std::array<std::string_view, 8> kApellidos{"PEÑA",  "MUÑOZ",   "GARCÍA", "LÓPEZ",
                                                     "NÚÑEZ", "SÁNCHEZ", "IBÁÑEZ", "OLIVER"};
constexpr std::array<std::string_view, 6> kLugares{"ZARAGOZA", "CÁCERES", "LOGROÑO",
                                                   "MÁLAGA",   "ÁVILA",   "A CORUÑA"};
constexpr std::array<std::string_view, 6> kConceptos{
    "Reparación de la caldera", "Revisión anual",     "Mano de obra",
    "Cuota de comunidad",       "Alquiler del local", "Desplazamiento"};
constexpr std::array<std::string_view, 5> kColores{"AZUL", "GRIS", "MARRÓN", "VERDE", "ROSA"};

} // namespace

CRecibo Varied(std::uint64_t n) {
    std::uint64_t s = n * 7919 + 1;
    CRecibo r;
    std::string numero = std::to_string(n + 1);
    r.m_Numero = std::string(numero.size() < 6 ? 6 - numero.size() : 0, '0') + numero;
    r.m_Localidad = Uno(kLugares, s);
    r.m_Vencimiento = n % 3 == 0 ? "A LA VISTA" : "30 DÍAS";
    s = Mezcla(s);
    r.m_Fecha =
        moneda::Fecha(2019 + int(s % 6), 1 + int((s >> 8) % 12), 1 + int((s >> 16) % 28), 1, 1, 1);
    r.m_Pagador1 = Uno(kNombres, s) + " " + Uno(kApellidos, s) + " " + Uno(kApellidos, s);
    r.m_Pagador2 = "C/ " + Uno(kApellidos, s) + ", " + std::to_string(1 + n % 90);
    r.m_Cobrador1 = Uno(kNombres, s) + " " + Uno(kApellidos, s);
    r.m_Cobrador2 = "NIF " + std::to_string(10000000 + n % 89999999) + "-Z";
    r.m_Direccion = "Avda. de " + Uno(kLugares, s) + ", " + std::to_string(n % 200);

    std::string* textos[] = {&r.m_Concepto1, &r.m_Concepto2, &r.m_Concepto3, &r.m_Concepto4,
                             &r.m_Concepto5};
    moneda::Currency* importes[] = {&r.m_Importe1, &r.m_Importe2, &r.m_Importe3, &r.m_Importe4,
                                    &r.m_Importe5};
    s = Mezcla(s);
    const int conceptos = 1 + int(s % 5);
    std::int64_t base = 0;
    for (int k = 0; k < conceptos; ++k) {
        *textos[k] = Uno(kConceptos, s);
        s = Mezcla(s);
        const std::int64_t importe = std::int64_t(s % 500000) * 100; // up to 5.000 euros
        *importes[k] = moneda::Currency(importe);
        base += importe;
    }
    r.m_Iva = n % 2 == 0 ? "21" : "10";
    r.m_ImporteIva = moneda::Currency(base * (n % 2 == 0 ? 21 : 10) / 100);
    if (n % 5 == 0) {
        r.m_Re = "5,2";
        r.m_ImporteRe = moneda::Currency(base * 52 / 1000);
    }
    if (n % 4 == 0) {
        r.m_Irpf = "15";
        r.m_ImporteIrpf = moneda::Currency(-base * 15 / 100);
    }
    if (n % 97 == 96)
        r.m_Importe2 = moneda::Currency::Invalid(0);
    const std::string color = Uno(kColores, s);
    r.m_ColorFondo = ColorDeNombre(color);
    r.m_Solido = n % 2 == 1 ? 1 : 0;
    return r;
}

CRecibo Awkward() {
    CRecibo r = Filled();
    r.m_Numero = "=1+1";
    r.m_Pagador1 = "PEÑA; \"LA ALEGRÍA\"";
    r.m_Pagador2 = "+34 976 000 000";
    r.m_Cobrador1 = "-JOSÉ-";
    r.m_Cobrador2 = "@usuario";
    r.m_Concepto1 = "Primera línea\nsegunda línea";
    r.m_Concepto3 = "Coma, punto y coma; comillas \"dobles\"";
    r.m_Importe3 = moneda::Currency::Null();
    r.m_Importe4 = moneda::Currency::Invalid(-50000);
    r.m_Concepto4 = "Importe ilegible";
    r.m_Localidad = "LOGROÑO";
    r.m_ColorFondo = ColorDeNombre("MARRÓN");
    r.m_Solido = 1;
    return r;
}

} // namespace sample
