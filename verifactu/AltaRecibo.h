// The alta of an issued receipt: who issued it, its number and date, the payer, and its
// amounts as the receipt prints them, checked for what the tax agency would refuse or
// accept only "with errors". The chain link, the moment and the huella are added when the
// record is generated (Encadenar). Standard C++.
#pragma once

#include "verifactu/DesgloseRecibo.h"
#include "verifactu/Registro.h"

#include <string>

namespace verifactu {

struct DatosAlta {
    IdFactura factura; // the issuer's NIF, the receipt's series and number, its date
    std::string nombreEmisor;
    std::string descripcion;
    Destinatario pagador; // an empty NIF makes the receipt a simplified invoice
    IvaCero ivaCero = IvaCero::Exenta;
    SistemaInformatico sistema;
};

struct ResultadoAlta {
    RegistroAlta registro;
    std::string motivo; // why no record can be made, as a Spanish sentence; empty when it can
};

ResultadoAlta AltaDeRecibo(const DatosAlta& datos, const ImportesRecibo& importes);

} // namespace verifactu
