// The remittance of a busy month: 10,000 receipts checked and written (goal: under one
// second). The floor writes the same elements with a bare QXmlStreamWriter to a QSaveFile,
// in the same run; "veces_el_suelo" is the remittance's time over the floor's.
#include "SampleAdeudos.h"
#include "sepa/EscribirRemesa.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int kRecibos = 10000;
// Elements written per debit, and per group and header, by the remittance.
constexpr int kElementosPorAdeudo = 22;

const sepa::Remesa& Remesa10000() {
    static const sepa::Remesa remesa = [] {
        sepa::Remesa r{sample::AcreedorEjemplo(), std::chrono::year(2024) / 3 / 8, {}};
        for (int n = 0; n < kRecibos; ++n)
            r.adeudos.push_back(sample::AdeudoEjemplo(std::uint64_t(n)));
        return r;
    }();
    return remesa;
}

// Bare Qt: as many elements with fixed texts, written to memory and then to a file.
void Suelo(const QString& ruta) {
    QByteArray documento;
    {
        QBuffer buffer(&documento);
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter xml(&buffer);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("Document"));
        for (int i = 0; i < kRecibos * kElementosPorAdeudo; ++i)
            xml.writeTextElement(QStringLiteral("Elemento"), QStringLiteral("Texto de prueba"));
        xml.writeEndDocument();
    }
    QSaveFile file(ruta);
    file.open(QIODevice::WriteOnly);
    file.write(documento);
    file.commit();
}

double SegundosDelSuelo(const QString& ruta) {
    double mejor = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        Suelo(ruta);
        mejor = std::min(mejor, double(t.nsecsElapsed()) / 1e9);
    }
    return mejor;
}

void SueloQt(benchmark::State& state) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("suelo.xml"));
    for (auto _ : state)
        Suelo(ruta);
}
BENCHMARK(SueloQt)->Unit(benchmark::kMillisecond);

void Remesa10000Recibos(benchmark::State& state) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("remesa.xml"));
    const sepa::Remesa& remesa = Remesa10000();
    const double suelo = SegundosDelSuelo(dir.filePath(QStringLiteral("suelo.xml")));
    const sepa::Fecha hoy = std::chrono::year(2024) / 3 / 5;
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const sepa::ResultadoRemesa r = sepa::EscribirRemesa(ruta, remesa, hoy);
        total += double(t.nsecsElapsed()) / 1e9;
        if (!r.Escrita())
            state.SkipWithError(qPrintable(r.error));
    }
    state.counters["veces_el_suelo"] = total / double(state.iterations()) / suelo;
}
BENCHMARK(Remesa10000Recibos)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
