// The records kept and sent for each invoice: the alta of an issued invoice and the
// anulación of one that should not have existed. Plain data; every amount, date and flag is
// held as the exact text that goes into the XML, because the huella is computed from those
// texts and both must agree to the character. Standard C++.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace verifactu {

// Who issued an invoice, its series and number, and its issue date as dd-mm-yyyy.
struct IdFactura {
    std::string emisor;
    std::string numSerie;
    std::string fecha;
    friend bool operator==(const IdFactura&, const IdFactura&) = default;
};

// The link to the record generated just before this one; none for the very first record.
struct RegistroAnterior {
    IdFactura factura;
    std::string huella;
};

// One line of the tax breakdown. A line is taxed (calificacion S1, with its rate and quota)
// or exempt (exencion E1..E6, with only its base); the other of the two stays empty, and so do
// the rate and quota of an exempt line and the RE fields of a line without RE.
struct LineaDesglose {
    std::string claveRegimen = "01";
    std::string calificacion;
    std::string exencion;
    std::string tipoImpositivo;
    std::string base;
    std::string cuota;
    std::string tipoRecargo;
    std::string cuotaRecargo;
};

struct Destinatario {
    std::string nombreRazon;
    std::string nif;
};

// The program and this installation of it, as every record declares them.
struct SistemaInformatico {
    std::string nombreRazon; // who makes the program
    std::string nif;
    std::string nombreSistema;
    std::string idSistema; // two characters
    std::string version;
    std::string numeroInstalacion;
    bool soloVerifactu = false;
    bool multiplesObligados = false; // can keep the invoices of several issuers
    bool hayVariosObligados = false; // keeps them now
};

struct RegistroAlta {
    IdFactura factura;
    std::string nombreRazonEmisor;
    // A new alta of an invoice whose earlier alta the agency refused: Subsanacion "S" and
    // RechazoPrevio "X". Both absent for an ordinary alta.
    bool subsanacion = false;
    std::string rechazoPrevio;
    std::string tipoFactura; // F1 or F2
    std::string descripcion;
    std::optional<Destinatario> destinatario; // F1 only
    std::vector<LineaDesglose> desglose;
    std::string cuotaTotal;
    std::string importeTotal;
    std::optional<RegistroAnterior> anterior;
    SistemaInformatico sistema;
    std::string fechaHoraHuso; // yyyy-mm-ddThh:mm:ss+hh:mm, when the record was generated
    std::string huella;
};

struct RegistroAnulacion {
    IdFactura anulada;
    // The cancelled invoice's alta never reached the agency (SinRegistroPrevio "S").
    bool sinRegistroPrevio = false;
    std::optional<RegistroAnterior> anterior;
    SistemaInformatico sistema;
    std::string fechaHoraHuso;
    std::string huella;
};

using Registro = std::variant<RegistroAlta, RegistroAnulacion>;

// The invoice a record is about: the one issued, or the one cancelled.
inline const IdFactura& FacturaDe(const Registro& r) {
    if (const auto* alta = std::get_if<RegistroAlta>(&r))
        return alta->factura;
    return std::get<RegistroAnulacion>(r).anulada;
}

inline const std::string& HuellaDe(const Registro& r) {
    return std::visit([](const auto& x) -> const std::string& { return x.huella; }, r);
}

inline const std::optional<RegistroAnterior>& AnteriorDe(const Registro& r) {
    return std::visit(
        [](const auto& x) -> const std::optional<RegistroAnterior>& { return x.anterior; }, r);
}

// Who the records of one submission belong to.
struct ObligadoEmision {
    std::string nombreRazon;
    std::string nif;
};

} // namespace verifactu
