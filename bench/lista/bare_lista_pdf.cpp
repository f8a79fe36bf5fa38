// The floor of a list emitted as one PDF: a bare program that opens a QPdfWriter set up as
// the program sets up its own (PDF/A-1b, 1200 dpi, A4, 5 mm margins) and draws one receipt
// page COUNT times with plain QPainter calls, the primitives recorded once from the receipt's
// own drawing. Usage: talvero_bare_lista OUT.pdf COUNT
#include "PlainPage.h"

#include "receipt/Recibo.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(1200);
    writer.setTitle(QStringLiteral("Recibos"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    // The first row of bench/lista.sh's list on the receipt the form opens with.
    CRecibo muestra;
    muestra.m_Numero = "1";
    muestra.m_Fecha = moneda::Fecha(2024, 3, 1, 1, 1, 1);
    muestra.m_Pagador1 = "Socio número 1";
    muestra.m_Direccion = "C/ Mayor 2, 2º";
    muestra.m_Concepto1 = "Cuota de marzo de 2024";
    muestra.m_Importe1 = moneda::Currency(3015000);
    muestra.m_Vencimiento = "A LA VISTA";
    muestra.m_Solido = 1;
    const PlainPage pagina = PlainPage::Record(writer, [&muestra](page::PageSurface& p) {
        CRecibo copia = muestra;
        copia.Dibujar(p);
    });
    QPainter painter(&writer);
    const int paginas = QByteArray(argv[2]).toInt();
    for (int i = 0; i < paginas; ++i) {
        if (i > 0)
            writer.newPage();
        pagina.Paint(painter);
    }
    return painter.end() ? 0 : 1;
}
