#include "lista/Emision.h"

#include "lista/ColumnasAdeudo.h"

#include "platform/PdfExport.h"
#include "platform/PrintJob.h"
#include "register/Registro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace lista {

namespace {

QString TituloPdf(const CRecibo& r) {
    const QString numero = QString::fromStdString(r.m_Numero).simplified();
    return numero.isEmpty() ? QStringLiteral("Recibo") : QStringLiteral("Recibo ") + numero;
}

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

// Writes every receipt to a temporary file beside its target, and renames them all only
// once every one is written: a cancel or a failure half-way leaves the folder as it was.
Emision EmitirCarpeta(const ListaRevisada& lista, const PedidoEmision& pedido, const Avance& avance,
                      QStringList& destinos) {
    const QDir carpeta(pedido.ruta);
    if (!QDir().mkpath(pedido.ruta))
        return Fallo(QStringLiteral("No se puede crear la carpeta «%1».").arg(pedido.ruta));
    if (!pedido.sobrescribir)
        if (const QStringList ya = ArchivosQueYaExisten(lista, pedido.ruta); !ya.isEmpty())
            return Fallo(QStringLiteral("Ya existen en la carpeta: %1.").arg(ya.join(u", ")));
    const QPageLayout layout = platform::PdfPageLayout();
    const qsizetype n = qsizetype(lista.filas.size());
    QStringList temporales;
    const auto limpiar = [&] {
        for (const QString& t : temporales)
            QFile::remove(t);
    };
    for (qsizetype i = 0; i < n; ++i) {
        const FilaRevisada& fila = lista.filas[std::size_t(i)];
        const QString destino = carpeta.absoluteFilePath(ArchivoDeRecibo(fila));
        const QString temporal =
            carpeta.absoluteFilePath(QStringLiteral(".%1.talvero-parcial").arg(i));
        QString error;
        const QByteArray pdf = platform::RenderPdfPages(
            destino, TituloPdf(fila.recibo), 1,
            [&](qsizetype, page::PageSurface& p) {
                DibujarFila(lista, i, p);
                return true;
            },
            layout, error);
        if (error.isEmpty())
            error = platform::WriteWholeFile(temporal, pdf);
        if (!error.isEmpty()) {
            limpiar();
            return Fallo(error);
        }
        temporales << temporal;
        destinos << destino;
        if (avance && !avance(i + 1, n)) {
            limpiar();
            return Cancelada();
        }
    }
    for (qsizetype i = 0; i < n; ++i) {
        QFile::remove(destinos[i]); // only there when the user let it be replaced
        if (!QFile::rename(temporales[i], destinos[i])) {
            limpiar();
            return Fallo(QStringLiteral("No se pudo guardar «%1».").arg(destinos[i]));
        }
    }
    Emision e;
    e.estado = Emision::Estado::Emitida;
    e.pdfs = destinos;
    return e;
}

Emision EmitirPdf(const ListaRevisada& lista, const PedidoEmision& pedido, const Avance& avance) {
    const qsizetype n = qsizetype(lista.filas.size());
    bool cancelada = false;
    QString error;
    const QByteArray pdf = platform::RenderPdfPages(
        pedido.ruta, QStringLiteral("Recibos de %1").arg(QFileInfo(pedido.archivoLista).fileName()),
        n,
        [&](qsizetype i, page::PageSurface& p) {
            DibujarFila(lista, i, p);
            cancelada = avance && !avance(i + 1, n);
            return !cancelada;
        },
        platform::PdfPageLayout(), error);
    if (cancelada)
        return Cancelada();
    if (error.isEmpty())
        error = platform::WriteWholeFile(pedido.ruta, pdf);
    if (!error.isEmpty())
        return Fallo(error);
    Emision e;
    e.estado = Emision::Estado::Emitida;
    e.pdfs << pedido.ruta;
    return e;
}

Emision EmitirImpresora(const ListaRevisada& lista, const PedidoEmision& pedido,
                        const Avance& avance) {
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
        break;
    case platform::PagesOutcome::Cancelled:
        return Cancelada();
    case platform::PagesOutcome::Failed:
        return Fallo(QStringLiteral("No se pudo imprimir la lista en «%1»: %2")
                         .arg(pedido.ruta, QString::fromStdString(motivo)));
    }
    Emision e;
    e.estado = Emision::Estado::Emitida;
    return e;
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

Emision Emitir(const ListaRevisada& lista, const PedidoEmision& pedido, const Avance& avance) {
    if (!lista.Emitible())
        return Fallo(QStringLiteral("La lista tiene errores: no se emite ningún recibo."));
    sepa::ResultadoRemesa remesa;
    if (pedido.remesa) {
        const sepa::Remesa r = RemesaDeLista(lista, *pedido.remesa);
        if (r.adeudos.empty())
            return Fallo(QStringLiteral("Ningún recibo de la lista tiene IBAN: no hay nada que "
                                        "cobrar por el banco."));
        remesa = sepa::EscribirRemesa(pedido.remesa->ruta, r);
        if (!remesa.Escrita())
            return Fallo(remesa.error);
    }
    QStringList destinos; // per receipt, for the register
    Emision e;
    switch (pedido.destino) {
    case PedidoEmision::Destino::Ninguno:
        e.estado = Emision::Estado::Emitida;
        break;
    case PedidoEmision::Destino::Impresora:
        e = EmitirImpresora(lista, pedido, avance);
        break;
    case PedidoEmision::Destino::Pdf:
        e = EmitirPdf(lista, pedido, avance);
        break;
    case PedidoEmision::Destino::CarpetaPdf:
        e = EmitirCarpeta(lista, pedido, avance, destinos);
        break;
    }
    if (e.estado != Emision::Estado::Emitida) {
        if (!remesa.msgId.isEmpty())
            QFile::remove(pedido.remesa->ruta); // the bank must not collect what never left
        return e;
    }
    e.remesa = remesa;

    // Every receipt left the program: all of them go into the register together. With the
    // remittance alone, only the debited ones left.
    std::vector<std::size_t> filas;
    for (std::size_t i = 0; i < lista.filas.size(); ++i)
        if (pedido.destino != PedidoEmision::Destino::Ninguno || ConAdeudo(lista.filas[i]))
            filas.push_back(i);
    if (pedido.remesa)
        e.sinAdeudo = FilasSinAdeudo(lista);
    const QString lugar = pedido.destino == PedidoEmision::Destino::Impresora ? pedido.ruta
                          : pedido.destino == PedidoEmision::Destino::Ninguno
                              ? QFileInfo(pedido.remesa->ruta).absoluteFilePath()
                              : QFileInfo(pedido.ruta).absoluteFilePath();
    registro::Registro reg(pedido.registro.isEmpty() ? registro::Registro::RutaPorDefecto()
                                                     : pedido.registro);
    const QDateTime ahora = QDateTime::currentDateTimeUtc();
    e.lote = reg.AnotarLote(
        QFileInfo(pedido.archivoLista).absoluteFilePath(), lugar, qint64(filas.size()),
        [&](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
            const std::size_t fila = filas[std::size_t(i)];
            r = lista.filas[fila].recibo;
            destino = destinos.isEmpty() ? lugar : destinos[qsizetype(fila)];
            emitido = ahora;
        },
        ahora,
        [&](qint64 i) {
            return !remesa.msgId.isEmpty() && ConAdeudo(lista.filas[filas[std::size_t(i)]])
                       ? remesa.msgId
                       : QString();
        });
    if (e.lote == 0)
        e.error = QStringLiteral("Los recibos se han emitido, pero no se han podido anotar en el "
                                 "registro %1: %2")
                      .arg(reg.Ruta(), reg.Error());
    return e;
}

} // namespace lista
