// The register with 100,000 receipts: what the user waits for. The file is built once, in
// a temporary folder, with the same varied receipts as the tests.
#include "LlenarRegistro.h"
#include "SampleRecords.h"
#include "register/ExportarCsv.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kRecibos = 100000;

// One big transaction: building the file is not what is measured. TALVERO_BENCH_REGISTRO
// names a file to keep (and reuse) between runs.
QString Registro100000() {
    static QTemporaryDir dir;
    static const QString ruta = [] {
        const QString guardado = qEnvironmentVariable("TALVERO_BENCH_REGISTRO");
        const QString r =
            guardado.isEmpty() ? dir.filePath(QStringLiteral("recibos.sqlite")) : guardado;
        if (!guardado.isEmpty() && QFileInfo::exists(guardado))
            return r;
        registro::Registro reg(r);
        const bool ok = LlenarRegistro(reg, kRecibos);
        if (!ok)
            std::abort();
        return r;
    }();
    return ruta;
}

void AbrirVentana(benchmark::State& state) {
    const QString ruta = Registro100000();
    for (auto _ : state) {
        registro::RecibosEmitidos ventana(ruta, {});
        ventana.show();
        // grab() paints the window, and with it the first rows of the table.
        benchmark::DoNotOptimize(ventana.grab());
    }
}
BENCHMARK(AbrirVentana)->Unit(benchmark::kMillisecond);

void TeclaDeBusqueda(benchmark::State& state) {
    static const QStringList palabras[] = {
        {QStringLiteral("p"), QStringLiteral("pe"), QStringLiteral("peñ"), QStringLiteral("peña")},
        {QStringLiteral("c"), QStringLiteral("ca"), QStringLiteral("cal"), QStringLiteral("calde")},
        // Nothing matches: the whole table is scanned.
        {QStringLiteral("x"), QStringLiteral("xq"), QStringLiteral("xqz"), QStringLiteral("xqzw")},
    };
    const QStringList& teclas = palabras[state.range(0)];
    registro::RecibosEmitidos ventana(Registro100000(), {});
    ventana.show();
    auto* buscar = ventana.findChild<QLineEdit*>(QStringLiteral("buscar"));
    auto* tabla = ventana.findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    int i = 0;
    for (auto _ : state) {
        buscar->setText(teclas[i++ % teclas.size()]);
        benchmark::DoNotOptimize(tabla->viewport()->grab());
    }
}
BENCHMARK(TeclaDeBusqueda)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void AnotarUno(benchmark::State& state) {
    registro::Registro reg(Registro100000());
    const CRecibo recibo = sample::Filled();
    for (auto _ : state) {
        if (!reg.Anotar(recibo, QStringLiteral("Oficina")))
            state.SkipWithError(qPrintable(reg.Error()));
    }
}
BENCHMARK(AnotarUno)->Unit(benchmark::kMillisecond);

void ExportarTodo(benchmark::State& state) {
    registro::Registro reg(Registro100000());
    reg.Abrir();
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("todo.csv"));
    for (auto _ : state) {
        QString error;
        qint64 filas = 0;
        if (!registro::ExportarCsv(reg.Base(), {}, {}, csv, error, &filas))
            state.SkipWithError(qPrintable(error));
        state.counters["filas"] = double(filas);
    }
}
BENCHMARK(ExportarTodo)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
