// The items of the three percentage lists (IVA, RE, IRPF). The user may choose them; each
// list is kept in the settings as one text of percentages separated by ";" ("0;4;10;21").
// Whoever needs to know what percentages a receipt may carry (the form, a list of
// receipts read from a spreadsheet) asks here, so that one rule decides.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tipos {

enum class Impuesto { Iva, Re, Irpf };
inline constexpr std::array<Impuesto, 3> kImpuestos{Impuesto::Iva, Impuesto::Re, Impuesto::Irpf};

// The three lists, indexed by Impuesto: IVA, RE, IRPF.
using Listas = std::array<std::vector<std::string>, 3>;

// The lists the program has always had: IVA 0, 4, 7, 16; RE 0, 0,5, 1, 1,75, 4; IRPF 0, 15, 18.
std::vector<std::string> Originales(Impuesto impuesto);
// Spain's rates today: IVA 0, 4, 10, 21; RE 0, 0,5, 1,4, 1,75, 5,2; IRPF 0, 1, 2, 7, 15, 19.
std::vector<std::string> Vigentes(Impuesto impuesto);

// One item as the computation reads it, in its shortest text ("07" is "7", "0,50" is
// "0,5"), or nothing when it does not qualify: IVA and IRPF a whole number from 0 to 99; RE
// a number from 0 to 99 with at most two decimals after ",". Spaces around it are trimmed.
std::optional<std::string> Normalizar(Impuesto impuesto, std::string_view item);

// Why an item does not qualify, as a Spanish sentence for the user ("Use la coma para los
// decimales, no el punto."); empty when Normalizar accepts it.
std::string Motivo(Impuesto impuesto, std::string_view item);

// A qualifying item in hundredths of a percent ("5,2" is 520), read from its digits. The
// program's RE percentage has always been read as a double and cut to hundredths, which
// gives one hundredth less for some texts ("2,3" would be 229); the digits are exact.
std::optional<std::int32_t> Centesimas(Impuesto impuesto, std::string_view item);

// Whether a list holds the original items, in whatever order.
bool SonOriginales(Impuesto impuesto, const std::vector<std::string>& items);

// A list from its stored text: items that do not qualify and repeated ones are dropped and
// "0" is always present; a text with no valid item gives Originales.
std::vector<std::string> DesdeTexto(Impuesto impuesto, std::string_view texto);

// The stored text of a list: its items joined by ";".
std::string ATexto(const std::vector<std::string>& items);

} // namespace tipos
