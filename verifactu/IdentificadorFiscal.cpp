#include "verifactu/IdentificadorFiscal.h"

#include <algorithm>

namespace verifactu {

namespace {

// The letter of a DNI or NIE number: the number modulo 23 indexes this table.
constexpr std::string_view kLetrasDni = "TRWAGMYFPDXBNJZSQVHLCKE";
// The control letter of an organisation: J is 0, A is 1 ... I is 9.
constexpr std::string_view kLetrasCif = "JABCDEFGHI";

bool SonCifras(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

char LetraDni(std::string_view ochoCifras) {
    long numero = 0;
    for (char c : ochoCifras)
        numero = numero * 10 + (c - '0');
    return kLetrasDni[std::size_t(numero % 23)];
}

// The control digit of seven digits: the digits in even places added, those in odd places
// doubled and their digits added, and what takes the sum up to a multiple of ten.
int ControlCif(std::string_view sieteCifras) {
    int suma = 0;
    for (std::size_t i = 0; i < 7; ++i) {
        const int d = sieteCifras[i] - '0';
        if (i % 2 == 0) {
            const int doble = 2 * d;
            suma += doble / 10 + doble % 10;
        } else {
            suma += d;
        }
    }
    return (10 - suma % 10) % 10;
}

bool CifValido(std::string_view s) {
    const char tipo = s[0];
    const std::string_view cifras = s.substr(1, 7);
    const char control = s[8];
    if (std::string_view("ABCDEFGHJNPQRSUVW").find(tipo) == std::string_view::npos ||
        !SonCifras(cifras))
        return false;
    const int digito = ControlCif(cifras);
    const char comoCifra = char('0' + digito);
    const char comoLetra = kLetrasCif[std::size_t(digito)];
    // Public bodies, religious bodies, foreign organisations and non-resident entities (and
    // those whose number starts 00, the non-residents) carry a letter; companies and the
    // other civil forms (A, B, E, H) a digit; the rest either.
    if (std::string_view("NPQRSW").find(tipo) != std::string_view::npos ||
        cifras.substr(0, 2) == "00")
        return control == comoLetra;
    if (std::string_view("ABEH").find(tipo) != std::string_view::npos)
        return control == comoCifra;
    return control == comoCifra || control == comoLetra;
}

} // namespace

std::string NormalizarIdentificador(std::string_view texto) {
    std::string r;
    for (char c : texto) {
        if (c == ' ' || c == '-' || c == '.' || c == '\t')
            continue;
        r += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    }
    return r;
}

ClaseIdentificador ClasificarIdentificador(std::string_view s) {
    if (s.size() != 9)
        return ClaseIdentificador::Ninguna;
    const char primero = s[0];
    if (SonCifras(s.substr(0, 8)))
        return LetraDni(s.substr(0, 8)) == s[8] ? ClaseIdentificador::Nif
                                                : ClaseIdentificador::Ninguna;
    if (primero == 'X' || primero == 'Y' || primero == 'Z') {
        if (!SonCifras(s.substr(1, 7)))
            return ClaseIdentificador::Ninguna;
        // X, Y and Z stand for 0, 1 and 2 in front of the seven digits.
        std::string numero(1, char('0' + (primero - 'X')));
        numero += s.substr(1, 7);
        return LetraDni(numero) == s[8] ? ClaseIdentificador::Nie : ClaseIdentificador::Ninguna;
    }
    return CifValido(s) ? ClaseIdentificador::Cif : ClaseIdentificador::Ninguna;
}

std::string MotivoIdentificador(std::string_view texto) {
    const std::string s = NormalizarIdentificador(texto);
    if (s.empty())
        return "Falta el NIF.";
    if (s.size() != 9)
        return "Un NIF tiene 9 caracteres, y este tiene " + std::to_string(s.size()) + ".";
    if (ClasificarIdentificador(s) == ClaseIdentificador::Ninguna)
        return "El NIF «" + s + "» no es válido: revise sus cifras y su letra.";
    return {};
}

} // namespace verifactu
