// The sending of the invoicing records to the tax agency in the background, as the form
// reaches it: started once when the form opens with VERI*FACTU on, told when receipts were
// recorded, and telling the form what to show. The windows are the form's: the module only
// asks through these callbacks.
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace salida {

struct AvisosEnvio {
    // How many records are pending now (0: none), and why the last attempt failed (empty
    // when it did not).
    std::function<void(qint64 pendientes, const QString& motivo)> pendientes;
    // The certificate's password, asked of the user once per run when first needed;
    // nothing when the user declines.
    std::function<std::optional<QString>()> pedirClave;
    // A refused record, reported once: the text names the receipt and the agency's reason.
    std::function<void(const QString& aviso)> rechazo;
};

class Envios {
public:
    virtual ~Envios();

    // Starts the sender, once: it sends what is pending, then whatever receipts leave the
    // program, at the agency's pace, and tries again after a failure.
    virtual void Arrancar(AvisosEnvio avisos) = 0;
    // Receipts were recorded: send them when the pace allows.
    virtual void Enviar() = 0;
};

} // namespace salida
