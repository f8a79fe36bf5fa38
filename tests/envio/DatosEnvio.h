// For the sending tests: invoicing records of one issuer put in a real register as the
// register keeps them, chained, and the settings that point the program at the stand-in.
#pragma once

#include "platform/SettingsStore.h"
#include "register/FilaFacturacion.h"
#include "register/Registro.h"
#include "simulador/Simulador.h"
#include "verifactu/Ajustes.h"
#include "verifactu/Huella.h"

#include <QSqlQuery>
#include <QStringList>

namespace datos_envio {

inline constexpr char kNif[] = "89890001K";
inline constexpr char kNombre[] = "EMPRESA DE PRUEBAS SL";

// `cuantos` altas numbered ..., chained, as pending rows of `registro`.
inline bool Anadir(registro::Registro& registro, int cuantos, int desde = 1) {
    QStringList marcas;
    for (const QString& c : registro::ColumnasFacturacion())
        marcas << u':' + c;
    const QString sql = QStringLiteral("INSERT INTO registros_facturacion (%1) VALUES (%2)")
                            .arg(registro::ColumnasFacturacion().join(u", "), marcas.join(u", "));
    const std::vector<registro::RegistroFacturacion> hay = registro.RegistrosFacturacion();
    std::optional<verifactu::Registro> anterior;
    if (!hay.empty())
        anterior = hay.back().registro;
    QSqlDatabase db = registro.Base();
    db.transaction();
    for (int i = desde; i < desde + cuantos; ++i) {
        verifactu::Registro r = simulador::Alta(QStringLiteral("R-%1").arg(i));
        verifactu::Encadenar(r, anterior ? &*anterior : nullptr);
        QSqlQuery q(db);
        q.prepare(sql);
        if (!registro::EnlazarFacturacion(q, r, 0) || !q.exec())
            return false;
        anterior = r;
    }
    return db.commit();
}

// Each record as "número estado código", in order of generation.
inline QStringList Estados(registro::Registro& registro) {
    QStringList r;
    for (const registro::RegistroFacturacion& f : registro.RegistrosFacturacion())
        r << QStringLiteral("%1 %2 %3")
                 .arg(QString::fromStdString(verifactu::FacturaDe(f.registro).numSerie),
                      registro::TextoEstado(f.estado))
                 .arg(f.codigo);
    return r;
}

// The states of `cuantos` records ..., all `estado` ("aceptado 0").
inline QStringList Todos(int cuantos, const QString& estado) {
    QStringList r;
    for (int i = 1; i <= cuantos; ++i)
        r << QStringLiteral("R-%1 %2").arg(i).arg(estado);
    return r;
}

inline verifactu::Ajustes Ajustes(const simulador::Certificados& c, const QString& url,
                                  const QString& certificado) {
    verifactu::Ajustes a;
    a.activo = true;
    a.emisorNif = kNif;
    a.emisorNombre = kNombre;
    a.certificado = certificado.toStdString();
    a.servidor = url.toStdString();
    a.ca = c.Ca().toStdString();
    return a;
}

} // namespace datos_envio
