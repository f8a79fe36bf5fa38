// The command line's work that needs the module (the register, printing, SQL). The program
// reads the arguments itself (orden/); once they ask for one of these, it loads the module and
// hands the request over.
#pragma once

#include <QDate>
#include <QString>

#include <optional>

class CRecibo;

namespace salida {

// "--exportar-registro": the CSV and the dates as typed, read by the register.
struct PedidoExportacion {
    QString archivo;
    QString desde, hasta; // empty when not given
};

// "--remesa" with "--fecha-cobro": the SEPA direct debit file of the rows with an IBAN.
struct PedidoRemesa {
    QString ruta;
    QDate cobro;
    QString version; // empty: the one in the creditor's settings
};

// "--emitir-lista" and its output: with the remittance, the output may be left out.
struct PedidoLista {
    QString lista;
    bool comprobar = false;
    QString pdf;        // --pdf
    QString carpetaPdf; // --carpeta-pdf
    QString impresora;  // --impresora
    std::optional<PedidoRemesa> remesa;
};

// "--remesa-devueltos" with "--fecha-cobro": the returned receipts collected again.
struct PedidoDevueltos {
    QString remesa;
    QDate cobro;
    QString desde, hasta, version; // as typed; empty when not given
    QString gastos;                // --gastos-devolucion as typed; empty when not given
};

class Ordenes {
public:
    virtual ~Ordenes();

    // Where the user's register of issued receipts is, for --help.
    virtual QString RutaDelRegistro() = 0;
    // Each does the whole job with its messages on standard output or standard error, and
    // returns the exit status. A list takes what it does not say from `plantilla`.
    virtual int ExportarRegistro(const PedidoExportacion& pedido) = 0;
    virtual int EmitirLista(const PedidoLista& pedido, const CRecibo& plantilla) = 0;
    // Who has paid: the bank's report of returns applied to the register, the receipts owed
    // on a day (`hasta` as typed, empty for today) and the returned ones collected again.
    virtual int ImportarDevoluciones(const QString& informe) = 0;
    virtual int Pendientes(const QString& archivo, const QString& hasta) = 0;
    virtual int RemesaDevueltos(const PedidoDevueltos& pedido) = 0;
    // "--verificar-registro": every invoicing record's huella and link recomputed.
    virtual int VerificarRegistro() = 0;
    // "--verifactu-enviar": the pending invoicing records sent to the tax agency.
    virtual int EnviarVerifactu() = 0;
    // "--copiar-registro URI": the desk's register file copied to an empty one on a server.
    virtual int CopiarRegistro(const QString& uri) = 0;
};

} // namespace salida
