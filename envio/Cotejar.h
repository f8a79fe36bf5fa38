// The agency's answer to one submission, record by record: each line of the answer matched to
// the record it names (the invoice and whether it is an alta or an anulación; two records of
// one invoice and kind are matched in the order they went) and turned into the state the
// register keeps. A record the agency already holds (code 3000) counts as accepted, with the
// state of the one it holds; a record that no line names stays pending.
#pragma once

#include "register/RegistroFacturacion.h"
#include "verifactu/Respuesta.h"

#include <vector>

namespace envio {

std::vector<registro::EstadoDeRegistro>
EstadosDeLaRespuesta(const std::vector<registro::RegistroFacturacion>& lote,
                     const verifactu::Respuesta& respuesta);

// "el recibo 2026/31" or "la anulación del recibo 2026/31", for the messages.
QString NombreDelRegistro(const verifactu::Registro& registro);

} // namespace envio
