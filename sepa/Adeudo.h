// One remittance of SEPA Core direct debits as this program builds it: the creditor (the
// user, from the settings), the collection date and one debit per receipt. Standard C++.
//
// The row checks return "" or a Spanish reason that follows the field's name, without any
// row: the list of receipts writes «Fila 7, IBAN: los dígitos de control…».
#pragma once

#include "amounts/Currency.h"
#include "sepa/Calendario.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CRecibo;

namespace sepa {

// The sequence of a debit under its mandate; the file groups debits by it, in this order.
enum class Secuencia { FRST, RCUR, OOFF, FNAL };
inline constexpr std::array kSecuencias{Secuencia::FRST, Secuencia::RCUR, Secuencia::OOFF,
                                        Secuencia::FNAL};

std::string_view CodigoSecuencia(Secuencia s); // "FRST", ...
// "FRST", "RCUR", "OOFF" or "FNAL" in any case and with spaces around; an empty text is
// RCUR. Anything else gives nothing.
std::optional<Secuencia> LeerSecuencia(std::string_view texto);
std::string ComprobarSecuencia(std::string_view texto);

// Limits of the bank's format, in characters.
inline constexpr std::size_t kMaxNombre = 70;
inline constexpr std::size_t kMaxReferencia = 35;
inline constexpr std::size_t kMaxConcepto = 140;
inline constexpr std::size_t kMaxPoblacion = 35;
inline constexpr std::size_t kMaxLineaDireccion = 70;
inline constexpr std::size_t kMaxLineasDireccion = 2;
// The largest amount of one SEPA debit, 999.999.999,99 euros, in cents.
inline constexpr std::int64_t kMaxCentimos = 99'999'999'999;

struct Acreedor {
    std::string nombre;        // at most 70 characters
    std::string identificador; // SEPA creditor identifier, ESxx000B12345674
    std::string iban;
    std::string bic; // optional
};

// The debtor's postal address, as the banks take it from 15 November 2026: town and country
// as fields of their own and, besides, at most two lines (street, number, postcode...) that
// do not repeat them. Only the debits of an account outside the European Economic Area
// carry it into the file; for any other it is neither checked nor written.
struct Direccion {
    std::string poblacion;
    std::string pais; // ISO 3166 code of two letters: "CH", "GB"
    std::vector<std::string> lineas;
    bool Vacia() const { return poblacion.empty() && pais.empty() && lineas.empty(); }
};

struct Adeudo {
    std::string numero;                 // the receipt's number: the debit's end-to-end id
    moneda::Currency total;             // the receipt's total, as the form computed it
    std::vector<std::string> conceptos; // the receipt's concept lines, empty ones included
    std::string titular;                // the account holder
    std::string iban;
    std::string bic; // optional
    std::string mandato;
    Fecha fechaMandato;
    Secuencia secuencia = Secuencia::RCUR;
    Direccion direccion; // see Direccion
};

struct Remesa {
    Acreedor acreedor;
    Fecha fechaCobro;
    std::vector<Adeudo> adeudos;
};

// A debit of the receipt: its number, its total exactly as printed, its concepts and, as
// account holder, the payer's first line. The bank's fields are left for the caller.
Adeudo AdeudoDelRecibo(const CRecibo& recibo);

// The total as printed, in cents: the form's total rounded once to the cent, half away from
// zero. Nothing for an amount that is not valid.
std::optional<std::int64_t> Centimos(const moneda::Currency& total);

// --- Checks of one field --------------------------------------------------------------
std::string ComprobarTotal(const moneda::Currency& total);
// At most 35 characters of the SEPA set, neither starting nor ending with "/" and without
// "//" (the banks refuse references like that).
std::string ComprobarMandato(std::string_view mandato);
std::string ComprobarFechaMandato(Fecha mandato, Fecha cobro);
// A mandate is signed before the file that collects it is made: not after today.
std::string ComprobarFirmaMandato(Fecha mandato, Fecha hoy);
// A name of at most 70 characters; what is outside the SEPA set is converted, not refused.
std::string ComprobarNombre(std::string_view nombre, std::string_view falta);
std::string ComprobarTitular(std::string_view titular);
// The receipt's number as the debit's reference: at most 35 characters once in the SEPA
// set, and the same rule about "/" as the mandate.
std::string ComprobarNumero(std::string_view numero);

// The first fault of a debit or of the creditor, with the field it is in.
struct Problema {
    std::string campo;   // the list's column: "IBAN", "BIC", "Mandato", "Fecha del mandato"...
    std::string mensaje; // a reason as above
};

// The debtor's address of a debit: refused only where the account is outside the European
// Economic Area (sepa/Cuentas.h) and the town or the country is missing, or where what is
// given does not fit the bank's format. The field is "Población", "País" or "Dirección".
std::optional<Problema> ComprobarDireccion(const Direccion& direccion, std::string_view iban);

std::optional<Problema> ComprobarAdeudo(const Adeudo& adeudo, Fecha cobro, Fecha hoy);
std::optional<Problema> ComprobarAcreedor(const Acreedor& acreedor);

// --- Checks across the debits -----------------------------------------------------------
// A mandate is given for one account: for each debit, the first other one with the same
// mandate reference and another IBAN, or nothing (always for a debit without a reference).
std::vector<std::optional<std::size_t>> MandatosConOtraCuenta(const std::vector<Adeudo>& adeudos);
// What is said of a debit whose mandate reference `otro` ("de la fila 3", "del recibo «7»")
// also gives, with another IBAN.
std::string MandatoConOtraCuenta(std::string_view mandato, std::string_view otro);

// The creditor's data as it is written: codes without spaces and upper-cased, the name
// without spaces at the ends.
Acreedor Normalizado(Acreedor acreedor);

} // namespace sepa
