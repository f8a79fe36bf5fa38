// What the register keeps of each receipt's collection (see RegistroEsquema.cpp, version 6),
// written and read: a receipt put in a remittance, a payment marked by hand and its undoing,
// and the facts that register/EstadoCobro.h turns into a state. The other changes, the
// bank's returns, are register/ImportarDevoluciones.h's.
#pragma once

#include "register/EstadoCobro.h"
#include "register/Registro.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>

#include <functional>
#include <optional>

namespace registro {

// The values of cambios_cobro.estado and .origen.
inline constexpr char kEnRemesa[] = "en remesa";
inline constexpr char kDevuelto[] = "devuelto";
inline constexpr char kCobrado[] = "cobrado";
inline constexpr char kDeshecho[] = "deshecho"; // undoes the payment by hand in `deshace`
inline constexpr char kOrigenRemesa[] = "remesa";
inline constexpr char kOrigenFichero[] = "fichero";
inline constexpr char kOrigenMano[] = "mano";

// Inside the caller's transaction: receipt `recibo` goes in remittance `msgId`, made on
// `creada`, debited as `adeudo` says (a row of remesas_recibo and its change en remesa).
bool AnotarEnRemesa(QSqlDatabase db, qint64 recibo, const QString& msgId,
                    const Registro::EnRemesa& adeudo, const QDate& creada, QSqlError& error);

// Whether the register at `db` keeps collection (version 6 on): one opened only to be read
// may be older, and its receipts are then all sin seguimiento but those in a remittance.
bool GuardaCobros(QSqlDatabase db);

// The receipts in a remittance in a register older than version 6, as version 6 takes them
// over: receipt, MsgId, the day the remittance was made (its list's, else the receipt's
// issue), number, total in cents.
extern const char kRemesasAnteriores[];

// The facts of every receipt with a change, by the receipt's id; `seguimiento` and `anulado`
// are left for the caller, who reads them with the receipt. In an older register opened only
// to be read, the changes its migration would make: so both give the same states. False with
// `error` set when the register cannot be read.
bool LeerCambiosCobro(QSqlDatabase db, QHash<qint64, HechosCobro>& hechos, QString& error);
// The facts of one receipt, all of them; nothing when there is no such receipt.
std::optional<HechosCobro> HechosDe(QSqlDatabase db, qint64 recibo);

// "Marcar como cobrado…": the receipts paid by other means on `fecha`, in one transaction;
// false with `error` set when nothing could be recorded.
bool MarcarCobrado(Registro& registro, const QList<qint64>& recibos, const QDate& fecha,
                   QString& error);
// Undoes the last payment marked by hand of each receipt that has one still in force, in one
// transaction; the mark and its undoing both stay in the history. How many were undone, or
// -1 with `error` set.
qint64 DeshacerCobro(Registro& registro, const QList<qint64>& recibos, QString& error);

// Runs `cambios` in one write transaction on `registro`; false with `error` set (and nothing
// changed) when it or the commit fails. `cambios` may set `error` itself before it fails.
bool EnUnaTransaccion(Registro& registro, const std::function<bool(QSqlError&)>& cambios,
                      QString& error);

} // namespace registro
