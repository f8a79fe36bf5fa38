// The key of the stored link texts, shared by the reader (ObtenerEnlace) and the offline
// tool that produces the stored texts.
//
// Each link character is stored as three characters s, u, t. The key digit is
// kPermutacion[(digit of s + group index) mod 10]; it is added in even groups and taken
// away in odd ones. The character is code(u) + 10 × code(t) − key term − kDesplazamiento,
// taken modulo 256. With u and t digits, code(u) + 10 × code(t) runs from 528 to 627, so
// the stored texts consist of digits only.
#pragma once

#include <array>
#include <cstddef>

namespace moneda::enlace {

inline constexpr std::array<int, 10> kPermutacion = {7, 3, 9, 0, 5, 1, 8, 2, 6, 4};
inline constexpr int kDesplazamiento = 496;

// The selector digit of a stored character: its digit value for "0".."9"; any other byte
// is reduced to 0..9 as well, so every input has some reading.
inline int DigitoSelector(unsigned char c)
{
    // 260 is a multiple of 10 above '0', so the sum stays positive and digits keep their value.
    return static_cast<int>((c + 260u - static_cast<unsigned>('0')) % 10u);
}

// +1 in even groups, -1 in odd ones.
inline int SignoClave(std::size_t grupo)
{
    return grupo % 2 == 0 ? 1 : -1;
}

inline int Clave(unsigned char selector, std::size_t grupo)
{
    return kPermutacion[(static_cast<std::size_t>(DigitoSelector(selector)) + grupo) % 10];
}

} // namespace moneda::enlace
