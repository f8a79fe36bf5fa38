#include "lista/OrdenLista.h"

#include "lista/ColumnasAdeudo.h"
#include "lista/Emision.h"
#include "lista/FacturasLista.h"
#include "platform/SettingsStore.h"
#include "register/Pendientes.h"
#include "register/Registro.h"
#include "sepa/AjustesAcreedor.h"

#include <QFileInfo>
#include <QPrinterInfo>

#include <cstdio>

namespace lista {

namespace {

void Decir(std::FILE* salida, const QString& texto) {
    std::fprintf(salida, "%s\n", texto.toLocal8Bit().constData());
}

int Error(const QString& texto, int salida = 2) {
    Decir(stderr, QStringLiteral("talvero: ") + texto);
    return salida;
}

} // namespace

int EmitirDesdeLineaDeOrdenes(const OrdenDeLista& o, const CRecibo& plantilla) {
    const QString ruta = QFileInfo(o.lista).absoluteFilePath();
    if (!QFileInfo(ruta).isFile())
        return Error(QStringLiteral("no existe la lista «%1».").arg(o.lista));
    // Refusals that need no reading come first: nothing is written after them.
    if (!o.impresora.isEmpty() && !QPrinterInfo::availablePrinterNames().contains(o.impresora))
        return Error(
            QStringLiteral("no hay ninguna impresora «%1» en este equipo.").arg(o.impresora));
    if (!o.pdf.isEmpty() && QFileInfo::exists(o.pdf))
        return Error(
            QStringLiteral("«%1» ya existe: no se sobrescribe; indique otro nombre.").arg(o.pdf));
    const platform::SettingsStore ajustes;
    const sepa::AcreedorCargado acreedor = sepa::CargarAcreedor(ajustes);
    std::optional<PedidoRemesa> remesa;
    if (!o.version.isEmpty() && sepa::FormatoDeRemesa(o.version) == nullptr)
        return Error(
            QStringLiteral("--version-remesa «%1» no es %2 ni %3.")
                .arg(o.version, QLatin1String(sepa::kRemesa08), QLatin1String(sepa::kRemesa02)));
    if (!o.remesa.isEmpty()) {
        remesa = PedidoRemesa{
            QFileInfo(o.remesa).absoluteFilePath(), acreedor.acreedor, FechaDe(o.cobro),
            sepa::FormatoDeRemesa(o.version.isEmpty()
                                      ? QString::fromStdString(sepa::LeerVersionRemesa(ajustes))
                                      : o.version)};
        if (const QString motivo = ComprobarRemesa(acreedor, *remesa, nullptr); !motivo.isEmpty())
            return Error(motivo);
    }

    registro::Registro registro(registro::Registro::Ubicacion());
    {
        QStringList salidas;
        for (const QString& s : {o.pdf, o.remesa})
            if (!s.isEmpty())
                salidas << QFileInfo(s).absoluteFilePath();
        if (!o.carpetaPdf.isEmpty())
            salidas << QFileInfo(o.carpetaPdf).absoluteFilePath();
        if (const QString conflicto = SalidasEnConflicto(salidas, registro.Ruta());
            !conflicto.isEmpty())
            return Error(conflicto);
    }
    if (!registro.Abrir())
        return Error(QStringLiteral("no se puede abrir el registro %1: %2")
                         .arg(registro.Ruta(), registro.Error()),
                     1);
    // An emission that a program left half-way is finished or taken back before the list
    // draws its numbers.
    for (const QString& aviso : registro::RecuperarPendientes(registro))
        Decir(stderr, QStringLiteral("talvero: ") + aviso);
    platform::SettingsStore paraEscribir;
    const std::optional<registro::Facturacion> facturacion = FacturacionDeAjustes(paraEscribir);
    // The numbers that Talvero draws are checked again where the list is recorded: when another
    // program (another desk, on a shared register) took them meanwhile, nothing has left, and
    // the list is read again with the numbers free now.
    constexpr int kIntentos = 20;
    ListaRevisada lista;
    PedidoEmision pedido;
    Emision e;
    for (int intento = 1;; ++intento) {
        const NumerosDelRegistro numeros = NumerosParaLista(registro, facturacion);
        lista = RevisarLista(LeerArchivoCsv(ruta), plantilla, TiposDeAjustes(ajustes), numeros,
                             facturacion);
        lista.archivo = o.lista;

        if (!lista.error.isEmpty())
            return Error(
                QStringLiteral("la lista «%1» no se puede usar: %2").arg(o.lista, lista.error));
        // The mandates' faults are told with the rows' other errors, the rest after them.
        const QString sinRemesa = remesa ? ComprobarRemesa(acreedor, *remesa, &lista) : QString();
        if (intento == 1) { // the same rows again, not told twice
            for (const QString& aviso : lista.avisos)
                Decir(stderr, aviso);
            for (const FilaRevisada& f : lista.filas) {
                for (const QString& fallo : f.errores)
                    Decir(stderr, fallo);
                for (const QString& a : f.avisos)
                    Decir(stderr, a);
            }
        }
        if (o.comprobar) {
            Decir(stdout, lista.Resumen());
            return lista.Emitible() ? 0 : 2;
        }
        if (!lista.Emitible())
            return Error(QStringLiteral("%1: no se emite ningún recibo.").arg(lista.Resumen()));
        if (!sinRemesa.isEmpty())
            return Error(sinRemesa);

        pedido = PedidoEmision{};
        pedido.archivoLista = ruta;
        pedido.remesa = remesa;
        if (remesa && o.impresora.isEmpty() && o.pdf.isEmpty() && o.carpetaPdf.isEmpty()) {
            pedido.destino = PedidoEmision::Destino::Ninguno;
        } else if (!o.impresora.isEmpty()) {
            pedido.destino = PedidoEmision::Destino::Impresora;
            pedido.ruta = o.impresora;
        } else if (!o.pdf.isEmpty()) {
            pedido.destino = PedidoEmision::Destino::Pdf;
            pedido.ruta = QFileInfo(o.pdf).absoluteFilePath();
        } else {
            pedido.destino = PedidoEmision::Destino::CarpetaPdf;
            pedido.ruta = QFileInfo(o.carpetaPdf).absoluteFilePath();
            if (const QStringList ya = ArchivosQueYaExisten(lista, pedido.ruta); !ya.isEmpty())
                return Error(QStringLiteral("ya existen en «%1»: %2. No se sobrescriben.")
                                 .arg(o.carpetaPdf, ya.join(QStringLiteral(", "))));
        }
        e = Emitir(lista, pedido);
        if (e.estado == Emision::Estado::Fallida && e.numerosTomados && intento < kIntentos)
            continue;
        break;
    }
    for (const QString& aviso : e.avisos)
        Decir(stderr, QStringLiteral("talvero: ") + aviso);
    if (e.estado != Emision::Estado::Emitida)
        return Error(e.error, 1);
    if (pedido.destino != PedidoEmision::Destino::Ninguno) {
        const qsizetype n = qsizetype(lista.filas.size());
        Decir(stdout, QStringLiteral("%1 %2 a %3")
                          .arg(n)
                          .arg(n == 1 ? QStringLiteral("recibo emitido")
                                      : QStringLiteral("recibos emitidos"))
                          .arg(pedido.ruta));
    }
    if (remesa)
        Decir(stdout, ResumenRemesa(e.remesa, e.sinAdeudo) + QStringLiteral(" a ") + remesa->ruta);
    return 0;
}

} // namespace lista
