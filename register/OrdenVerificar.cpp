#include "register/OrdenVerificar.h"

#include "register/Dialecto.h"
#include "register/Registro.h"
#include "verifactu/Cadena.h"

#include <QSqlQuery>

#include <cstdio>
#include <map>

namespace registro {

namespace {

void DecirVerificar(std::FILE* donde, const QString& texto) {
    std::fprintf(donde, "%s\n", texto.toLocal8Bit().constData());
}

} // namespace

int VerificarDesdeLineaDeOrdenes(const QString& ruta) {
    Registro reg(ruta);
    if (!reg.AbrirParaLeer()) {
        DecirVerificar(stderr, QStringLiteral("talvero: %1.").arg(reg.Error()));
        return reg.NoExiste() ? 2 : 1;
    }
    // A register from before the invoicing records has none to check.
    bool hay = false;
    if (QSqlError e;
        !dialecto::ExisteTabla(reg.Base(), QStringLiteral("registros_facturacion"), hay, e) ||
        !hay) {
        DecirVerificar(stdout, QStringLiteral("El registro no tiene registros de facturación."));
        return 0;
    }
    const std::vector<RegistroFacturacion> todos = reg.RegistrosFacturacion();
    if (!reg.Error().isEmpty()) {
        DecirVerificar(
            stderr,
            QStringLiteral("talvero: no se puede leer el registro %1: %2.").arg(ruta, reg.Error()));
        return 1;
    }
    const auto noCoincide = [](const RegistroFacturacion& malo, const QString& motivo) {
        const verifactu::IdFactura& f = verifactu::FacturaDe(malo.registro);
        DecirVerificar(
            stderr, QStringLiteral("talvero: el registro de facturación %1 no coincide: emisor "
                                   "%2, número %3, fecha %4. %5")
                        .arg(malo.id)
                        .arg(QString::fromStdString(f.emisor), QString::fromStdString(f.numSerie),
                             QString::fromStdString(f.fecha), motivo));
        return 1;
    };
    // The program's own check first: it covers the fields the agency's huella leaves out.
    for (const RegistroFacturacion& r : todos)
        if (!r.datosIntactos)
            return noCoincide(r, QStringLiteral("Sus datos se han cambiado después de generarlo."));
    // One chain per issuer, each in order of generation.
    std::map<std::string, std::vector<const RegistroFacturacion*>> cadenas;
    for (const RegistroFacturacion& r : todos)
        cadenas[verifactu::FacturaDe(r.registro).emisor].push_back(&r);
    for (const auto& par : cadenas) {
        const std::vector<const RegistroFacturacion*>& filas = par.second;
        std::vector<verifactu::Registro> cadena;
        cadena.reserve(filas.size());
        for (const RegistroFacturacion* f : filas)
            cadena.push_back(f->registro);
        const verifactu::ResultadoCadena r = verifactu::VerificarCadena(cadena);
        if (r.correcta)
            continue;
        return noCoincide(*filas[r.registro], QString::fromStdString(r.motivo));
    }
    DecirVerificar(
        stdout,
        QStringLiteral("%1 %2 de facturación de %3 %4: todas las huellas, "
                       "encadenamientos y datos coinciden.")
            .arg(todos.size())
            .arg(todos.size() == 1 ? QStringLiteral("registro") : QStringLiteral("registros"))
            .arg(cadenas.size())
            .arg(cadenas.size() == 1 ? QStringLiteral("emisor") : QStringLiteral("emisores")));
    return 0;
}

} // namespace registro
