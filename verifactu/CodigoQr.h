// The QR code a receipt carries so that its payer can check it with the tax agency: the
// agency's checking address with the invoice's issuer, series and number, date and total,
// and the code's modules, error correction level M, as a square grid that the page draws
// as filled rectangles at any size.
#pragma once

#include "verifactu/Registro.h"

#include <QtCore/QByteArray>

#include <cstdint>
#include <string_view>
#include <vector>

namespace verifactu {

// Where the records go: the tax agency's real service, or its test service.
enum class Entorno { Produccion, Pruebas };

// The address with its four parameters nif, numserie, fecha and importe in that order, each
// value percent-encoded over UTF-8. `importeTotal` is the record's ImporteTotal text.
QByteArray UrlCotejo(const IdFactura& factura, std::string_view importeTotal, Entorno entorno);

// The modules of a QR code, without the quiet zone that the page leaves around them.
class MatrizQr {
public:
    MatrizQr() = default;
    MatrizQr(int lado, std::vector<std::uint8_t> oscuros)
        : lado_(lado), oscuros_(std::move(oscuros)) {}

    int Lado() const { return lado_; } // modules per side; 0 when nothing could be encoded
    bool Oscuro(int fila, int columna) const {
        return oscuros_[std::size_t(fila) * std::size_t(lado_) + std::size_t(columna)] != 0;
    }

private:
    int lado_ = 0;
    std::vector<std::uint8_t> oscuros_;
};

MatrizQr CodificarQr(const QByteArray& texto);

} // namespace verifactu
