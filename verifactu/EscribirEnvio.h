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

// UTF-8 XML, indented by two spaces. The records must already carry their huellas.
QByteArray EscribirEnvio(const ObligadoEmision& obligado, const std::vector<Registro>& registros);

} // namespace verifactu
