#include "orden/LineaDeOrdenes.h"

#include "orden/Ayuda.h"
#include "orden/Leer.h"
#include "receipt/Recibo.h"
#include "salida/Modulo.h"
#include "salida/Ordenes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <memory>

namespace orden {

namespace {

void Escribir(std::FILE* salida, const QString& texto) {
    std::fputs(texto.toLocal8Bit().constData(), salida);
}

// The application object a command needs: pages are drawn with fonts, which needs a GUI
// application, but never a screen; otherwise a core application is enough for the SQL
// driver and the paths.
std::unique_ptr<QCoreApplication> Aplicacion(bool paginas, int& argc, char** argv) {
    if (!paginas)
        return std::make_unique<QCoreApplication>(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the command's own messages for scripts: Qt's notes about the
    // desktop session (no runtime folder, for one) are not theirs to read.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& m) {
        if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
            std::fprintf(stderr, "talvero: %s\n", m.toLocal8Bit().constData());
    });
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

std::optional<int> LineaDeOrdenes(int argc, char** argv, const Tabla& tabla,
                                  std::function<CRecibo()> plantilla) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const Lectura lectura = Leer(args, tabla);
    if (!lectura.nuestra)
        return std::nullopt;
#ifdef SIGXFSZ
    // A file-size limit then fails the write, which is reported, instead of killing the
    // program half-way through.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (!lectura.error.isEmpty()) {
        Escribir(stderr,
                 QStringLiteral("talvero: %1 Pruebe «talvero --help».\n").arg(lectura.error) +
                     Uso(tabla));
        return 2;
    }
    const auto app = Aplicacion(lectura.orden != nullptr && lectura.orden->paginas, argc, argv);
    QString problema;
    const salida::Modulo* modulo = salida::CargarModulo(&problema);
    if (modulo == nullptr) {
        Escribir(stderr, QStringLiteral("talvero: %1\n").arg(problema));
        return 1;
    }
    if (lectura.ayuda) {
        QStringList notas;
        for (const Capacidad& c : tabla)
            if (c.nota != nullptr)
                notas << c.nota(modulo->ordenes);
        Escribir(stdout, Ayuda(tabla, notas));
        return 0;
    }
    const Leidas& leidas = lectura.leidas;
    const Entorno entorno{modulo->ordenes, std::move(plantilla),
                          [&tabla, &leidas](salida::PedidoLista& pedido) {
                              for (const Capacidad& a : tabla)
                                  if (a.completar != nullptr && !a.opciones.empty() &&
                                      leidas.Tiene(a.opciones.front().nombre))
                                      a.completar(leidas, pedido);
                          }};
    return lectura.orden->ejecutar(leidas, entorno);
}

} // namespace orden
