#include "verifactu/CodigoQr.h"

#include <QtCore/QByteArray>

#include <qrencode.h>

#include <memory>

namespace verifactu {

namespace {

constexpr std::string_view kCotejoProduccion =
    "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR";
constexpr std::string_view kCotejoPruebas = "https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR";

QByteArray Codificado(std::string_view valor) {
    return QByteArray(valor.data(), qsizetype(valor.size())).toPercentEncoding();
}

} // namespace

QByteArray UrlCotejo(const IdFactura& factura, std::string_view importeTotal, Entorno entorno) {
    const std::string_view base =
        entorno == Entorno::Produccion ? kCotejoProduccion : kCotejoPruebas;
    QByteArray url(base.data(), qsizetype(base.size()));
    url += "?nif=" + Codificado(factura.emisor);
    url += "&numserie=" + Codificado(factura.numSerie);
    url += "&fecha=" + Codificado(factura.fecha);
    url += "&importe=" + Codificado(importeTotal);
    return url;
}

MatrizQr CodificarQr(const QByteArray& texto) {
    // Byte mode over the whole text, the smallest version that holds it.
    const std::unique_ptr<QRcode, void (*)(QRcode*)> qr(
        QRcode_encodeString8bit(texto.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!qr)
        return {};
    const int lado = qr->width;
    std::vector<std::uint8_t> oscuros(std::size_t(lado) * std::size_t(lado));
    // Bit 0 of each of libqrencode's bytes is the module's colour; the others say what the
    // module is part of.
    for (std::size_t i = 0; i < oscuros.size(); ++i)
        oscuros[i] = qr->data[i] & 1;
    return MatrizQr(lado, std::move(oscuros));
}

} // namespace verifactu
