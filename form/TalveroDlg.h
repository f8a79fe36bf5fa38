// The receipt form: the program's only working window, a modal dialog built from
// template 102.
//
// How one receipt goes through it: the user types 100 into euro edit 1007; its change
// notification reaches OnChangeEuros, which finds the focus on 1007, writes 16.639
// pesetas into 1009 (whose own notification stops at the focus guard, the focus being on
// a euro edit) and runs Recalculate. Recalculate reads the three percentage lists and the
// five euro edits into Currency values, computes IVA, RE and IRPF in exact fixed point and
// writes taxes and total in euros and pesetas. "&Imprimir" (OnImprimir) recomputes, reads
// every control back into the members through the data exchange, copies them into a
// CRecibo and prints it; the form stays open. Only the cancel path ("&Cancelar", Escape,
// the close box) writes the settings and ends the form.
#pragma once

#include "form/ReceiptFields.h"
#include "platform/Dialog.h"
#include "platform/Notification.h"
#include "receipt/TiposImpositivos.h"
#include "salida/Ventana.h"

#include <QIcon>

#include <memory>
#include <string>

class CRecibo;
namespace platform {
struct LocalDate;
}
namespace salida {
struct Modulo;
}
class QLabel;
class QPixmap;
class QPushButton;

// What a result edit shows when the amount overflowed the amount type (only for absurd
// amounts, hundreds of thousands of millions of euros), rather than a wrong number.
inline constexpr char kDesbordamiento[] = "Desbordamiento";

class CTalveroDlg : public platform::Dialog, public ReceiptFields {
    Q_OBJECT

public:
    CTalveroDlg();
    ~CTalveroDlg() override;

    // --- Amounts, taxes and totals ------------------------------------------------------
    // Reads the lists and the euro edits, computes taxes and totals and writes the nine
    // result edits. A result that does not fit the amount type shows "Desbordamiento".
    void Recalculate();
    // The amount in a control's text; unreadable text counts as zero.
    moneda::Currency ReadAmountField(int id) const;
    // Writes the five amounts into their euro and peseta edits, then recalculates.
    void ShowAmounts();
    // Recalculates, then reads the amounts and the displayed tax amounts back.
    void CollectAmounts();
    void OnChangePercentage();
    void OnKillFocusAmount();
    // Whether every amount of the form fits the amount type, as a receipt needs. When one
    // shows "Desbordamiento" it says so in a message box and returns false. Run it after
    // Recalculate and before anything goes to paper or to a file.
    bool AmountsFitForPrinting();
    // Whether some face on the machine can write the receipt's text; when none can it says
    // so in a message box and returns false. Run it before anything goes to paper.
    bool ReceiptFontAvailable();
    // A euro (peseta) edit changed: rewrite the paired edit of the focused one and
    // recalculate. Changes while the focus is elsewhere rewrite nothing.
    void OnChangeEuros();
    void OnChangePesetas();

    // --- Commands -----------------------------------------------------------------------
    void OnImprimir();    // button 1: print; the form stays open
    void OnBorrarTodo();  // button 1019: clear for a new receipt
    void TogglePesetas(); // button 1044: show or hide the peseta column
    void OnBanner();      // button 1008: open the distributor's web site
    void OnAcerca();      // system-menu command: the about box
    void RefreshBanner();
    void OnVistaPrevia();      // "Vista previa…": the page in a window of its own, kept current
    void OnGuardarPdf();       // "Guardar como PDF…": the print command's steps, into a PDF file
    void OnRecibosEmitidos();  // "Recibos emitidos…": the register of issued receipts
    void OnTiposImpositivos(); // "Tipos impositivos…": the items of the percentage lists
    void OnEmitirLista();      // "Emitir lista de recibos…": built on first use
    // "Devoluciones del banco…": the bank's report of returned debits, applied to the register.
    void OnDevolucionesDelBanco();
    // "Registro compartido…": this desk's file or a register on a PostgreSQL server.
    void OnRegistroCompartido();
    // Fills the form from a receipt already issued, for a new one that resembles it.
    void CopiarReciboAlFormulario(const CRecibo& rec);

