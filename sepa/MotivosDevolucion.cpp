#include "sepa/MotivosDevolucion.h"

#include <algorithm>
#include <array>

namespace sepa {

namespace {

// The usual codes of rejections and returns of SEPA Core debits, with the creditor's reading.
constexpr std::array<MotivoDevolucion, 14> kMotivos{{
    {"AC01", "Cuenta (IBAN) incorrecta", false},
    {"AC04", "Cuenta cancelada", false},
    {"AC06", "Cuenta bloqueada", false},
    {"AG01", "Operación no permitida en la cuenta", false},
    {"AM04", "Saldo insuficiente", true},
    {"AM05", "Operación duplicada", false},
    // A file of ours the bank could not take: once it is put right, the debit may go again.
    {"BE05", "Identificador del acreedor incorrecto", true},
    {"FF01", "Formato no válido", true},
    {"MD01", "Sin mandato / operación no autorizada", false},
    // The debtor may ask for the refund of an authorised debit without a reason; the mandate
    // stands, so the next collection is allowed.
    {"MD06", "Devolución solicitada por el deudor", true},
    {"MD07", "Deudor fallecido", false},
    {"MS02", "Rechazada por el deudor, sin motivo", true},
    {"MS03", "Rechazada por la entidad, sin motivo", true},
    // The debtor's bank blocks this creditor, or debits over an amount or a frequency.
    {"SL01", "Servicio específico de la entidad del deudor", false},
}};

std::string Codigo(std::string_view texto) {
    std::string codigo;
    for (const char c : texto)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            codigo += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    return codigo;
}

const MotivoDevolucion* Buscar(std::string_view texto) {
    const std::string codigo = Codigo(texto);
    const auto it = std::find_if(kMotivos.begin(), kMotivos.end(),
                                 [&](const MotivoDevolucion& m) { return m.codigo == codigo; });
    return it == kMotivos.end() ? nullptr : &*it;
}

} // namespace

std::span<const MotivoDevolucion> MotivosDevolucion() {
    return kMotivos;
}

std::string SignificadoMotivo(std::string_view codigo) {
    if (const MotivoDevolucion* m = Buscar(codigo))
        return std::string(m->significado);
    return "Motivo «" + Codigo(codigo) + "» sin descripción";
}

bool PermiteReintento(std::string_view codigo) {
    const MotivoDevolucion* m = Buscar(codigo);
    return m == nullptr || m->reintentable;
}

} // namespace sepa
