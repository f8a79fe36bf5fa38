#include "BaseDePrueba.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUuid>

namespace registrotest {

namespace {

QString Carpeta() {
    return qEnvironmentVariable("TALVERO_PRUEBA_PG");
}

QString LeerArchivo(const QString& nombre) {
    QFile f(Carpeta() + QLatin1Char('/') + nombre);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

// Runs `sentencias` connected to `uri` as the tests' user; the last one's first value in
// `valor`, when given.
QString EjecutarEn(const QString& uri, const QStringList& sentencias, qint64* valor = nullptr) {
    const QUrl url(uri);
    const QString nombre = QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre);
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            for (const QString& s : sentencias)
                if (!q.exec(s)) {
                    error = s + QStringLiteral(": ") + q.lastError().text();
                    break;
                }
            if (valor != nullptr && error.isEmpty())
                *valor = q.next() ? q.value(0).toLongLong() : -1;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    return error;
}

} // namespace

qint64 ValorEnServidor(const QString& uri, const QString& sql) {
    qint64 valor = -1;
    return EjecutarEn(uri, {sql}, &valor).isEmpty() ? valor : -1;
}

bool EnPostgres() {
    return !Carpeta().isEmpty();
}

QString SinServidor() {
    if (!EnPostgres())
        return {};
    if (const QString motivo = LeerArchivo(QStringLiteral("skipped")); !motivo.isEmpty())
        return QStringLiteral("sin servidor PostgreSQL de pruebas: ") + motivo;
    if (LeerArchivo(QStringLiteral("uri")).isEmpty())
        return QStringLiteral("el servidor PostgreSQL de pruebas no está en marcha en ") +
               Carpeta();
    return {};
}

BaseDePrueba::BaseDePrueba(const QString& archivo) {
    if (!EnPostgres()) {
        ubicacion_ = archivo;
        return;
    }
    // A name of the test's own: the process and a counter, never text from outside.
    static QAtomicInteger<int> contador;
    base_ = QStringLiteral("prueba_%1_%2")
                .arg(QCoreApplication::applicationPid())
                .arg(contador.fetchAndAddRelaxed(1));
    QUrl url(LeerArchivo(QStringLiteral("uri")));
    // Copying the template's files is several times quicker than writing them through the
    // server's journal (the default from version 15 on, which older servers lack).
    error_ = EjecutarEn(url.toString(),
                        {QStringLiteral("CREATE DATABASE %1 STRATEGY = FILE_COPY").arg(base_)});
    if (!error_.isEmpty())
        error_ = EjecutarEn(url.toString(), {QStringLiteral("CREATE DATABASE %1").arg(base_)});
    url.setPath(QLatin1Char('/') + base_);
    ubicacion_ = url.toString();
}

BaseDePrueba::~BaseDePrueba() {
    if (base_.isEmpty())
        return;
    // WITH (FORCE): a connection a failed case left open does not keep it.
    EjecutarEn(LeerArchivo(QStringLiteral("uri")),
               {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(base_)});
}

bool BaseDePrueba::Ejecutar(const QStringList& sentencias) {
    error_ = EjecutarEn(ubicacion_, sentencias);
    return error_.isEmpty();
}

} // namespace registrotest
