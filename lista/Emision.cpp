#include "lista/Emision.h"

#include "lista/ColumnasAdeudo.h"

#include "platform/PdfExport.h"
#include "platform/PrintJob.h"
#include "receipt/ReciboTexto.h"
#include "register/Dialecto.h"
#include "register/Pendientes.h"
#include "register/Registro.h"
#include "register/UriPostgres.h"
#include "sepa/IdentificadorMensaje.h"
#include "sepa/Pain008.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>

#include <optional>

#include <malloc.h>

namespace lista {

namespace {

Emision Fallo(const QString& error) {
    Emision e;
    e.error = error;
    return e;
}

Emision Cancelada() {
    Emision e;
    e.estado = Emision::Estado::Cancelada;
    return e;
}

using registro::Registro;

// A page for each receipt of the folder, each written whole under its temporary name.
QString EscribirCarpeta(const ListaRevisada& lista, const std::vector<Registro::Salida>& salidas,
                        const Avance& avance, bool& cancelada) {
    const QPageLayout layout = platform::PdfPageLayout();
    const qsizetype n = qsizetype(lista.filas.size());
    for (qsizetype i = 0; i < n; ++i) {
        const FilaRevisada& fila = lista.filas[std::size_t(i)];
        const Registro::Salida& salida = salidas[std::size_t(i)];
        QString error;
        const QString escrito = registro::EscribirTemporal(salida.temporal, [&](QIODevice& f) {
            return platform::RenderPdfPagesTo(
                f, salida.destino, QString::fromStdString(recibo::TituloPdf(fila.recibo)), 1,
                [&](qsizetype, page::PageSurface& p) {
                    DibujarFila(lista, i, p);
                    return true;
                },
                layout, error);
        });
        if (error.isEmpty())
            error = escrito;
        if (!error.isEmpty())
            return QStringLiteral("No se pudo guardar «%1»: %2.")
                .arg(QDir::toNativeSeparators(salida.destino), error);
        if (avance && !avance(i + 1, n)) {
            cancelada = true;
            return {};
        }
    }
    return {};
}

QString EscribirPdf(const ListaRevisada& lista, const PedidoEmision& pedido,
                    const Registro::Salida& salida, const Avance& avance, bool& cancelada) {
    const qsizetype n = qsizetype(lista.filas.size());
    QString error;
    const QPageLayout layout = platform::PdfPageLayout();
    // Written into the temporary file as it is made: a list of thousands of pages is never
    // held, nor grown, in memory.
    const QString escrito = registro::EscribirTemporal(salida.temporal, [&](QIODevice& f) {
        return platform::RenderPdfPagesTo(
            f, pedido.ruta,
            QStringLiteral("Recibos de %1").arg(QFileInfo(pedido.archivoLista).fileName()), n,
            [&](qsizetype i, page::PageSurface& p) {
                DibujarFila(lista, i, p);
                cancelada = avance && !avance(i + 1, n);
                return !cancelada;
            },
            layout, error);
    });
    if (cancelada)
        return {};
    if (error.isEmpty())
        error = escrito;
    if (!error.isEmpty())
        return QStringLiteral("No se pudo guardar «%1»: %2.")
            .arg(QDir::toNativeSeparators(salida.destino), error);
    return {};
}

QString Imprimir(const ListaRevisada& lista, const PedidoEmision& pedido, const Avance& avance,
                 bool& cancelada) {
    const qsizetype n = qsizetype(lista.filas.size());
    std::string motivo;
    const platform::PagesOutcome r = platform::PrintPages(
        pedido.ruta.toStdString(), CRecibo::NOMBRE_TRABAJO, n,
        [&](std::ptrdiff_t i, page::PageSurface& p) {
            DibujarFila(lista, qsizetype(i), p);
            return !avance || avance(qsizetype(i) + 1, n);
        },
        motivo);
    switch (r) {
    case platform::PagesOutcome::Printed:
        return {};
    case platform::PagesOutcome::Cancelled:
        cancelada = true;
        return {};
    case platform::PagesOutcome::Failed:
        break;
    }
    return QStringLiteral("No se pudo imprimir la lista en «%1»: %2")
        .arg(pedido.ruta, QString::fromStdString(motivo));
}

// The register of an emission. One that the emission created and that holds nothing when a
// cancelled or failed emission ends is removed with it: it leaves no file of its own.
class RegistroDeEmision {
public:
    explicit RegistroDeEmision(const QString& ruta)
        : ruta_(ruta), nuevo_(!registro::dialecto::EsUri(ruta) && !QFileInfo::exists(ruta)) {
        registro_.emplace(ruta);
    }
    ~RegistroDeEmision() {
        if (!quitar_)
            return;
        registro_.reset(); // closed before its files go
        for (const char* sufijo : {"", "-wal", "-shm"})
            QFile::remove(ruta_ + QLatin1String(sufijo));
        QDir().rmdir(QFileInfo(ruta_).absolutePath() + QStringLiteral("/emisiones"));
    }
    RegistroDeEmision(const RegistroDeEmision&) = delete;
    RegistroDeEmision& operator=(const RegistroDeEmision&) = delete;

