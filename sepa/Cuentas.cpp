#include "sepa/Cuentas.h"

#include "sepa/TextoSepa.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace sepa {

namespace {

struct Pais {
    std::string_view codigo;
    std::string_view nombre;
    std::size_t longitudIban;
};

// The IBAN countries of the SEPA schemes (territories such as the Canary Islands, the
// French overseas departments or Åland use the IBAN of their state; Jersey, Guernsey and the
// Isle of Man use the British one, Saint-Pierre-et-Miquelon the French one).
constexpr std::array<Pais, 41> kPaises{{
    {"AD", "Andorra", 24},    {"AL", "Albania", 28},          {"AT", "Austria", 20},
    {"BE", "Bélgica", 16},    {"BG", "Bulgaria", 22},         {"CH", "Suiza", 21},
    {"CY", "Chipre", 28},     {"CZ", "Chequia", 24},          {"DE", "Alemania", 22},
    {"DK", "Dinamarca", 18},  {"EE", "Estonia", 20},          {"ES", "España", 24},
    {"FI", "Finlandia", 18},  {"FR", "Francia", 27},          {"GB", "el Reino Unido", 22},
    {"GI", "Gibraltar", 23},  {"GR", "Grecia", 27},           {"HR", "Croacia", 21},
    {"HU", "Hungría", 28},    {"IE", "Irlanda", 22},          {"IS", "Islandia", 26},
    {"IT", "Italia", 27},     {"LI", "Liechtenstein", 21},    {"LT", "Lituania", 20},
    {"LU", "Luxemburgo", 20}, {"LV", "Letonia", 21},          {"MC", "Mónaco", 27},
    {"MD", "Moldavia", 24},   {"ME", "Montenegro", 22},       {"MK", "Macedonia del Norte", 19},
    {"MT", "Malta", 31},      {"NL", "los Países Bajos", 18}, {"NO", "Noruega", 15},
    {"PL", "Polonia", 28},    {"PT", "Portugal", 25},         {"RO", "Rumanía", 24},
    {"SE", "Suecia", 24},     {"SI", "Eslovenia", 19},        {"SK", "Eslovaquia", 24},
    {"SM", "San Marino", 27}, {"VA", "el Vaticano", 22},
}};

// The IBAN countries above outside the European Economic Area: their banks are named by
// their BIC in every debit.
constexpr std::array<std::string_view, 11> kFueraDelEee{"AD", "AL", "CH", "GB", "GI", "MC",
                                                        "MD", "ME", "MK", "SM", "VA"};

const Pais* BuscarPais(std::string_view codigo) {
    const auto it = std::find_if(kPaises.begin(), kPaises.end(),
                                 [&](const Pais& p) { return p.codigo == codigo; });
    return it == kPaises.end() ? nullptr : &*it;
}

bool EsCifra(char c) {
    return c >= '0' && c <= '9';
}
bool EsLetra(char c) {
    return c >= 'A' && c <= 'Z';
}
bool EsLetraOCifra(char c) {
    return EsCifra(c) || EsLetra(c);
}
bool SoloCifras(std::string_view s) {
    return std::all_of(s.begin(), s.end(), EsCifra);
}

// The remainder by 97 of the number that `texto` spells with A = 10 ... Z = 35 (ISO 7064
// mod 97-10, as IBANs and creditor identifiers use it), one digit at a time.
int Resto97(std::string_view texto) {
    std::uint32_t resto = 0;
    for (const char c : texto) {
        if (EsCifra(c)) {
            resto = (resto * 10 + std::uint32_t(c - '0')) % 97;
        } else {
            const auto valor = std::uint32_t(c - 'A' + 10);
            resto = (resto * 100 + valor) % 97;
        }
    }
    return int(resto);
}

std::string DosCifras(int n) {
    return {char('0' + n / 10), char('0' + n % 10)};
}

// The check digits that make `resto97(cuerpo + pais + "00")` come out as 1.
std::string DigitosDeControl(std::string_view cuerpo, std::string_view pais) {
    std::string texto(cuerpo);
    texto.append(pais);
    texto.append("00");
    return DosCifras(98 - Resto97(texto));
}

// A Spanish account's check digit over ten digits, weights 1, 2, 4, 8, 5, 10, 9, 7, 3, 6.
int DigitoCuentaEspanola(std::string_view diez) {
    static constexpr std::array<int, 10> kPesos{1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
    int suma = 0;
    for (std::size_t i = 0; i < 10; ++i)
        suma += (diez[i] - '0') * kPesos[i];
    const int d = 11 - suma % 11;
    return d == 11 ? 0 : d == 10 ? 1 : d;
}

// What an IBAN and a creditor identifier share: letters and digits only, and first the two
// letters of a SEPA country, found in `pais`. `cual` and `deCual` name the code.
std::string ComprobarPais(const std::string& codigo, std::string_view cual, std::string_view deCual,
                          const Pais*& pais) {
    if (const std::string ajeno = PrimerCaracterNoAdmitido(codigo, EsLetraOCifra); !ajeno.empty())
        return std::string(cual) + " solo lleva letras y cifras, y este lleva «" + ajeno + "».";
    if (codigo.size() < 2 || !EsLetra(codigo[0]) || !EsLetra(codigo[1]))
        return std::string(cual) + " empieza por las dos letras de su país (ES en España).";
    pais = BuscarPais(std::string_view(codigo).substr(0, 2));
    if (pais == nullptr)
        return "el país «" + codigo.substr(0, 2) + "» " + std::string(deCual) +
               " no es de la zona SEPA, o no es un país.";
    return {};
}

// "de Suiza (CH)", "del Reino Unido (GB)".
std::string DePais(const Pais& p) {
    const bool conEl = p.nombre.starts_with("el ");
    return (conEl ? "del " : "de ") + std::string(p.nombre.substr(conEl ? 3 : 0)) + " (" +
           std::string(p.codigo) + ")";
}

std::string ComprobarCuentaEspanola(std::string_view bban) {
    if (!SoloCifras(bban))
        return "una cuenta española solo lleva cifras después de «ES» y los dígitos de control.";
    const std::string primera = "00" + std::string(bban.substr(0, 8));
    const int dc1 = DigitoCuentaEspanola(primera);
    const int dc2 = DigitoCuentaEspanola(bban.substr(10, 10));
    if (bban[8] - '0' != dc1 || bban[9] - '0' != dc2)
        return "los dígitos de control de la cuenta (las cifras 13 y 14 del IBAN) no "
               "corresponden a la entidad, la oficina y el número de cuenta.";
    return {};
}

} // namespace

std::string NormalizarCodigo(std::string_view codigo) {
    std::string limpio;
    limpio.reserve(codigo.size());
    for (const char c : codigo) {
        if (c == ' ' || c == '\t')
            continue;
        limpio.push_back(c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
    }
    return limpio;
}

std::string ComprobarIban(std::string_view tecleado) {
    const std::string iban = NormalizarCodigo(tecleado);
    if (iban.empty())
        return "falta el IBAN.";
    const Pais* pais = nullptr;
    if (std::string falta = ComprobarPais(iban, "un IBAN", "del IBAN", pais); !falta.empty())
        return falta;
    if (iban.size() != pais->longitudIban)
        return "un IBAN " + DePais(*pais) + " tiene " + std::to_string(pais->longitudIban) +
               " caracteres, y este tiene " + std::to_string(iban.size()) + ".";
    if (!EsCifra(iban[2]) || !EsCifra(iban[3]))
        return "los dígitos de control (el tercer y el cuarto carácter) deben ser cifras.";
    const std::string_view bban = std::string_view(iban).substr(4);
    if (Resto97(std::string(bban) + iban.substr(0, 4)) != 1)
        return "los dígitos de control no corresponden al resto del IBAN: falta, sobra o "
               "está cambiada alguna cifra.";
    if (pais->codigo == "ES")
        return ComprobarCuentaEspanola(bban);
    return {};
}

std::string ComprobarBic(std::string_view tecleado) {
    const std::string bic = NormalizarCodigo(tecleado);
    if (bic.size() != 8 && bic.size() != 11)
        return "un BIC tiene 8 u 11 caracteres, y este tiene " + std::to_string(bic.size()) + ".";
    // As the bank's schema has it: the place's second character is never "O" (a letter
    // "O" there marks a test code) and its first is never "0" or "1".
    const bool forma = std::all_of(bic.begin(), bic.begin() + 6, EsLetra) &&
                       (EsLetra(bic[6]) || (bic[6] >= '2' && bic[6] <= '9')) &&
                       EsLetraOCifra(bic[7]) && bic[7] != 'O' &&
                       std::all_of(bic.begin() + 8, bic.end(), EsLetraOCifra);
    if (!forma)
        return "un BIC lleva cuatro letras del banco, dos del país, dos letras o cifras de la "
               "plaza y, si acaso, tres de la oficina.";
    return {};
}

std::string ComprobarBicDeCuenta(std::string_view iban, std::string_view bic) {
    if (!NormalizarCodigo(bic).empty())
        return ComprobarBic(bic);
    if (!ComprobarIban(iban).empty())
        return {};
    const std::string codigo = NormalizarCodigo(iban);
    const Pais* pais = BuscarPais(std::string_view(codigo).substr(0, 2));
    if (std::find(kFueraDelEee.begin(), kFueraDelEee.end(), pais->codigo) == kFueraDelEee.end())
        return {};
    return "falta el BIC, que es obligatorio para una cuenta " + DePais(*pais) +
           ", fuera del Espacio Económico Europeo.";
}

bool CuentaFueraDelEee(std::string_view iban) {
    if (!ComprobarIban(iban).empty())
        return false;
    const std::string codigo = NormalizarCodigo(iban);
    return std::find(kFueraDelEee.begin(), kFueraDelEee.end(),
                     std::string_view(codigo).substr(0, 2)) != kFueraDelEee.end();
}

std::string ComprobarIdentificadorAcreedor(std::string_view tecleado) {
    const std::string id = NormalizarCodigo(tecleado);
    if (id.empty())
        return "falta el identificador del acreedor.";
    const Pais* pais = nullptr;
    if (std::string falta = ComprobarPais(id, "el identificador", "del identificador", pais);
        !falta.empty())
        return falta;
    if (pais->codigo == "ES" && id.size() != 16)
        return "un identificador de acreedor español tiene 16 caracteres (ES, dos dígitos de "
               "control, tres de sufijo y los nueve del NIF), y este tiene " +
               std::to_string(id.size()) + ".";
    if (id.size() < 8 || id.size() > 35)
        return "un identificador de acreedor tiene entre 8 y 35 caracteres, y este tiene " +
               std::to_string(id.size()) + ".";
    if (!EsCifra(id[2]) || !EsCifra(id[3]))
        return "los dígitos de control (el tercer y el cuarto carácter) deben ser cifras.";
    const std::string_view nif = std::string_view(id).substr(7);
    const std::string debidos = DigitosDeControl(nif, pais->codigo);
    if (id.substr(2, 2) != debidos)
        return "los dígitos de control «" + id.substr(2, 2) + "» no corresponden al NIF «" +
               std::string(nif) + "»: con ese NIF serían «" + debidos +
               "». Compruebe el NIF y los dígitos.";
    return {};
}

} // namespace sepa
