// The receipt's ways out on paper and into a file, as the form reaches them: the print
// dialog "Imprimir recibo" and the PDF writer, both in the module.
#pragma once

#include <QString>

#include <functional>
#include <string>

class CRecibo;
class QWidget;

// How a print of a receipt ended.
struct ResultadoImpresion {
    enum class Estado {
        Cancelada,  // the user closed the choice
        Impresa,    // the job was handed over to `impresora`
        ArchivoPdf, // the user chose to save it as a PDF file instead
        Fallida,    // the user has been told why
    };
    Estado estado = Estado::Cancelada;
    std::string impresora;
};

namespace salida {

class Impresion {
public:
    virtual ~Impresion();

    // "Imprimir recibo": the destination chosen, the page drawn, the job handed over. A job
    // that the server takes only after the wait ran out reaches `impresaTarde`.
    // `antesDelTrabajo`, when given, runs once the printer is chosen and before the job is
    // handed over: false prints nothing (Cancelada), and it has told the user why.
    virtual ResultadoImpresion
    Imprimir(const CRecibo& rec,
             std::function<void(const std::string& impresora)> impresaTarde = {},
             std::function<bool(const std::string& impresora)> antesDelTrabajo = {}) = 0;
    // Asks for the PDF's file name with the save dialog, proposing the receipt's name in
    // `carpeta`. Empty when the user cancels.
    virtual QString PedirRutaPdf(QWidget* parent, const CRecibo& rec, const QString& carpeta) = 0;
    // Writes `rec` as a one-page PDF titled `titulo` to `ruta`: empty on success, else the
    // Spanish message naming the file and the reason.
    virtual QString EscribirPdf(const CRecibo& rec, const QString& ruta, const QString& titulo) = 0;
};

} // namespace salida
