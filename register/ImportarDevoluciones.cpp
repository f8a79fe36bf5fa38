#include "register/ImportarDevoluciones.h"

#include "register/Cobros.h"
#include "register/ExportarCsv.h"
#include "sepa/MotivosDevolucion.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>

#include <algorithm>

namespace registro {

namespace {

using Resultado = EntradaImportada::Resultado;

// A receipt as a remittance of this register debited it.
struct Debitado {
    qint64 recibo = 0;
    QString remesa;
    QDate creada;
    qint64 centimos = 0;
    QString mandato, acreedor, numero;
};

QString Codigo(const QString& texto) {
    QString c = texto.simplified().toUpper();
    c.remove(QLatin1Char(' '));
    return c;
}

QString Euros(qint64 centimos) {
    return EurosCsv(centimos * 100) + QStringLiteral(" €");
}

// The rows of remesas_recibo for a remittance (any, when `msgId` is empty) and a reference
// (any, when empty), oldest first.
bool Buscar(QSqlDatabase db, const QString& msgId, const QString& referencia,
            std::vector<Debitado>& filas, QSqlError& error) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT rr.recibo, rr.remesa, rr.creada, rr.centimos, rr.mandato, rr.acreedor, r.numero "
        "FROM remesas_recibo rr JOIN recibos r ON r.id = rr.recibo WHERE (coalesce(?, '') = '' OR "
        "rr.remesa "
        "= ?) AND (coalesce(?, '') = '' OR rr.referencia = ?) ORDER BY rr.id"));
    q.addBindValue(msgId);
    q.addBindValue(msgId);
    q.addBindValue(referencia);
    q.addBindValue(referencia);
    if (!q.exec()) {
        error = q.lastError();
        return false;
    }
    while (q.next())
        filas.push_back({q.value(0).toLongLong(), q.value(1).toString(),
                         QDate::fromString(q.value(2).toString(), Qt::ISODate),
                         q.value(3).toLongLong(), q.value(4).toString(), q.value(5).toString(),
                         q.value(6).toString()});
    return true;
}

// The receipts an entry is about, or why it is not applied (empty `motivo` when found).
struct Encontrados {
    std::vector<Debitado> filas;
    QString motivo;
};

