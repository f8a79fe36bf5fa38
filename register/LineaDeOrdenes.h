// The program's command line, for scripts and backups:
//   talvero --exportar-registro ARCHIVO.csv [--desde aaaa-mm-dd] [--hasta aaaa-mm-dd]
//   talvero --emitir-lista LISTA.csv (--comprobar | --pdf SALIDA.pdf | --carpeta-pdf CARPETA
//                                     | --impresora NOMBRE)
//   talvero --emitir-lista LISTA.csv --remesa REMESA.xml --fecha-cobro aaaa-mm-dd
//                                    [--pdf SALIDA.pdf | --carpeta-pdf CARPETA | --impresora
//                                    NOMBRE]
//   talvero --help
// Runs before any window exists and needs no display. Any other argument is none of its
// business and, as always, ignored.
#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace registro {

// What the command line asks of a list of receipts; the list's own part of the program does
// it (see EmitirLista below).
struct OpcionesLista {
    QString lista; // --emitir-lista
    bool comprobar = false;
    QString pdf;        // --pdf
    QString carpetaPdf; // --carpeta-pdf
    QString impresora;  // --impresora
    QString remesa;     // --remesa: the SEPA direct debit file of the rows with an IBAN
    QDate cobro;        // --fecha-cobro, valid whenever `remesa` is set
};
// Runs a list's command once the arguments are read; returns the exit status.
using EmitirLista = std::function<int(const OpcionesLista&)>;

// The exit status when the arguments are for the command line (it has then done the whole
// job, with its messages on standard output or standard error); nothing otherwise, and the
// program starts as usual.
// `emitirLista` does "--emitir-lista" (without it, that option is refused). That command
// draws pages, so it runs on a GUI application on the offscreen platform: still no display.
std::optional<int> LineaDeOrdenes(int argc, char** argv, const EmitirLista& emitirLista = {});

} // namespace registro