    // The receipt that "&Imprimir" would print now, read from the controls as they stand
    // without the save exchange: no member changes and no rule shows a message.
    CRecibo ReciboDeLosControles();

    std::unique_ptr<QPixmap> m_pBannerBitmap; // the picture on the banner, owned
    const QPixmap* m_hBanner = nullptr;       // that picture as set on the button, or none
    QPushButton* m_BotonBanner = nullptr;     // button 1008, attached by the first exchange
    QIcon m_hIcon;                            // the application icon, 128

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    // "&Imprimir" takes the place of OK: nothing but the cancel path ends the form.
    void OnOK() override;
    // Saves the settings, then ends the form.
    void OnCancel() override;

private:
    void CapitalizeFields();
    void BuildMenuBar();
    // The preview follows what is typed: every control's change is noted here, and the
    // page is drawn again once, before the next frame.
    void WatchForPreview();
    void SchedulePreview();
    void UpdatePreview();
    // A record that the print command has filled, printed or saved as PDF; whatever leaves
    // the program is recorded in the register, as the record was before it was drawn.
    // A reprint from "Recibos emitidos" (`reimpresion`) makes no invoicing record: a receipt
    // that carries its QR code already has one, and is not recorded again.
    void Imprimir(const CRecibo& rec, bool reimpresion = false);
    // With VERI*FACTU: the receipt recorded with its alta once the printer is chosen, before
    // the job; false when nothing was printed (the user has been told why).
    void ImprimirFactura(const salida::Modulo& modulo, const CRecibo& conQr,
                         const CRecibo& comoSeRelleno);
    // The print command's steps around what is done with the record: recompute, read the
    // form with its messages, fill the record, hand it to `salida`, show the form again.
    void ConElReciboDelFormulario(void (CTalveroDlg::*salida)(const CRecibo&, bool));
    void GuardarPdf(const CRecibo& rec, bool reimpresion = false);
    void Emitido(const CRecibo& comoSeRelleno, const QString& destino);
    // The module that prints, saves PDFs and keeps the register, loaded on first use; when
    // it cannot be loaded the user is told why, and nothing is returned.
    const salida::Modulo* Modulo();
    // With VERI*FACTU in force: the module's background sender started (once) and told to
    // send; the count of records still pending shown beside the menus (TalveroVerifactu.cpp).
    void ArrancarEnvios();
    // A day as the VERI*FACTU settings compare it: yyyy-mm-dd.
    static std::string HoyIso(const platform::LocalDate& dia);
    void MostrarPendientes(qint64 pendientes, const QString& motivo);
    QLabel* pendientes_ = nullptr;
    // The percentage lists get these items (and the percentages kept below); each keeps the
    // percentage it had selected.
    void PonerListasDeTipos(const tipos::Listas& listas);
    // Selects a percentage in its list. One that the list lacks is added and kept there
    // until the form closes, so that a remembered receipt computes as it did.
    void ConservarPorcentaje(tipos::Impuesto impuesto, const std::string& porcentaje);
    // After a load exchange: the percentages of m_Iva, m_Re and m_Irpf that no item begins
    // with are kept by ConservarPorcentaje. From the settings (`deUnRecibo` false) only
    // where the user chose the list: with the original lists a stored percentage that they
    // lack selects nothing, as it always has.
    void ConservarPorcentajesCargados(bool deUnRecibo);

    // Opened by the module of salida/ on first use, owned by the form.
    salida::VentanaVistaPrevia preview_;
    salida::VentanaEmitidos registro_;
    salida::Ventana lista_;
    bool previewPending_ = false;
    tipos::Listas listas_;      // the lists' items as chosen
    tipos::Listas conservados_; // percentages added to the lists by ConservarPorcentaje

    static const platform::NotifyRow<CTalveroDlg> kNotifications[];
};