Encontrados Encontrar(QSqlDatabase db, const sepa::Devolucion& d, const QString& acreedor,
                      QSqlError& error) {
    Encontrados e;
    const auto no = [&](const QString& motivo) {
        e.filas.clear();
        e.motivo = motivo;
        return e;
    };
    // An amount in another currency or not in cents cannot be the one a remittance collected.
    if (!d.importeNoValido.isEmpty())
        return no(d.importeNoValido);
    if (!d.fecha.isValid())
        return no(QStringLiteral("el informe no da la fecha de la devolución"));
    std::vector<Debitado> filas;
    if (!d.msgId.isEmpty()) {
        if (!Buscar(db, d.msgId, {}, filas, error))
            return e;
        if (filas.empty())
            return no(QStringLiteral("la remesa «%1» no es de este registro").arg(d.msgId));
        if (!d.bloque.isEmpty())
            return no(QStringLiteral("el banco rechaza el bloque entero sin decir qué adeudos "
                                     "lleva; pídale el detalle de los adeudos rechazados"));
        if (!d.endToEndId.isEmpty()) {
            filas.clear();
            if (!Buscar(db, d.msgId, d.endToEndId, filas, error))
                return e;
            if (filas.empty())
                return no(QStringLiteral("ningún recibo de la remesa «%1» tiene la referencia "
                                         "«%2»")
                              .arg(d.msgId, d.endToEndId));
            if (filas.size() > 1)
                return no(QStringLiteral("la referencia «%1» es de %2 recibos de la remesa: no "
                                         "se sabe cuál")
                              .arg(d.endToEndId)
                              .arg(filas.size()));
        }
    } else {
        if (d.endToEndId.isEmpty())
            return no(QStringLiteral("el informe no dice ni la remesa ni el recibo"));
        if (!Buscar(db, {}, d.endToEndId, filas, error))
            return e;
        if (filas.empty())
            return no(QStringLiteral("ninguna remesa de este registro tiene la referencia «%1»")
                          .arg(d.endToEndId));
        for (const Debitado& f : filas)
            if (f.recibo != filas.front().recibo)
                return no(QStringLiteral("la referencia «%1» es de más de un recibo del registro "
                                         "y el informe no dice la remesa: no se sabe cuál")
                              .arg(d.endToEndId));
        // One receipt, in one remittance or more: the one this return was recorded for before,
        // else the last made by the day of the return. A report read again after the receipt
        // went in a new remittance that same day is still the first one's return.
        const Debitado* elegido = nullptr;
        for (const Debitado& f : filas)
            if (f.creada <= d.fecha)
                elegido = &f;
        QSqlQuery antes(db);
        antes.prepare(QStringLiteral("SELECT 1 FROM cambios_cobro WHERE recibo = ? AND estado = "
                                     "'devuelto' AND remesa = ? AND coalesce(motivo, '') = ? AND "
                                     "fecha = ?"));
        for (const Debitado& f : filas) {
            antes.addBindValue(f.recibo);
            antes.addBindValue(f.remesa);
            antes.addBindValue(Codigo(d.motivo));
            antes.addBindValue(d.fecha.toString(Qt::ISODate));
            if (!antes.exec()) {
                error = antes.lastError();
                return e;
            }
            if (antes.next())
                elegido = &f;
        }
        if (elegido == nullptr)
            return no(
                QStringLiteral("el recibo «%1» no estaba en ninguna remesa el %2")
                    .arg(filas.front().numero, d.fecha.toString(QStringLiteral("dd/MM/yyyy"))));
        const Debitado uno = *elegido;
        filas = {uno};
    }
    qint64 suma = 0;
    for (const Debitado& f : filas) {
        suma += f.centimos;
        const QString esperado = f.acreedor.isEmpty() ? acreedor : f.acreedor;
        if (!d.acreedor.isEmpty() && !esperado.isEmpty() && Codigo(d.acreedor) != Codigo(esperado))
            return no(QStringLiteral("es de otro acreedor («%1»; el de la remesa es «%2»)")
                          .arg(d.acreedor, esperado));
    }
    if (!d.conImporte)
        return no(QStringLiteral("el informe no da el importe, y sin él no se puede comprobar "
                                 "que sea el del recibo"));
    if (suma != d.centimos)
        return no(QStringLiteral("el importe no coincide: el informe dice %1 y la remesa cobró %2")
                      .arg(Euros(d.centimos), Euros(suma)));
    if (filas.size() == 1 && !d.mandato.isEmpty() && !filas.front().mandato.isEmpty() &&
        Codigo(d.mandato) != Codigo(filas.front().mandato))
        return no(
            QStringLiteral("el mandato no coincide: el informe dice «%1» y la remesa usó «%2»")
                .arg(d.mandato, filas.front().mandato));
    e.filas = std::move(filas);
    return e;
}

// The report's name and the hash of its bytes, kept with each return it recorded.
QString IdentidadInforme(const QString& archivo, const QByteArray& contenido) {
    return QStringLiteral("%1 (sha256 %2)")
        .arg(QFileInfo(archivo).fileName(),
             QString::fromLatin1(
                 QCryptographicHash::hash(contenido, QCryptographicHash::Sha256).toHex().left(16)));
}

} // namespace

qint64 Importacion::Cuantas(Resultado r) const {
    return std::count_if(entradas.begin(), entradas.end(),
                         [r](const EntradaImportada& e) { return e.resultado == r; });
}

