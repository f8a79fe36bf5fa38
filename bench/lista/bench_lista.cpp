// A month's list of 1,000 receipts. "LeerYRevisar" reads the CSV and checks every row;
// "ListaAUnPdf" emits it as one PDF/A file and records it, and "PaginasEnQPdfWriter" draws
// the same pages into a bare QPdfWriter on a plain file: their per-page times' ratio is what
// the emission adds to drawing. "VentanaHastaLasFilas" opens the list in the window up to its
// first painted rows. Peak memory (the process's maximum resident size) is a counter.
#include "lista/Emision.h"
#include "lista/VentanaLista.h"

#include "SampleRecords.h"
#include "platform/PdfExport.h"
#include "platform/QtPageSurface.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kRecibos = 1000;
QTemporaryDir* g_dir = nullptr;

QString ListaCsv() {
    const QString ruta = g_dir->filePath(QStringLiteral("mes.csv"));
    if (QFile::exists(ruta))
        return ruta;
    QByteArray t("\xEF\xBB\xBFNúmero;Fecha;Pagador;Dirección;Concepto 1;Importe 1;Concepto 2;"
                 "Importe 2;% IVA;% IRPF\r\n");
    const char* nombres[] = {"Ana Pérez Gil", "Luis Gómez Ruiz", "Comercial Sanz, S.L.",
                             "Marta Roca Peña", "José Núñez"};
    for (int i = 0; i < kRecibos; ++i)
        t += QStringLiteral("%1;01/03/2024;\"%2\";C/ Mayor %3, %4º;Alquiler de marzo de 2024;"
                            "%5,%6;%7;%8;%9;%10\r\n")
                 .arg(1000 + i)
                 .arg(QString::fromUtf8(nombres[i % 5]))
                 .arg(i % 90 + 1)
                 .arg(i % 9 + 1)
                 .arg(300 + i % 700)
                 .arg(i % 100, 2, 10, QLatin1Char('0'))
                 .arg(i % 3 == 0 ? QStringLiteral("Plaza de garaje") : QString())
                 .arg(i % 3 == 0 ? QStringLiteral("60,00") : QString())
                 .arg(i % 4 == 0 ? 4 : 0)
                 .arg(i % 2 == 0 ? 15 : 0)
                 .toUtf8();
    QFile f(ruta);
    f.open(QIODevice::WriteOnly);
    f.write(t);
    return ruta;
}

lista::ListaRevisada Revisada() {
    return lista::RevisarLista(lista::LeerArchivoCsv(ListaCsv()), sample::Filled(),
                               {{"0", "4"}, {"0"}, {"0", "15"}}, {});
}

double PicoMiB() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return double(uso.ru_maxrss) / 1024.0;
}

void LeerYRevisar(benchmark::State& state) {
    ListaCsv();
    for (auto _ : state) {
        const lista::ListaRevisada l = Revisada();
        if (!l.Emitible()) {
            state.SkipWithError("the list has errors");
            break;
        }
        benchmark::DoNotOptimize(l.filas.data());
    }
}
BENCHMARK(LeerYRevisar)->Unit(benchmark::kMillisecond);

void ListaAUnPdf(benchmark::State& state) {
    const lista::ListaRevisada l = Revisada();
    lista::PedidoEmision pedido;
    pedido.ruta = g_dir->filePath(QStringLiteral("mes.pdf"));
    pedido.archivoLista = ListaCsv();
    pedido.registro = g_dir->filePath(QStringLiteral("recibos.sqlite"));
    for (auto _ : state) {
        const lista::Emision e = lista::Emitir(l, pedido);
        if (e.estado != lista::Emision::Estado::Emitida || !e.error.isEmpty()) {
            state.SkipWithError(qPrintable(e.error));
            break;
        }
    }
    state.counters["por_pagina_ms"] =
        benchmark::Counter(double(state.iterations()) * kRecibos / 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["pico_MiB"] = PicoMiB();
}
BENCHMARK(ListaAUnPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

void PaginasEnQPdfWriter(benchmark::State& state) {
    const lista::ListaRevisada l = Revisada();
    const QPageLayout layout = platform::PdfPageLayout();
    for (auto _ : state) {
        QFile file(g_dir->filePath(QStringLiteral("bare.pdf")));
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setResolution(platform::kPdfResolution);
        writer.setPageLayout(layout);
        QPainter painter(&writer);
        for (int i = 0; i < kRecibos; ++i) {
            if (i > 0)
                writer.newPage();
            platform::QtPageSurface surface(painter);
            lista::DibujarFila(l, i, surface);
        }
    }
    state.counters["por_pagina_ms"] =
        benchmark::Counter(double(state.iterations()) * kRecibos / 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(PaginasEnQPdfWriter)->Unit(benchmark::kMillisecond)->Iterations(2);

void VentanaHastaLasFilas(benchmark::State& state) {
    ListaCsv();
    for (auto _ : state) {
        lista::VentanaLista v([] { return sample::Filled(); });
        v.UsarRegistro(g_dir->filePath(QStringLiteral("vacio.sqlite")));
        v.show();
        v.Abrir(ListaCsv());
        auto* tabla = v.findChild<QTableView*>(QStringLiteral("tablaLista"));
        tabla->viewport()->repaint(); // the first rows painted
        benchmark::DoNotOptimize(tabla);
    }
}
BENCHMARK(VentanaHastaLasFilas)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
