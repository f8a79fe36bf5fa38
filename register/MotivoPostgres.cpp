#include "register/MotivoPostgres.h"

#include <QStringList>

namespace registro {

namespace {

// The server's message without its "ERROR:" and the lines of context a function adds.
QString MensajeDelServidor(const QSqlError& e) {
    QString texto = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    texto = texto.section(QLatin1Char('\n'), 0, 0).trimmed();
    for (const char* prefijo : {"ERROR:", "FATAL:"})
        if (texto.startsWith(QLatin1String(prefijo)))
            texto = texto.mid(int(qstrlen(prefijo))).trimmed();
    // The driver adds its own words after a space and the code ("... (23505)"); keep them.
    return texto;
}

} // namespace

bool EsErrorPostgres(const QSqlError& error) {
    const QString codigo = error.nativeErrorCode();
    if (codigo.size() != 5)
        return false;
    for (QChar c : codigo)
        if (!(c.isDigit() || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    return true;
}

QString MotivoPostgres(const QSqlError& e) {
    const QString codigo = e.nativeErrorCode();
    const QString original = MensajeDelServidor(e);
    // A trigger of the register says in Spanish what it refuses.
    if (codigo == QLatin1String("P0001"))
        return original;
    QString motivo;
    if (codigo.startsWith(QLatin1String("08")))
        motivo = QStringLiteral("se ha perdido la conexión con el servidor del registro");
    else if (codigo.startsWith(QLatin1String("28")))
        motivo = QStringLiteral("el servidor no acepta el usuario o la contraseña");
    else if (codigo == QLatin1String("3D000"))
        motivo = QStringLiteral("no existe esa base de datos en el servidor");
    else if (codigo == QLatin1String("42501"))
        motivo = QStringLiteral("el usuario no tiene permiso para usar el registro");
    else if (codigo == QLatin1String("55P03"))
        motivo = QStringLiteral("otro programa lo tiene bloqueado desde hace más de 10 segundos");
    else if (codigo == QLatin1String("23505"))
        motivo = QStringLiteral("el registro ya tiene una fila con ese valor, que no se puede "
                                "repetir");
    else if (codigo.startsWith(QLatin1String("40")))
        motivo = QStringLiteral("el servidor ha deshecho la operación por un conflicto con otro "
                                "programa");
    else if (codigo == QLatin1String("53100"))
        motivo = QStringLiteral("el disco del servidor está lleno");
    else if (codigo.startsWith(QLatin1String("57")))
        motivo = QStringLiteral("el servidor del registro se está deteniendo o no está "
                                "disponible");
    else if (codigo == QLatin1String("25006"))
        motivo = QStringLiteral("el registro se ha abierto solo para leer");
    else
        motivo = QStringLiteral("error del servidor del registro");
    return original.isEmpty() ? motivo : QStringLiteral("%1 (%2)").arg(motivo, original);
}

bool EsFalloDeClave(const QString& mensaje) {
    const QString m = mensaje.toLower();
    return m.contains(QLatin1String("password authentication failed")) ||
           m.contains(QLatin1String("no password supplied")) ||
           m.contains(QLatin1String("autentificación password falló")) ||
           m.contains(QLatin1String("autenticación password falló"));
}

QString MotivoDeConexion(const QString& mensaje) {
    const QString original = mensaje.section(QLatin1Char('\n'), 0, 0).trimmed();
    const QString m = mensaje.toLower();
    QString motivo;
    if (EsFalloDeClave(mensaje))
        motivo = QStringLiteral("el servidor no acepta el usuario o la contraseña");
    else if (m.contains(QLatin1String("database")) && m.contains(QLatin1String("does not exist")))
        motivo = QStringLiteral("no existe esa base de datos en el servidor");
    else if (m.contains(QLatin1String("could not translate host name")))
        motivo = QStringLiteral("no se encuentra el servidor");
    else if (m.contains(QLatin1String("connection refused")))
        motivo = QStringLiteral("el servidor rechaza la conexión (¿está en marcha y escucha en "
                                "ese puerto?)");
    else if (m.contains(QLatin1String("timeout expired")) || m.contains(QLatin1String("timed out")))
        motivo = QStringLiteral("el servidor no contesta");
    else if (m.contains(QLatin1String("ssl")))
        motivo = QStringLiteral("no se puede establecer la conexión cifrada que se ha pedido");
    else
        motivo = QStringLiteral("no se puede conectar con el servidor del registro");
    return original.isEmpty() ? motivo : QStringLiteral("%1 (%2)").arg(motivo, original);
}

} // namespace registro
