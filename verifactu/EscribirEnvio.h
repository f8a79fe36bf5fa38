// The submission of records to the tax agency as XML: one RegFactuSistemaFacturacion
// element with its Cabecera (whose records they are) and one RegistroFactura for each alta
// or anulación, up to 1000, in the order they were generated. In a real submission this
// element is the body of the SOAP message.
#pragma once

#include "verifactu/Registro.h"

#include <QtCore/QByteArray>

#include <vector>

namespace verifactu {

inline constexpr std::size_t kMaxRegistrosEnvio = 1000;

// What the Cabecera says of a submission besides whose records they are: the last day of
// a mode switched off during the year (dd-mm-yyyy, written as FechaFinVeriFactu), and
// whether these records go late after a technical incident (Incidencia S). Nothing of it
// is written when both are absent.
struct Remision {
    std::string fechaFin;
    bool incidencia = false;
};

// UTF-8 XML, indented by two spaces. The records must already carry their huellas.
QByteArray EscribirEnvio(const ObligadoEmision& obligado, const std::vector<Registro>& registros,
                         const Remision& remision = {});

// The same element as the body of a SOAP 1.1 message, which is what goes to the agency.
QByteArray EscribirSobreSoap(const ObligadoEmision& obligado,
                             const std::vector<Registro>& registros, const Remision& remision);

} // namespace verifactu
