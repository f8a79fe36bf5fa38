// The invoicing records kept in the register (table `registros_facturacion`): one row per
// RegistroAlta or RegistroAnulacion, in the order they were generated, with every field as it
// was generated and hashed, and the state of its sending to the tax agency. A record's fields
// are never changed nor the record deleted (triggers refuse it); only its sending state
// (estado, codigo, descripcion, csv, incidencia, avisado, enviado) moves on. The members of
// registro::Registro that read and store them are declared in register/Registro.h.
#pragma once

#include "verifactu/Registro.h"

#include <QString>
#include <QtGlobal>

namespace registro {

enum class EstadoEnvio { Pendiente, Aceptado, AceptadoConErrores, Rechazado };

struct RegistroFacturacion {
    qint64 id = 0;                // order of generation, ascending
    qint64 recibo = 0;            // the receipt's row; 0 when none
    verifactu::Registro registro; // as generated, with its huella
    EstadoEnvio estado = EstadoEnvio::Pendiente;
    bool incidencia = false;   // an earlier attempt to send it failed for a technical reason
    int codigo = 0;            // the agency's error code, 0 when none
    QString descripcion;       // the agency's text
    QString csv;               // the submission's secure verification code
    bool avisado = false;      // a refusal already reported to the user
    bool datosIntactos = true; // its fields still match the column `control` written with them
};

struct EstadoDeRegistro {
    qint64 id = 0;
    EstadoEnvio estado = EstadoEnvio::Pendiente;
    int codigo = 0;
    QString descripcion;
};

// The state as the column `estado` holds it: "pendiente", "aceptado",
// "aceptado_con_errores", "rechazado".
QString TextoEstado(EstadoEnvio estado);
EstadoEnvio EstadoDeTexto(const QString& texto);

} // namespace registro
