// The tax agency's answer to a submission: for the whole of it, the secure verification
// code (CSV, the only proof of the submission: it cannot be asked for again later), how many
// seconds to wait before the next one and its state; for each record, whether it was
// registered, registered with errors that a correction must put right, or refused, with the
// agency's code and text. A message the agency refused whole comes back as a SOAP fault.
#pragma once

#include "verifactu/Registro.h"

#include <QtCore/QByteArray>

#include <string>
#include <vector>

namespace verifactu {

enum class EstadoEnvio { Correcto, ParcialmenteCorrecto, Incorrecto };
enum class EstadoRegistro { Correcto, AceptadoConErrores, Incorrecto };

struct LineaRespuesta {
    IdFactura factura;
    bool anulacion = false; // the record was an anulación, not an alta
    EstadoRegistro estado = EstadoRegistro::Incorrecto;
    int codigo = 0; // the agency's error code; 0 when there is none
    std::string descripcion;
    // A record the agency already had (code 3000): the state of the one it keeps, as it
    // writes it ("Correcta", "AceptadaConErrores", "Anulada"); empty otherwise.
    std::string estadoDuplicado;
};

struct Respuesta {
    std::string csv; // empty when every record was refused
    std::string nifPresentador;
    std::string momentoPresentacion;
    int esperaSegundos = 60;
    EstadoEnvio estado = EstadoEnvio::Incorrecto;
    std::vector<LineaRespuesta> lineas;
};

// A message refused whole: the SOAP fault's code and text. A fault of the server's side
// ("Server") asks to send the same again; one of the client's side means fixing it first.
struct FalloEnvio {
    std::string codigo;
    std::string texto;
    bool reenviarIgual = false;
};

struct LecturaRespuesta {
    enum class Clase { Respuesta, Fallo, Ilegible };
    Clase clase = Clase::Ilegible;
    Respuesta respuesta;
    FalloEnvio fallo;
    std::string error; // why an answer could not be read
};

// Reads the answer alone or inside its SOAP envelope.
LecturaRespuesta LeerRespuesta(const QByteArray& xml);

} // namespace verifactu
