#include "envio/OrdenEnviar.h"

#include "envio/Cotejar.h"
#include "envio/Enviador.h"
#include "platform/SettingsStore.h"
#include "register/Registro.h"
#include "resources/links/Enlaces.h"

#include <QCoreApplication>

#include <QEventLoop>
#include <QTextStream>

namespace envio {

int EnviarDesdeLineaDeOrdenes(int plazoMs) {
    // The form's settings: the command line reads them under the distributor's name too.
    QCoreApplication::setOrganizationName(QString::fromStdString(enlaces::Empresa()));
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    registro::Registro registro(registro::Registro::Ubicacion());
    if (!registro.Abrir()) {
        errores << registro.Error() << '\n';
        return 1;
    }
    if (registro.CuantosPorEnviar() == 0) {
        salida << QStringLiteral("No hay registros VERI*FACTU pendientes de envío.\n");
        return 0;
    }
    Configuracion c;
    c.ajustes = verifactu::LeerAjustes(platform::SettingsStore());
    c.clave = qEnvironmentVariable(kVariableClave);
    c.plazoMs = plazoMs;
    c.pararTrasFallo = true;
    Enviador enviador(registro, c);
    int aceptados = 0, conErrores = 0, rechazados = 0;
    bool fallo = false;
    QObject::connect(&enviador, &Enviador::Enviado, &enviador, [&](const Informe& i) {
        aceptados += i.aceptados;
        conErrores += i.conErrores;
        for (const registro::RegistroFacturacion& r : i.rechazados) {
            ++rechazados;
            errores << QStringLiteral("La AEAT ha rechazado %1: código %2, %3\n")
                           .arg(NombreDelRegistro(r.registro))
                           .arg(r.codigo)
                           .arg(r.descripcion);
        }
        if (!i.problema.isEmpty()) {
            fallo = true;
            errores << i.problema << '\n';
        }
        if (i.certificado && c.clave.isEmpty())
            errores << QStringLiteral("Ponga la contraseña del certificado en la variable de "
                                      "entorno %1.\n")
                           .arg(QLatin1StringView(kVariableClave));
        errores.flush();
    });
    QEventLoop bucle;
    bool parado = false;
    QObject::connect(&enviador, &Enviador::Parado, &bucle, [&] {
        parado = true;
        bucle.quit();
    });
    enviador.Enviar();
    if (!parado)
        bucle.exec();
    const qint64 quedan = registro.CuantosPorEnviar();
    if (quedan > 0 && !fallo)
        errores << QStringLiteral("Quedan %1 registros pendientes que no son de %2 (el emisor de "
                                  "los ajustes) o que siguen a una lista que aún se está "
                                  "emitiendo.\n")
                       .arg(quedan)
                       .arg(QString::fromStdString(c.ajustes.emisorNif));
    salida << QStringLiteral("Registros VERI*FACTU aceptados: %1; con errores que corregir: %2; "
                             "rechazados: %3; pendientes de envío: %4.\n")
                  .arg(aceptados)
                  .arg(conErrores)
                  .arg(rechazados)
                  .arg(quedan);
    return quedan == 0 && rechazados == 0 && !fallo ? 0 : 1;
}

} // namespace envio
