// The register on both engines side by side, with 100,000 receipts: recording one receipt,
// the "Recibos emitidos" window's model to its first rows, and one search. Argument 0 is the
// SQLite file, 1 a PostgreSQL server over loopback that this program starts for itself with
// scripts/pg-test-server.sh (in a temporary folder) and stops at its end. Each register is
// filled once, in one transaction: filling it is not what is measured.
#include "LlenarRegistro.h"
#include "SampleRecords.h"
#include "register/Filtro.h"
#include "register/ModeloRecibos.h"
#include "register/Registro.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRecibos = 100000;
// The rows a window shows at first.
constexpr int kFilasVisibles = 30;

bool ServidorDePrueba(const QString& accion, const QString& carpeta) {
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral(TALVERO_PG_SCRIPT), accion, carpeta});
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The server's folder, started on first use; stopped by main() at the end.
QTemporaryDir& CarpetaServidor() {
    static QTemporaryDir dir;
    return dir;
}
bool servidorArrancado = false;

// The URI of the server's register, or empty (with the reason printed) when it cannot start.
QString UriDelServidor() {
    static const QString uri = [] {
        const QString carpeta = CarpetaServidor().path();
        servidorArrancado = true; // stopped at the end even when it started only halfway
        if (!ServidorDePrueba(QStringLiteral("start"), carpeta)) {
            std::fprintf(stderr, "no se ha podido arrancar el servidor PostgreSQL\n");
            return QString();
        }
        QFile saltado(carpeta + QStringLiteral("/skipped")),
            archivo(carpeta + QStringLiteral("/uri"));
        if (saltado.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "sin servidor PostgreSQL: %s", saltado.readAll().constData());
            return QString();
        }
        qputenv("PGPASSFILE", (carpeta + QStringLiteral("/pgpass")).toLocal8Bit());
        return archivo.open(QIODevice::ReadOnly) ? QString::fromUtf8(archivo.readAll()).trimmed()
                                                 : QString();
    }();
    return uri;
}

QString Llenar(const QString& ubicacion) {
    if (ubicacion.isEmpty())
        return ubicacion;
    registro::Registro reg(ubicacion);
    const bool ok = LlenarRegistro(reg, kRecibos);
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(reg.Error()));
        return QString();
    }
    // The server's statistics as its autovacuum keeps them in a register in use; right after
    // 100,000 rows at once they are not there yet.
    if (reg.Base().driverName() == QLatin1String("QPSQL"))
        QSqlQuery(reg.Base()).exec(QStringLiteral("ANALYZE"));
    return ubicacion;
}

// The register of engine `motor` (0 SQLite, 1 PostgreSQL) with 100,000 receipts; empty when
// there is none.
QString Registro100000(int motor) {
    static QTemporaryDir dir;
    static std::array<QString, 2> ubicaciones;
    static std::array<bool, 2> hechos{};
    if (!hechos[std::size_t(motor)]) {
        hechos[std::size_t(motor)] = true;
        ubicaciones[std::size_t(motor)] =
            Llenar(motor == 0 ? dir.filePath(QStringLiteral("recibos.sqlite")) : UriDelServidor());
    }
    return ubicaciones[std::size_t(motor)];
}

// The model's first rows, every column read as the table paints them.
void LeerPrimerasFilas(registro::ModeloRecibos& modelo) {
    for (int fila = 0; fila < kFilasVisibles && fila < modelo.rowCount(); ++fila)
        for (int columna = 0; columna < modelo.columnCount(); ++columna)
            benchmark::DoNotOptimize(modelo.data(modelo.index(fila, columna)));
}

// A reader of the register of the benchmark's engine, or nothing with the benchmark skipped.
std::unique_ptr<registro::Registro> Lector(benchmark::State& state) {
    const QString ubicacion = Registro100000(int(state.range(0)));
    if (ubicacion.isEmpty()) {
        state.SkipWithError("no hay registro");
        return nullptr;
    }
    auto reg = std::make_unique<registro::Registro>(ubicacion);
    if (!reg->AbrirParaLeer()) {
        state.SkipWithError(qPrintable(reg->Error()));
        return nullptr;
    }
    return reg;
}

void AnotarUno(benchmark::State& state) {
    const QString ubicacion = Registro100000(int(state.range(0)));
    if (ubicacion.isEmpty())
        return state.SkipWithError("no hay registro");
    registro::Registro reg(ubicacion);
    const CRecibo recibo = sample::Filled();
    for (auto _ : state) {
        if (!reg.Anotar(recibo, QStringLiteral("Oficina")))
            state.SkipWithError(qPrintable(reg.Error()));
    }
}
BENCHMARK(AnotarUno)->Arg(0)->Arg(1)->ArgName("motor")->Unit(benchmark::kMillisecond);

// The window opening: its model made and its first rows read.
void PrimerasFilas(benchmark::State& state) {
    const std::unique_ptr<registro::Registro> reg = Lector(state);
    if (!reg)
        return;
    for (auto _ : state) {
        registro::ModeloRecibos modelo(reg->Base().connectionName());
        LeerPrimerasFilas(modelo);
    }
}
BENCHMARK(PrimerasFilas)->Arg(0)->Arg(1)->ArgName("motor")->Unit(benchmark::kMillisecond);

// One search typed: the filter set and the first rows found read. Second argument 0: a name
// that some receipts have; 1: a word that none has, so every search text is read.
void Busqueda(benchmark::State& state) {
    const std::unique_ptr<registro::Registro> reg = Lector(state);
    if (!reg)
        return;
    registro::ModeloRecibos modelo(reg->Base().connectionName());
    const registro::Filtro filtro{
        state.range(1) == 0 ? QStringLiteral("peña") : QStringLiteral("xqzw"), {}, {}};
    for (auto _ : state) {
        modelo.setFiltro(filtro);
        LeerPrimerasFilas(modelo);
    }
}
BENCHMARK(Busqueda)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"motor", "nada"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (servidorArrancado)
        ServidorDePrueba(QStringLiteral("stop"), CarpetaServidor().path());
    return 0;
}
