#include "verifactu/Productor.h"

namespace verifactu {

const Productor& ProductorDeLaCompilacion() {
    static const Productor productor{
        TALVERO_PRODUCTOR_NOMBRE, TALVERO_PRODUCTOR_NIF,    TALVERO_PRODUCTOR_DIRECCION, "Talvero",
        TALVERO_ID_SISTEMA,       TALVERO_VERSION_PRODUCTO,
    };
    return productor;
}

SistemaInformatico SistemaDeTalvero(const std::string& numeroInstalacion, bool hayVariosObligados) {
    const Productor& p = ProductorDeLaCompilacion();
    SistemaInformatico s;
    s.nombreRazon = p.nombre;
    s.nif = p.nif;
    s.nombreSistema = p.nombreSistema;
    s.idSistema = p.idSistema;
    s.version = p.version;
    s.numeroInstalacion = numeroInstalacion;
    s.soloVerifactu = true;
    s.multiplesObligados = true;
    s.hayVariosObligados = hayVariosObligados;
    return s;
}

} // namespace verifactu