    Registro& operator*() { return *registro_; }
    void QuitarSiVacio() {
        QSqlQuery q(registro_->Base());
        quitar_ = nuevo_ &&
                  q.exec(QStringLiteral("SELECT (SELECT count(*) FROM recibos) + (SELECT "
                                        "count(*) FROM lotes)")) &&
                  q.next() && q.value(0).toLongLong() == 0;
    }

private:
    QString ruta_;
    bool nuevo_;
    bool quitar_ = false;
    std::optional<Registro> registro_;
};

// The same file, whether it exists yet (by identity) or not (by its clean absolute path).
bool MismoArchivo(const QString& a, const QString& b) {
    const QString ia = registro::Identidad(a);
    if (!ia.isEmpty() && ia == registro::Identidad(b))
        return true;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

QString ArchivoDeRecibo(const FilaRevisada& fila) {
    return platform::ProposedPdfName(fila.recibo.m_Numero, fila.recibo.m_Fecha);
}

QStringList ArchivosQueYaExisten(const ListaRevisada& lista, const QString& carpeta) {
    QStringList ya;
    QSet<QString> vistos;
    const QDir dir(carpeta);
    for (const FilaRevisada& f : lista.filas) {
        const QString nombre = ArchivoDeRecibo(f);
        if (vistos.contains(nombre) || QFileInfo::exists(dir.filePath(nombre)))
            ya << nombre;
        vistos.insert(nombre);
    }
    return ya;
}

void DibujarFila(const ListaRevisada& lista, qsizetype i, page::PageSurface& pagina) {
    CRecibo copia = lista.filas[std::size_t(i)].recibo;
    copia.Dibujar(pagina);
}

QString SalidasEnConflicto(const QStringList& salidas, const QString& rutaRegistro) {
    for (qsizetype i = 0; i < salidas.size(); ++i) {
        for (const char* sufijo : {"", "-wal", "-shm", "-journal"})
            if (MismoArchivo(salidas[i], rutaRegistro + QLatin1String(sufijo)))
                return QStringLiteral("«%1» es el registro de recibos emitidos: no se escribe "
                                      "encima; indique otro nombre.")
                    .arg(QDir::toNativeSeparators(salidas[i]));
        for (qsizetype j = 0; j < i; ++j)
            if (MismoArchivo(salidas[i], salidas[j]))
                return QStringLiteral("«%1» se ha indicado para dos salidas a la vez: cada una "
                                      "necesita un archivo propio.")
                    .arg(QDir::toNativeSeparators(salidas[i]));
    }
    return {};
}

Emision Emitir(const ListaRevisada& lista, const PedidoEmision& pedido, const Avance& avance) {
    if (!lista.Emitible())
        return Fallo(QStringLiteral("La lista tiene errores: no se emite ningún recibo."));
    const bool aCarpeta = pedido.destino == PedidoEmision::Destino::CarpetaPdf;
    const bool soloRemesa = pedido.destino == PedidoEmision::Destino::Ninguno;
    if (soloRemesa && !pedido.remesa)
        return Fallo(QStringLiteral("No se ha indicado ninguna salida."));

    RegistroDeEmision registroDeEmision(pedido.registro.isEmpty() ? Registro::Ubicacion()
                                                                  : pedido.registro);
    Registro& reg = *registroDeEmision;
    Emision e;
    const auto fallo = [&](const QString& error) {
        registroDeEmision.QuitarSiVacio();
        Emision r = Fallo(error);
        r.avisos = e.avisos;
        return r;
    };
    // Whatever a program that died half-way left is finished or taken back first, so that
    // its numbers and its files are what they should be before this list takes its own.
    if (reg.Abrir())
        e.avisos = registro::RecuperarPendientes(reg);
    registro::Testigo testigo(reg.Ruta());
    if (!testigo.Tomado())
        return fallo(QStringLiteral("No se ha emitido ningún recibo: %1.").arg(testigo.Error()));

    // The remittance is made, and checked, before anything is recorded.
    QByteArray documento;
    if (pedido.remesa) {
        const sepa::Remesa r = RemesaDeLista(lista, *pedido.remesa);
        if (r.adeudos.empty())
            return fallo(QStringLiteral("Ningún recibo de la lista tiene IBAN: no hay nada que "
                                        "cobrar por el banco."));
        e.remesa = sepa::DocumentoRemesa(r, sepa::NuevoIdentificadorMensaje(), documento,
                                         sepa::Hoy(), pedido.remesa->formato);
        if (!e.remesa.Escrita())
            return fallo(e.remesa.error);
        e.sinAdeudo = FilasSinAdeudo(lista);
    }

    // Every file the list leaves, with its temporary name.
    std::vector<Registro::Salida> salidas;
    const auto salida = [&](const QString& destino, bool reemplazar, const QString& remesa) {
        salidas.push_back(
            {registro::NombreTemporal(destino, testigo.Nombre()), destino, reemplazar, remesa, {}});
    };
    QStringList destinos; // per receipt, for the register
    if (aCarpeta) {
        if (!QDir().mkpath(pedido.ruta))
            return fallo(QStringLiteral("No se puede crear la carpeta «%1».").arg(pedido.ruta));
        if (!pedido.sobrescribir)
            if (const QStringList ya = ArchivosQueYaExisten(lista, pedido.ruta); !ya.isEmpty())
                return fallo(QStringLiteral("Ya existen en la carpeta: %1.").arg(ya.join(u", ")));
        const QDir carpeta(pedido.ruta);
        for (const FilaRevisada& fila : lista.filas) {
            destinos << carpeta.absoluteFilePath(ArchivoDeRecibo(fila));
            salida(destinos.back(), pedido.sobrescribir, {});
        }
    } else if (pedido.destino == PedidoEmision::Destino::Pdf) {
        salida(QFileInfo(pedido.ruta).absoluteFilePath(), pedido.sobrescribir, {});
    }
    if (pedido.remesa)
        salida(QFileInfo(pedido.remesa->ruta).absoluteFilePath(), false, e.remesa.msgId);
    QStringList nombres;
    for (const Registro::Salida& s : salidas)
        nombres << s.destino;
    if (const QString conflicto = SalidasEnConflicto(nombres, reg.Ruta()); !conflicto.isEmpty())
        return fallo(conflicto);

    // Every receipt that leaves goes into the register, as pending, before anything leaves.
    // With the remittance alone, only the debited ones leave.
    std::vector<std::size_t> filas;
    for (std::size_t i = 0; i < lista.filas.size(); ++i)
        if (!soloRemesa || ConAdeudo(lista.filas[i]))
            filas.push_back(i);
    const QString lugar = pedido.destino == PedidoEmision::Destino::Impresora ? pedido.ruta
                          : soloRemesa ? QFileInfo(pedido.remesa->ruta).absoluteFilePath()
                                       : QFileInfo(pedido.ruta).absoluteFilePath();
    const QDateTime ahora = QDateTime::currentDateTimeUtc();
    Registro::Reserva reserva;
    reserva.archivo = QFileInfo(pedido.archivoLista).absoluteFilePath();
    reserva.destino = lugar;
    reserva.creado = ahora;
    reserva.cuantos = qint64(filas.size());
    reserva.emision = [&](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
        const std::size_t fila = filas[std::size_t(i)];
        r = lista.filas[fila].recibo;
        destino = destinos.isEmpty() ? lugar : destinos[qsizetype(fila)];
        emitido = ahora;
    };
    reserva.remesaDe = [&](qint64 i) {
        return pedido.remesa && ConAdeudo(lista.filas[filas[std::size_t(i)]]) ? e.remesa.msgId
                                                                              : QString();
    };
    reserva.adeudoDe = [&](qint64 i) {
        const sepa::Adeudo a = AdeudoDeFila(lista.filas[filas[std::size_t(i)]]);
        Registro::EnRemesa en;
        en.cobro = FechaDe(pedido.remesa->cobro);
        en.mandato = sepa::MandatoDeAdeudo(a.mandato);
        en.referencia = sepa::ReferenciaDeAdeudo(a.numero);
        en.acreedor =
            QString::fromStdString(sepa::Normalizado(pedido.remesa->acreedor).identificador);
        en.centimos = sepa::Centimos(a.total).value_or(0);
        en.iban = QString::fromStdString(a.iban);
        en.bic = QString::fromStdString(a.bic);
        en.titular = QString::fromStdString(a.titular);
        en.fechaMandato = FechaDe(a.fechaMandato);
        en.poblacion = QString::fromStdString(a.direccion.poblacion);
        en.pais = QString::fromStdString(a.direccion.pais);
        for (const std::string& l : a.direccion.lineas)
            en.lineas << QString::fromStdString(l);
        return en;
    };
    reserva.numeroDeTalvero = [&](qint64 i) {
        return !lista.filas[filas[std::size_t(i)]].conNumero;
    };
    reserva.testigo = testigo.Nombre();
    reserva.salidas = salidas;
    // With VERI*FACTU, each receipt's alta, chained in the list's order.
    std::optional<registro::Facturacion> facturacion = lista.facturacion;
    if (facturacion) {
        facturacion->nifPagador = [&](qint64 i) {
            return lista.filas[filas[std::size_t(i)]].nifPagador;
        };
        reserva.facturacion = &*facturacion;
    }
    e.lote = reg.ReservarLote(reserva);
    if (e.lote == 0) {
        Emision r = fallo(QStringLiteral("No se ha emitido ningún recibo: no se pueden anotar en "
                                         "el registro %1: %2.")
                              .arg(registro::UriSinClave(reg.Ruta()), reg.Error()));
        r.numerosTomados = !reg.NumerosOcupados().isEmpty();
        return r;
    }

    // Each page that the PDF writer or the print system makes allocates and frees buffers of
    // several hundred kilobytes at the top of the heap, which the allocator would give back
    // to the system and ask for again at every page: it keeps them while the list is drawn.
    ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
    ::mallopt(M_TOP_PAD, 16 << 20);

    // Now the receipts leave, into temporary files or to the printer.
    const auto deshacer = [&](Emision r) {
        registro::BorrarTemporales(salidas);
        // If the register is busy, the next emission takes the list back.
        if (reg.DeshacerLote(e.lote))
            registroDeEmision.QuitarSiVacio();
        r.avisos = e.avisos;
        return r;
    };
    bool cancelada = false;
    QString error;
    switch (pedido.destino) {
    case PedidoEmision::Destino::Ninguno:
        break;
    case PedidoEmision::Destino::Impresora:
        error = Imprimir(lista, pedido, avance, cancelada);
        break;
    case PedidoEmision::Destino::Pdf:
        error = EscribirPdf(lista, pedido, salidas.front(), avance, cancelada);
        break;
    case PedidoEmision::Destino::CarpetaPdf:
        error = EscribirCarpeta(lista, salidas, avance, cancelada);
        break;
    }
    if (error.isEmpty() && !cancelada && pedido.remesa) {
        if (const QString motivo = registro::EscribirTemporal(salidas.back().temporal, documento);
            !motivo.isEmpty())
            error = QStringLiteral("No se pudo guardar la remesa en «%1»: %2.")
                        .arg(QDir::toNativeSeparators(salidas.back().destino), motivo);
    }
    if (cancelada)
        return deshacer(Cancelada());
    if (!error.isEmpty())
        return deshacer(fallo(error));

    // Complete on disk: marked so, then put at their names.
    QStringList identidades;
    for (const Registro::Salida& s : salidas)
        identidades << registro::Identidad(s.temporal);
    if (!reg.MarcarListo(e.lote, identidades)) {
        const QString motivo = reg.Error();
        Emision r = deshacer(
            Fallo(QStringLiteral("No se ha guardado nada: no se pueden anotar los recibos en el "
                                 "registro %1: %2.")
                      .arg(reg.Ruta(), motivo)));
        if (pedido.destino == PedidoEmision::Destino::Impresora)
            r.error = QStringLiteral("Los recibos se han emitido, pero no se han podido anotar "
                                     "en el registro %1: %2")
                          .arg(reg.Ruta(), motivo);
        return r;
    }
    for (qsizetype i = 0; i < identidades.size(); ++i)
        salidas[std::size_t(i)].identidad = identidades[i];
    if (const QString motivo = registro::Colocar(salidas); !motivo.isEmpty()) {
        Emision r = deshacer(fallo(QStringLiteral("No se ha emitido nada: %1.").arg(motivo)));
        if (pedido.destino == PedidoEmision::Destino::Impresora)
            r.error = QStringLiteral("Los recibos se han impreso, pero no se han anotado en el "
                                     "registro: %1.")
                          .arg(motivo);
        return r;
    }
    // Should this fail, the next emission finds the list complete and closes it.
    reg.CerrarLote(e.lote);
    e.estado = Emision::Estado::Emitida;
    for (const Registro::Salida& s : salidas)
        if (s.remesa.isEmpty())
            e.pdfs << s.destino;
    return e;
}

} // namespace lista
