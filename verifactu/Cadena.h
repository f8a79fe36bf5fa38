// Checks a chain of records as they were kept: each huella recomputed from its record, and
// each record linked to the one before it. It answers whether anything was changed,
// removed or inserted after the records were generated.
#pragma once

#include "verifactu/Registro.h"

#include <cstddef>
#include <string>
#include <vector>

namespace verifactu {

struct ResultadoCadena {
    bool correcta = true;
    std::size_t registro = 0; // the first record that fails, counting from 0
    std::string motivo;       // why, as a Spanish sentence naming the record by its invoice
};

ResultadoCadena VerificarCadena(const std::vector<Registro>& cadena);

} // namespace verifactu
