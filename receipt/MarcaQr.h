// The tax agency's QR code that an invoice carries at the top of its page: the code's
// modules, row by row, without the quiet zone. A receipt that is no invoice has none
// (lado 0) and its page is drawn as it always was. Standard C++.
#pragma once

#include <cstdint>
#include <vector>

struct MarcaQr {
    int lado = 0;                      // modules per side
    std::vector<std::uint8_t> oscuros; // lado * lado, non-zero for a dark module
    bool Vacia() const { return lado <= 0; }
};
