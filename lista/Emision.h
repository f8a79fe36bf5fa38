// A checked list of receipts leaving the program: one print job, one PDF, or one PDF per
// receipt in a folder, and the remittance of its debited receipts, with every receipt in
// the register. A cancelled or failed emission leaves no file of its own behind and
// records nothing, and so does a program killed at any moment (see register/Pendientes.h).
#pragma once

#include "lista/Lista.h"
#include "lista/RemesaLista.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lista {

// Told after each page drawn (`hechos` of `total`); false cancels the emission.
using Avance = std::function<bool(qsizetype hechos, qsizetype total)>;

struct PedidoEmision {
    // Ninguno: only the remittance, and only its debited receipts are recorded.
    enum class Destino { Impresora, Pdf, CarpetaPdf, Ninguno };
    Destino destino = Destino::Pdf;
    QString ruta;              // the print queue, the PDF's path or the folder's path
    QString archivoLista;      // the CSV the list came from, for the register
    QString registro;          // the register's file; empty: the user's own
    bool sobrescribir = false; // files already in the folder may be replaced
    // The remittance of the debited rows, written before the receipts leave and taken
    // back if they do not; the register then keeps its identifier with each of them.
    std::optional<PedidoRemesa> remesa;
};

struct Emision {
    enum class Estado { Emitida, Cancelada, Fallida };
    Estado estado = Estado::Fallida;
    QString error; // Fallida: why nothing left (or, printed, why it was not recorded)
    // Fallida, and nothing left, because numbers Talvero drew were taken meanwhile by another
    // program: the list may be read again for numbers that are free.
    bool numerosTomados = false;
    qint64 lote = 0;              // the list's row in the register, once recorded
    QStringList pdfs;             // the files written
    sepa::ResultadoRemesa remesa; // the remittance written, when one was asked for
    qsizetype sinAdeudo = 0;      // rows without IBAN, left out of it
    // What was found of an emission that a program ended half-way, finished or taken back
    // before this one (see register/Pendientes.h), for the user to read.
    QStringList avisos;
};

// The file each receipt gets in a folder: the single PDF's proposed name.
QString ArchivoDeRecibo(const FilaRevisada& fila);
// The files of a folder emission that already exist, or repeat within the list.
QStringList ArchivosQueYaExisten(const ListaRevisada& lista, const QString& carpeta);

// Why the outputs `rutas` cannot be written: two of them are the same file, or one is the
// register `rutaRegistro` (or its journal). Empty when they can.
QString SalidasEnConflicto(const QStringList& rutas, const QString& rutaRegistro);

// Emits `lista`, which must be Emitible(). The receipts are recorded, as pending, before
// any of them leaves; the files are written under temporary names and put at their names,
// never over another file, once all are complete; a receipt number that Talvero drew and
// another program has taken meanwhile fails the emission before anything leaves. Files in a folder
// that already exist are kept (Fallida) unless `pedido.sobrescribir`.
Emision Emitir(const ListaRevisada& lista, const PedidoEmision& pedido, const Avance& avance = {});

// Draws row `i`'s page: a copy of its record, which drawing rewrites.
void DibujarFila(const ListaRevisada& lista, qsizetype i, page::PageSurface& pagina);

} // namespace lista
