// The test data of data/ (the tax agency's schemas and hand-written documents) and the
// check of a document against a schema with xmllint, shared by the tests of the records.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QString>
#include <QtCore/QTemporaryFile>

namespace datos {

inline QString Ruta(const QString& nombre) {
    return QStringLiteral(TALVERO_VERIFACTU_DATOS) + u'/' + nombre;
}

inline QByteArray Leer(const QString& nombre) {
    QFile f(Ruta(nombre));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// xmllint's complaint, empty when the document is valid. --nonet: nothing is fetched.
inline QString Xmllint(const QByteArray& xml, const QString& esquema) {
    QTemporaryFile f;
    if (!f.open())
        return QStringLiteral("sin archivo temporal");
    f.write(xml);
    f.close();
    QProcess p;
    p.start(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--noout"),
                                        QStringLiteral("--schema"), Ruta(esquema), f.fileName()});
    p.waitForFinished();
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
}

} // namespace datos
