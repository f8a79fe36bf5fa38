#include "register/DatosServidor.h"

#include "register/Dialecto.h"

#include <QUrl>
#include <QUrlQuery>

namespace registro {

namespace {

const QString kCifrado = QStringLiteral("sslmode");

} // namespace

DatosServidor LeerDatosServidor(const QString& uri) {
    DatosServidor d;
    if (!dialecto::EsUri(uri))
        return d;
    const QUrl url(uri);
    if (!url.isValid())
        return d;
    d.servidor = url.host(QUrl::FullyDecoded);
    d.puerto = url.port(d.puerto);
    d.usuario = url.userName(QUrl::FullyDecoded);
    d.clave = url.password(QUrl::FullyDecoded);
    const QString base = url.path(QUrl::FullyDecoded).mid(1);
    if (!base.isEmpty())
        d.base = base;
    for (const auto& [clave, valor] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (clave == kCifrado)
            d.cifrado = valor;
        else
            d.otros.append({clave, valor});
    }
    return d;
}

QString UriDeDatos(const DatosServidor& d, QString& error) {
    const auto falta = [&error](const char* campo) {
        error = QStringLiteral("Falta «%1»: sin ese dato no se puede llegar al registro del "
                               "servidor.")
                    .arg(QString::fromUtf8(campo));
        return QString();
    };
    const QString servidor = d.servidor.trimmed();
    const QString usuario = d.usuario.trimmed();
    const QString base = d.base.trimmed();
    if (servidor.isEmpty())
        return falta("Servidor");
    if (usuario.isEmpty())
        return falta("Usuario");
    if (base.isEmpty())
        return falta("Base de datos");
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(servidor, QUrl::DecodedMode);
    if (!url.isValid() || url.host().isEmpty()) {
        error = QStringLiteral("«%1» no es un nombre de servidor válido (campo «Servidor»).")
                    .arg(servidor);
        return {};
    }
    if (d.puerto < 1 || d.puerto > 65535) {
        error =
            QStringLiteral("El puerto %1 no existe (campo «Puerto»: de 1 a 65535).").arg(d.puerto);
        return {};
    }
    url.setPort(d.puerto);
    url.setUserName(usuario, QUrl::DecodedMode);
    url.setPath(QLatin1Char('/') + base, QUrl::DecodedMode);
    QUrlQuery parametros;
    for (const auto& [clave, valor] : d.otros)
        parametros.addQueryItem(clave, valor);
    parametros.addQueryItem(kCifrado, d.cifrado);
    url.setQuery(parametros);
    error.clear();
    return url.toString(QUrl::FullyEncoded);
}

QString UriConClave(const QString& uri, const QString& clave) {
    if (clave.isEmpty())
        return uri;
    QUrl url(uri);
    url.setPassword(clave, QUrl::DecodedMode);
    return url.toString(QUrl::FullyEncoded);
}

} // namespace registro
