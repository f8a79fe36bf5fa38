#include "sepa/Adeudo.h"

#include "amounts/moneda.h"
#include "receipt/Recibo.h"
#include "receipt/ReciboTexto.h"
#include "sepa/Cuentas.h"
#include "sepa/TextoSepa.h"

#include <algorithm>
#include <map>

namespace sepa {

namespace {

constexpr std::array<std::string_view, 4> kCodigos{"FRST", "RCUR", "OOFF", "FNAL"};

std::string SinEspaciosAlrededor(std::string_view texto) {
    const auto inicio = texto.find_first_not_of(" \t");
    if (inicio == std::string_view::npos)
        return {};
    const auto fin = texto.find_last_not_of(" \t");
    return std::string(texto.substr(inicio, fin - inicio + 1));
}

std::string Mayusculas(std::string texto) {
    for (char& c : texto)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return texto;
}

// The banks refuse a reference that starts or ends with "/" or holds "//".
bool BarrasAdmitidas(std::string_view referencia) {
    return !referencia.starts_with('/') && !referencia.ends_with('/') &&
           referencia.find("//") == std::string_view::npos;
}

std::optional<Problema> En(const char* campo, std::string mensaje) {
    if (mensaje.empty())
        return std::nullopt;
    return Problema{campo, std::move(mensaje)};
}

} // namespace

std::string_view CodigoSecuencia(Secuencia s) {
    return kCodigos[std::size_t(s)];
}

std::optional<Secuencia> LeerSecuencia(std::string_view texto) {
    const std::string codigo = Mayusculas(SinEspaciosAlrededor(texto));
    if (codigo.empty())
        return Secuencia::RCUR;
    for (const Secuencia s : kSecuencias)
        if (CodigoSecuencia(s) == codigo)
            return s;
    return std::nullopt;
}

std::string ComprobarSecuencia(std::string_view texto) {
    if (LeerSecuencia(texto))
        return {};
    return "«" + SinEspaciosAlrededor(texto) +
           "» no es una secuencia de adeudo: escriba FRST (primer cobro), RCUR (recurrente), "
           "OOFF (único) o FNAL (último), o déjela vacía para RCUR.";
}

Adeudo AdeudoDelRecibo(const CRecibo& recibo) {
    Adeudo adeudo;
    adeudo.numero = recibo.m_Numero;
    adeudo.total = recibo::TotalRecibo(recibo);
    adeudo.conceptos = {recibo.m_Concepto1, recibo.m_Concepto2, recibo.m_Concepto3,
                        recibo.m_Concepto4, recibo.m_Concepto5};
    adeudo.titular = recibo.m_Pagador1;
    return adeudo;
}

std::optional<std::int64_t> Centimos(const moneda::Currency& total) {
    if (!total.isValid())
        return std::nullopt;
    // Half away from zero on the two dropped digits, as the printed total; without
    // overflow at either end of the range.
    const std::int64_t v = total.value();
    const std::int64_t centimos = v / 100;
    const std::int64_t resto = v % 100;
    if (resto >= 50)
        return centimos + 1;
    if (resto <= -50)
        return centimos - 1;
    return centimos;
}

std::string ComprobarTotal(const moneda::Currency& total) {
    const std::optional<std::int64_t> centimos = Centimos(total);
    if (!centimos)
        return "el total del recibo no es un importe válido.";
    if (*centimos <= 0)
        return "el total del recibo es " + moneda::FormatEuros(total) +
               " €, y solo se cobra un total mayor que cero.";
    if (*centimos > kMaxCentimos)
        return "el total del recibo es " + moneda::FormatEuros(total) +
               " €, más que los 999.999.999,99 € que admite un adeudo.";
    return {};
}

std::string ComprobarMandato(std::string_view tecleado) {
    const std::string mandato = SinEspaciosAlrededor(tecleado);
    if (mandato.empty())
        return "falta la referencia del mandato.";
    if (const std::string ajeno = PrimerCaracterNoAdmitido(mandato, EsCaracterSepa); !ajeno.empty())
        return "la referencia del mandato lleva «" + ajeno +
               "», y solo admite letras sin acentos, cifras, espacios y / - ? : ( ) . , ' +.";
    if (mandato.size() > kMaxReferencia)
        return "la referencia del mandato tiene " + std::to_string(mandato.size()) +
               " caracteres, y admite 35 como mucho.";
    if (!BarrasAdmitidas(mandato))
        return "la referencia del mandato no puede empezar ni acabar por «/» ni llevar «//».";
    return {};
}

std::string ComprobarFechaMandato(Fecha mandato, Fecha cobro) {
    if (!mandato.ok())
        return "falta la fecha en que se firmó el mandato, o no es una fecha que exista.";
    if (std::chrono::sys_days(mandato) > std::chrono::sys_days(cobro))
        return "el mandato se firmó el " + TextoFecha(mandato) +
               ", después de la fecha de cobro (" + TextoFecha(cobro) + ").";
    return {};
}

std::string ComprobarFirmaMandato(Fecha mandato, Fecha hoy) {
    if (mandato.ok() && std::chrono::sys_days(mandato) > std::chrono::sys_days(hoy))
        return "el mandato se firmó el " + TextoFecha(mandato) + ", después de hoy (" +
               TextoFecha(hoy) + ").";
    return {};
}

std::string ComprobarNombre(std::string_view nombre, std::string_view falta) {
    if (TextoSepa(nombre).empty())
        return std::string(falta);
    const std::size_t caracteres = Caracteres(SinEspaciosAlrededor(nombre));
    if (caracteres > kMaxNombre)
        return "tiene " + std::to_string(caracteres) + " caracteres, y admite 70 como mucho.";
    return {};
}

std::string ComprobarTitular(std::string_view titular) {
    return ComprobarNombre(titular, "falta el titular de la cuenta.");
}

std::string ComprobarNumero(std::string_view numero) {
    const std::string referencia = TextoSepa(numero);
    if (referencia.size() > kMaxReferencia)
        return "el número del recibo tiene " + std::to_string(referencia.size()) +
               " caracteres, y el banco admite 35 como mucho.";
    if (!BarrasAdmitidas(referencia))
        return "el número del recibo no puede empezar ni acabar por «/» ni llevar «//».";
    return {};
}

std::optional<Problema> ComprobarDireccion(const Direccion& d, std::string_view iban) {
    const bool obligatoria = CuentaFueraDelEee(iban);
    // Inside the area an address is not written, so whatever it holds cannot harm the file.
    if (!obligatoria)
        return std::nullopt;
    const std::string poblacion = SinEspaciosAlrededor(d.poblacion);
    const std::string pais = Mayusculas(NormalizarCodigo(d.pais));
    if (TextoSepa(poblacion).empty())
        return En("Población", "falta la población del deudor, obligatoria para una cuenta "
                               "fuera del Espacio Económico Europeo.");
    // Measured as written, once in the banks' set.
    if (const std::size_t n = TextoSepa(poblacion).size(); n > kMaxPoblacion)
        return En("Población", "la población tiene " + std::to_string(n) +
                                   " caracteres, y el banco admite 35 como mucho.");
    if (pais.empty())
        return En("País", "falta el país del deudor, obligatorio para una cuenta fuera del "
                          "Espacio Económico Europeo.");
    if (pais.size() != 2 ||
        !std::all_of(pais.begin(), pais.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return En("País", "«" + pais +
                              "» no es un código de país: escriba sus dos letras "
                              "(CH, GB, AD...).");
    if (d.lineas.size() > kMaxLineasDireccion)
        return En("Dirección",
                  "la dirección tiene " + std::to_string(d.lineas.size()) +
                      " líneas, y el banco admite 2 además de la población y el país.");
    for (const std::string& linea : d.lineas)
        if (const std::size_t n = TextoSepa(linea).size(); n > kMaxLineaDireccion)
            return En("Dirección", "una línea de la dirección tiene " + std::to_string(n) +
                                       " caracteres, y el banco admite 70 como mucho.");
    return std::nullopt;
}

std::optional<Problema> ComprobarAdeudo(const Adeudo& a, Fecha cobro, Fecha hoy) {
    if (auto p = En("Número", ComprobarNumero(a.numero)))
        return p;
    if (auto p = En("Total", ComprobarTotal(a.total)))
        return p;
    if (auto p = En("Titular", ComprobarTitular(a.titular)))
        return p;
    if (auto p = En("IBAN", ComprobarIban(a.iban)))
        return p;
    if (auto p = En("BIC", ComprobarBicDeCuenta(a.iban, a.bic)))
        return p;
    if (auto p = ComprobarDireccion(a.direccion, a.iban))
        return p;
    if (auto p = En("Mandato", ComprobarMandato(a.mandato)))
        return p;
    if (auto p = En("Fecha del mandato", ComprobarFechaMandato(a.fechaMandato, cobro)))
        return p;
    return En("Fecha del mandato", ComprobarFirmaMandato(a.fechaMandato, hoy));
}

std::optional<Problema> ComprobarAcreedor(const Acreedor& a) {
    if (auto p = En("Nombre", ComprobarNombre(a.nombre, "falta el nombre del acreedor.")))
        return p;
    if (auto p = En("Identificador", ComprobarIdentificadorAcreedor(a.identificador)))
        return p;
    if (auto p = En("IBAN", ComprobarIban(a.iban)))
        return p;
    if (!NormalizarCodigo(a.bic).empty())
        return En("BIC", ComprobarBic(a.bic));
    return std::nullopt;
}

std::vector<std::optional<std::size_t>> MandatosConOtraCuenta(const std::vector<Adeudo>& adeudos) {
    // Per reference, its first debit and the first whose IBAN differs from that one's: the
    // first debit with an IBAN other than any given one's is one of these two.
    struct Primeros {
        std::size_t primero;
        std::optional<std::size_t> otraCuenta;
    };
    std::vector<std::string> mandatos, ibanes;
    mandatos.reserve(adeudos.size());
    ibanes.reserve(adeudos.size());
    for (const Adeudo& a : adeudos) {
        mandatos.push_back(SinEspaciosAlrededor(a.mandato));
        ibanes.push_back(NormalizarCodigo(a.iban));
    }
    std::map<std::string_view, Primeros> porMandato;
    for (std::size_t i = 0; i < adeudos.size(); ++i) {
        if (mandatos[i].empty())
            continue; // refused on its own
        const auto [it, nuevo] = porMandato.try_emplace(mandatos[i], Primeros{i, {}});
        if (!nuevo && !it->second.otraCuenta && ibanes[i] != ibanes[it->second.primero])
            it->second.otraCuenta = i;
    }
    std::vector<std::optional<std::size_t>> otros(adeudos.size());
    for (std::size_t i = 0; i < adeudos.size(); ++i) {
        if (mandatos[i].empty())
            continue;
        const Primeros& p = porMandato.at(mandatos[i]);
        otros[i] = ibanes[i] != ibanes[p.primero] ? std::optional(p.primero) : p.otraCuenta;
    }
    return otros;
}

std::string MandatoConOtraCuenta(std::string_view mandato, std::string_view otro) {
    return "la referencia del mandato «" + SinEspaciosAlrededor(mandato) + "» es también la " +
           std::string(otro) + ", que tiene otro IBAN: un mandato es de una sola cuenta.";
}

Acreedor Normalizado(Acreedor a) {
    a.nombre = SinEspaciosAlrededor(a.nombre);
    a.identificador = NormalizarCodigo(a.identificador);
    a.iban = NormalizarCodigo(a.iban);
    a.bic = NormalizarCodigo(a.bic);
    return a;
}

} // namespace sepa
