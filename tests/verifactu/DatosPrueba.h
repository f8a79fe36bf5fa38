// The test data of data/ (the tax agency's schemas and hand-written documents) and the
// check of a document against a schema with xmllint, shared by the tests of the records.
#pragma once

#include "Xmllint.h"

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QString>

namespace datos {

inline QString Ruta(const QString& nombre) {
    return QStringLiteral(TALVERO_VERIFACTU_DATOS) + u'/' + nombre;
}

inline QByteArray Leer(const QString& nombre) {
    QFile f(Ruta(nombre));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// xmllint's complaint against the schema `esquema` of data/, empty when the document is valid.
inline QString Xmllint(const QByteArray& xml, const QString& esquema) {
    return XmllintCon(xml, Ruta(esquema));
}

} // namespace datos
