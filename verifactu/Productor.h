// Who distributes this build of Talvero, as the tax agency's records and the producer's
// statement name them. These are build settings (CMake cache variables TALVERO_PRODUCTOR_*),
// the distributor's to fill in: without a producer NIF the records may only go to the
// agency's test service. Standard C++.
#pragma once

#include "verifactu/Registro.h"

#include <string>

namespace verifactu {

struct Productor {
    std::string nombre;        // TALVERO_PRODUCTOR_NOMBRE
    std::string nif;           // TALVERO_PRODUCTOR_NIF; empty: a build for trying it out
    std::string direccion;     // TALVERO_PRODUCTOR_DIRECCION, the postal address
    std::string nombreSistema; // "Talvero"
    std::string idSistema;     // TALVERO_ID_SISTEMA, two characters A-Z (not Ñ) or 0-9
    std::string version;       // the build's version
};

const Productor& ProductorDeLaCompilacion();

// The SistemaInformatico block of every record of this installation: the producer's data,
// VERI*FACTU only (the program offers no other mode), able to keep several issuers (an
// office register may), and whether it keeps several now.
SistemaInformatico SistemaDeTalvero(const std::string& numeroInstalacion, bool hayVariosObligados);

} // namespace verifactu
