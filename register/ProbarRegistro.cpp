#include "register/ProbarRegistro.h"

#include "register/Registro.h"

#include <QSqlQuery>

namespace registro {

QString ProbarRegistro(const QString& uri) {
    Registro registro(uri);
    if (!registro.AbrirParaLeer()) {
        if (registro.NoExiste())
            return QStringLiteral("Conectado. La base de datos no tiene todavía un registro de "
                                  "recibos: se creará la primera vez que se use.");
        return QStringLiteral("No se puede usar el registro del servidor: %1. No se ha cambiado "
                              "nada.")
            .arg(registro.Error());
    }
    QSqlQuery q(registro.Base());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM recibos")) || !q.next())
        return QStringLiteral("Conectado, pero el registro no se puede leer: %1.")
            .arg(Registro::MotivoDe(q.lastError()));
    const qint64 recibos = q.value(0).toLongLong();
    if (recibos == 0)
        return QStringLiteral("Conectado. El registro del servidor está vacío.");
    return QStringLiteral("Conectado. El registro del servidor tiene %1 %2.")
        .arg(recibos)
        .arg(recibos == 1 ? QStringLiteral("recibo") : QStringLiteral("recibos"));
}

} // namespace registro
