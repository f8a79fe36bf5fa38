#include "register/UriPostgres.h"

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace registro {

namespace {

// A value as libpq's key=value syntax takes it: quoted, with quotes and backslashes escaped.
QString ValorConninfo(QString valor) {
    valor.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + valor + QLatin1Char('\'');
}

bool EsClave(const QString& clave) {
    if (clave.isEmpty())
        return false;
    for (QChar c : clave)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
            return false;
    return true;
}

struct ClavesDeSesion {
    QMutex cerrojo;
    QHash<QString, QString> claves; // by the URI without its password
};

ClavesDeSesion& Claves() {
    static ClavesDeSesion claves;
    return claves;
}

} // namespace

void RecordarClaveDeSesion(const QString& uri, const QString& clave) {
    ClavesDeSesion& c = Claves();
    const QMutexLocker cierre(&c.cerrojo);
    c.claves.insert(UriSinClave(uri), clave);
}

QString ClaveDeSesion(const QString& uri) {
    ClavesDeSesion& c = Claves();
    const QMutexLocker cierre(&c.cerrojo);
    return c.claves.value(UriSinClave(uri));
}

ConexionPostgres LeerUriPostgres(const QString& uri) {
    ConexionPostgres c;
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("postgresql") &&
                           url.scheme() != QLatin1String("postgres"))) {
        c.error = QStringLiteral("«%1» no es una dirección de PostgreSQL válida (se espera "
                                 "postgresql://usuario@servidor:5432/base)")
                      .arg(UriSinClave(uri));
        return c;
    }
    c.servidor = url.host(QUrl::FullyDecoded);
    c.puerto = url.port(-1);
    c.usuario = url.userName(QUrl::FullyDecoded);
    c.clave = url.password(QUrl::FullyDecoded);
    if (c.clave.isEmpty())
        c.clave = ClaveDeSesion(uri);
    c.base = url.path(QUrl::FullyDecoded);
    if (c.base.startsWith(QLatin1Char('/')))
        c.base.remove(0, 1);
    QStringList opciones;
    bool conEspera = false, conEsperaTcp = false;
    for (const auto& [clave, valorBruto] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        QString valor = valorBruto;
        // The driver separates its options with semicolons.
        if (!EsClave(clave) || valor.contains(QLatin1Char(';'))) {
            c.error = QStringLiteral("la dirección del registro tiene un parámetro que no se "
                                     "puede usar: «%1»")
                          .arg(clave);
            return c;
        }
        if (clave == QLatin1String("connect_timeout")) {
            bool ok = false;
            const int segundos = valor.toInt(&ok);
            valor = QString::number(ok && segundos > 0 && segundos < kEsperaMaxima ? segundos
                                                                                   : kEsperaMaxima);
            conEspera = true;
        }
        conEsperaTcp = conEsperaTcp || clave == QLatin1String("tcp_user_timeout");
        opciones << clave + QLatin1Char('=') + ValorConninfo(valor);
    }
    if (!conEspera)
        opciones << QStringLiteral("connect_timeout=%1").arg(kEsperaMaxima);
    // A server that goes silent under an open connection (a cable pulled, a machine gone)
    // fails the statement being sent after the same wait, rather than when TCP gives up.
    if (!conEsperaTcp)
        opciones << QStringLiteral("tcp_user_timeout=%1").arg(kEsperaMaxima * 1000);
    c.opciones = opciones.join(QLatin1Char(';'));
    return c;
}

QString UriSinClave(const QString& uri) {
    if (!uri.startsWith(QLatin1String("postgres")))
        return uri; // a file's path
    QUrl url(uri);
    if (!url.isValid())
        return uri.section(QLatin1Char('@'), -1);
    url.setPassword(QString());
    return url.toString();
}

} // namespace registro
