// One printed receipt: the record the print command fills from the form, and the
// renderer that draws it on one page in 0.1 mm units.
#pragma once

#include "amounts/moneda.h"
#include "receipt/MarcaQr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace page {
class PageSurface;
class Picture;
} // namespace page

// Colours are packed as 0x00BBGGRR.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}

// The frame fill for a colour name of the form ("AZUL", "GRIS", "MARRÓN", "VERDE"); any
// other text gives the blue of "AZUL". Exact, case-sensitive comparison.
ColorRef ColorDeNombre(std::string_view nombre);

// Only the exact fill name "SOLIDO" fills solid; anything else is cross-hatched.
bool EsRellenoSolido(std::string_view relleno);

class CRecibo {
public:
    CRecibo() = default;
    // Out of line, so that the class's type and table of functions live in one library.
    virtual ~CRecibo();

    // Draws the receipt on a started page. Rewrites the three percentage texts into their
    // printed labels, so a record is drawn once.
    void Dibujar(page::PageSurface& page);

    static std::string NombreMes(std::int32_t numero);

    // Loads the program's picture `recurso` through the page for the logo strip; false, with
    // `imagen` empty, when it cannot be loaded. Pages that are not palette-based (all of
    // ours) need no palette of their own, so none is built.
    static bool CargarLogotipo(page::PageSurface& page, int recurso,
                               std::unique_ptr<page::Picture>& imagen);

    // The picture of the logo strip: 300 x 750 pixels, copied at 0.1 mm a pixel.
    static constexpr int IDB_LOGOTIPO = 136;

    // How every print job of a receipt is listed in the printer queue.
    static constexpr std::string_view NOMBRE_TRABAJO = "Talvero: Imprimiento Recibo";

    std::int32_t m_Logotipo = 0;
    ColorRef m_ColorFondo = Rgb(200, 255, 255);
    std::int32_t m_Solido = 0;
    std::string m_Cobrador1, m_Cobrador2;
    std::string m_Direccion;
    std::string m_Localidad;
    std::string m_Vencimiento;
    std::string m_Pagador1, m_Pagador2;
    std::string m_Numero;
    std::string m_Irpf, m_Re, m_Iva;
    moneda::Fecha m_Fecha;
    moneda::Currency m_ImporteIva, m_ImporteIrpf, m_ImporteRe;
    moneda::Currency m_Importe1, m_Importe2, m_Importe3, m_Importe4, m_Importe5;
    std::string m_Concepto1, m_Concepto2, m_Concepto3, m_Concepto4, m_Concepto5;
    // Set only on an invoice that carries the tax agency's records: drawn at the top of the
    // page, with the form moved down to make room. Not part of what the register stores.
    MarcaQr m_Qr;
};
