// The receipt's ways out of the program (the printer, a PDF file, the preview) and the
// register that records them, as the form reaches them: through this small interface,
// implemented by a module that is loaded the first time one of them is used. A user who
// types a receipt and closes the form never loads printing, the PDF writer or SQLite.
//
// The windows the module opens are owned by the `parent` they are given, as any child
// window; the form keeps them in QPointer<QWidget>.
#pragma once

#include "receipt/Recibo.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace page {
class PageSurface;
}

namespace salida {

// What the register window's buttons do with the receipt selected, as it was first issued.
struct AccionesRegistro {
    std::function<void(const CRecibo&)> imprimir;
    std::function<void(const CRecibo&)> guardarPdf;
    std::function<void(const CRecibo&)> copiarAlFormulario;
};

class Salida {
public:
    virtual ~Salida() = default;

    // "Imprimir recibo": the destination chosen, the page drawn, the job handed over. A job
    // that the server takes only after the wait ran out reaches `impresaTarde`.
    virtual ResultadoImpresion
    Imprimir(const CRecibo& rec,
             std::function<void(const std::string& impresora)> impresaTarde = {}) = 0;
    // Asks for the PDF's file name with the save dialog, proposing the receipt's name in
    // `carpeta`. Empty when the user cancels.
    virtual QString PedirRutaPdf(QWidget* parent, const CRecibo& rec, const QString& carpeta) = 0;
    // Writes `rec` as a one-page PDF titled `titulo` to `ruta`: empty on success, else the
    // Spanish message naming the file and the reason.
    virtual QString EscribirPdf(const CRecibo& rec, const QString& ruta, const QString& titulo) = 0;

    // Records a receipt that left the program (see registro::AnotarEmitido); whether it was.
    virtual bool AnotarEmitido(const CRecibo& comoSeRelleno, const QString& destino,
                               QWidget* parent) = 0;
    // "Recibos emitidos": a new window on the user's register, not yet shown.
    virtual QWidget* AbrirRegistro(AccionesRegistro acciones, QWidget* parent) = 0;
    // Reads the register again into a window that AbrirRegistro opened.
    virtual void RefrescarRegistro(QWidget* ventana) = 0;

    // "Vista previa": a new preview window, not yet shown, whose "Imprimir…" and "Guardar
    // como PDF…" call back.
    virtual QWidget* AbrirVistaPrevia(QWidget* parent, std::function<void()> imprimir,
                                      std::function<void()> guardarPdf) = 0;
    // The page that a window AbrirVistaPrevia opened shows.
    virtual void MostrarEnVistaPrevia(QWidget* ventana,
                                      std::function<void(page::PageSurface&)> dibujar) = 0;

    // "Emitir lista de recibos": a new window, not yet shown, whose rows take what the list
    // does not say from `plantilla` (the form's receipt as it stands).
    virtual QWidget* AbrirLista(QWidget* parent, std::function<CRecibo()> plantilla) = 0;

    // The command line for scripts (see registro::LineaDeOrdenes); a list emitted from it
    // takes what it does not say from `plantilla`.
    virtual std::optional<int> LineaDeOrdenes(int argc, char** argv,
                                              std::function<CRecibo()> plantilla) = 0;
};

// The module, loaded on the first call and kept. When it cannot be loaded: nothing, and
// `problema` (when given) gets the Spanish message that says which file is missing or
// damaged.
Salida* Modulo(QString* problema = nullptr);

// The same from the first of `rutas` that loads, for a caller that knows where to look.
Salida* CargarDesde(const QStringList& rutas, QString* problema);

// Where the module is looked for: next to the program as installed (../lib/talvero), then
// among the libraries already loaded (a program that links it, as the tests do).
QStringList RutasDelModulo();

// The module's entry point, exported by it under this name.
inline constexpr char kPuntoDeEntrada[] = "talvero_salida";

} // namespace salida
