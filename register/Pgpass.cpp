#include "register/Pgpass.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace registro {

namespace {

QString Escapar(QString campo) {
    return campo.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char(':'), QStringLiteral("\\:"));
}

// The first four fields of a line as libpq reads them (escapes undone); fewer when the line
// is not one of servers (a comment, an empty line).
QStringList Campos(QByteArrayView linea) {
    QStringList campos;
    QString campo;
    const QString texto = QString::fromUtf8(linea);
    for (qsizetype i = 0; i < texto.size() && campos.size() < 4; ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('\\') && i + 1 < texto.size()) {
            campo += texto.at(++i);
        } else if (c == QLatin1Char(':')) {
            campos << campo;
            campo.clear();
        } else {
            campo += c;
        }
    }
    return campos;
}

} // namespace

QString RutaPgpass() {
    const QString variable = qEnvironmentVariable("PGPASSFILE");
    return variable.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : variable;
}

bool GuardarEnPgpass(const QString& ruta, const LineaPgpass& l, QString& error) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    // The file has one line per entry and no way to write a line break inside one.
    for (const QString& campo : {l.servidor, l.base, l.usuario, l.clave})
        if (campo.contains(QLatin1Char('\n')) || campo.contains(QLatin1Char('\r'))) {
            error = QStringLiteral("Una contraseña, un usuario o un servidor con saltos de línea "
                                   "no se puede guardar en %1.")
                        .arg(nombre);
            return false;
        }
    QByteArray antes;
    if (QFile f(ruta); f.exists()) {
        if (!f.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("No se puede leer %1: %2.").arg(nombre, f.errorString());
            return false;
        }
        antes = f.readAll();
    }
    const QStringList propia = {l.servidor, QString::number(l.puerto), l.base, l.usuario};
    QList<QByteArray> lineas = antes.split('\n');
    if (lineas.constLast().isEmpty())
        lineas.removeLast(); // what follows the last line's end
    QByteArray despues;
    for (const QByteArray& linea : lineas)
        if (Campos(linea) != propia)
            despues += linea + '\n';
    QStringList nueva;
    for (const QString& campo : propia)
        nueva << Escapar(campo);
    nueva << Escapar(l.clave);
    despues += nueva.join(QLatin1Char(':')).toUtf8() + '\n';

    QSaveFile f(ruta);
    // Set before a byte of the password is written, so that no one else may ever read it.
    if (!f.open(QIODevice::WriteOnly) ||
        !f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        f.write(despues) != despues.size() || !f.commit()) {
        error = QStringLiteral("No se ha podido guardar la contraseña en %1: %2.")
                    .arg(nombre, f.errorString());
        return false;
    }
    return true;
}

} // namespace registro