Importacion ImportarDevoluciones(Registro& registro, const QString& archivo,
                                 const QString& acreedor) {
    Importacion imp;
    QFile f(archivo);
    if (!QFileInfo(archivo).isFile()) {
        imp.noEsInforme = true;
        imp.error = QStringLiteral("No existe el archivo «%1».").arg(archivo);
        return imp;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        imp.noEsInforme = true;
        imp.error = QStringLiteral("No se puede leer «%1»: %2.").arg(archivo, f.errorString());
        return imp;
    }
    const QByteArray contenido = f.readAll();
    const sepa::InformeBanco informe = sepa::LeerInformeBanco(contenido);
    if (!informe.error.isEmpty()) {
        imp.noEsInforme = true;
        imp.error = QStringLiteral("«%1»: %2").arg(archivo, informe.error);
        return imp;
    }
    // A report is about remittances this register made: without one there is nothing to match,
    // and none is created for it.
    if (!Registro::Existe(registro.Ruta())) {
        imp.error = QStringLiteral("No se ha aplicado nada de «%1»: no hay ningún registro de "
                                   "recibos en %2.")
                        .arg(archivo, registro.Ruta());
        return imp;
    }
    for (const sepa::Devolucion& d : informe.devoluciones)
        imp.entradas.push_back({d, Resultado::NoAplicada, {}, {}});
    const QString fichero = IdentidadInforme(archivo, contenido);
    QString error;
    const bool ok = EnUnaTransaccion(
        registro,
        [&](QSqlError& e) {
            QSqlDatabase db = registro.Base();
            QSqlQuery ya(db);
            ya.prepare(QStringLiteral("SELECT 1 FROM cambios_cobro WHERE recibo = ? AND estado = "
                                      "'devuelto' AND remesa = ? AND coalesce(motivo, '') = ? AND "
                                      "fecha = ?"));
            QSqlQuery ins(db);
            ins.prepare(QStringLiteral("INSERT INTO cambios_cobro (recibo, estado, fecha, origen, "
                                       "motivo, remesa, fichero, anotado) VALUES (?, ?, ?, ?, ?, "
                                       "?, ?, ?)"));
            const QString anotado =
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
            for (EntradaImportada& entrada : imp.entradas) {
                const sepa::Devolucion& d = entrada.devolucion;
                Encontrados encontrados = Encontrar(db, d, acreedor, e);
                if (e.isValid())
                    return false;
                if (!encontrados.motivo.isEmpty()) {
                    entrada.motivo = encontrados.motivo;
                    continue;
                }
                const QString motivo = Codigo(d.motivo);
                const QString fecha = d.fecha.toString(Qt::ISODate);
                entrada.resultado = Resultado::YaAplicada;
                for (const Debitado& r : encontrados.filas) {
                    entrada.numeros << r.numero;
                    ya.addBindValue(r.recibo);
                    ya.addBindValue(r.remesa);
                    ya.addBindValue(motivo);
                    ya.addBindValue(fecha);
                    if (!ya.exec()) {
                        e = ya.lastError();
                        return false;
                    }
                    if (ya.next())
                        continue;
                    entrada.resultado = Resultado::Aplicada;
                    ins.addBindValue(r.recibo);
                    ins.addBindValue(QLatin1String(kDevuelto));
                    ins.addBindValue(fecha);
                    ins.addBindValue(QLatin1String(kOrigenFichero));
                    ins.addBindValue(motivo);
                    ins.addBindValue(r.remesa);
                    ins.addBindValue(fichero);
                    ins.addBindValue(anotado);
                    if (!ins.exec()) {
                        e = ins.lastError();
                        return false;
                    }
                }
            }
            return true;
        },
        error);
    if (!ok) {
        imp.error = QStringLiteral("No se ha aplicado nada de «%1»: el registro %2: %3.")
                        .arg(archivo, registro.Ruta(), error);
        imp.entradas.clear();
    }
    return imp;
}

QString ResumenImportacion(const Importacion& imp) {
    const QLocale es(QLocale::Spanish);
    const auto parte = [&](qint64 n, const char* una, const char* varias) {
        return es.toString(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? una : varias);
    };
    return QStringLiteral("%1, %2, %3")
        .arg(parte(imp.Cuantas(Resultado::Aplicada), "aplicada", "aplicadas"),
             parte(imp.Cuantas(Resultado::YaAplicada), "ya aplicada", "ya aplicadas"),
             parte(imp.Cuantas(Resultado::NoAplicada), "no aplicada", "no aplicadas"));
}

QString DescribirNoAplicada(const EntradaImportada& entrada) {
    const sepa::Devolucion& d = entrada.devolucion;
    const QString quien =
        !d.bloque.isEmpty()
            ? QStringLiteral("el bloque «%1» de la remesa «%2»").arg(d.bloque, d.msgId)
        : d.endToEndId.isEmpty() ? QStringLiteral("la remesa entera «%1»").arg(d.msgId)
        : d.msgId.isEmpty()
            ? QStringLiteral("referencia «%1»").arg(d.endToEndId)
            : QStringLiteral("referencia «%1» de la remesa «%2»").arg(d.endToEndId, d.msgId);
    return QStringLiteral("%1 (%2, %3 %4): %5")
        .arg(quien, d.conImporte ? Euros(d.centimos) : QStringLiteral("sin importe"), d.motivo,
             QString::fromStdString(sepa::SignificadoMotivo(d.motivo.toStdString())),
             entrada.motivo);
}

} // namespace registro
