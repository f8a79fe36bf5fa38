#include "register/LineaDeOrdenes.h"

#include "register/ExportarCsv.h"
#include "register/Registro.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace registro {

namespace {

constexpr const char* kAyuda =
    "Uso: talvero [opción]\n"
    "\n"
    "Sin opciones, abre el formulario de recibos.\n"
    "\n"
    "Opciones:\n"
    "  --exportar-registro ARCHIVO.csv  escribe los recibos emitidos en ARCHIVO.csv, para una\n"
    "                                   hoja de cálculo (UTF-8, \";\" entre campos, \",\" "
    "decimal),\n"
    "                                   sin abrir ninguna ventana\n"
    "  --desde AAAA-MM-DD               con --exportar-registro: solo recibos de esa fecha\n"
    "                                   o posteriores\n"
    "  --hasta AAAA-MM-DD               con --exportar-registro: solo recibos de esa fecha\n"
    "                                   o anteriores\n"
    "  --emitir-lista LISTA.csv         emite los recibos de una lista de una hoja de cálculo\n"
    "                                   (una fila por recibo), sin abrir ninguna ventana, con\n"
    "                                   una de estas opciones:\n"
    "  --comprobar                      solo comprueba la lista: los errores y avisos de cada\n"
    "                                   fila salen por la salida de errores\n"
    "  --pdf SALIDA.pdf                 un PDF con una página por recibo\n"
    "  --carpeta-pdf CARPETA            un PDF por recibo en CARPETA\n"
    "  --impresora NOMBRE               un trabajo de impresión en la cola NOMBRE\n"
    "  -h, --help                       muestra esta ayuda\n"
    "\n"
    "El registro de recibos emitidos está en:\n"
    "  %s\n";

bool PideLista(const char* a) {
    return std::strcmp(a, "--emitir-lista") == 0 || std::strncmp(a, "--emitir-lista=", 15) == 0;
}

bool EsNuestro(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0 ||
            std::strcmp(a, "--exportar-registro") == 0 ||
            std::strncmp(a, "--exportar-registro=", 20) == 0 || PideLista(a))
            return true;
    }
    return false;
}

int Error(const QString& texto) {
    std::fprintf(stderr, "talvero: %s\n", texto.toLocal8Bit().constData());
    return 2;
}

// "--opcion valor" or "--opcion=valor"; advances `i` past the value.
bool Valor(const QStringList& args, qsizetype& i, const QString& opcion, QString& valor,
           bool& error) {
    const QString& a = args[i];
    if (a == opcion) {
        if (i + 1 >= args.size()) {
            error = true;
            return true;
        }
        valor = args[++i];
        return true;
    }
    if (a.startsWith(opcion + QLatin1Char('='))) {
        valor = a.mid(opcion.size() + 1);
        return true;
    }
    return false;
}

bool LeerFecha(const QString& texto, QDate& fecha) {
    fecha = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    return fecha.isValid();
}

int Ejecutar(const QStringList& args, const EmitirLista& emitirLista) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::printf(kAyuda, Registro::RutaPorDefecto().toLocal8Bit().constData());
        return 0;
    }
    QString archivo, desde, hasta;
    OpcionesLista lista;
    for (qsizetype i = 1; i < args.size(); ++i) {
        bool falta = false;
        QString* destino = nullptr;
        QString valor;
        if (args[i] == QLatin1String("--comprobar")) {
            lista.comprobar = true;
            continue;
        }
        if (Valor(args, i, QStringLiteral("--exportar-registro"), valor, falta))
            destino = &archivo;
        else if (Valor(args, i, QStringLiteral("--emitir-lista"), valor, falta))
            destino = &lista.lista;
        else if (Valor(args, i, QStringLiteral("--pdf"), valor, falta))
            destino = &lista.pdf;
        else if (Valor(args, i, QStringLiteral("--carpeta-pdf"), valor, falta))
            destino = &lista.carpetaPdf;
        else if (Valor(args, i, QStringLiteral("--impresora"), valor, falta))
            destino = &lista.impresora;
        else if (Valor(args, i, QStringLiteral("--desde"), valor, falta))
            destino = &desde;
        else if (Valor(args, i, QStringLiteral("--hasta"), valor, falta))
            destino = &hasta;
        else
            return Error(
                QStringLiteral("opción desconocida «%1». Pruebe «talvero --help».").arg(args[i]));
        if (falta || valor.isEmpty())
            return Error(QStringLiteral("falta el valor de %1. Pruebe «talvero --help».")
                             .arg(args[i].section(QLatin1Char('='), 0, 0)));
        *destino = valor;
    }
    const bool deLista = lista.comprobar || !lista.lista.isEmpty() || !lista.pdf.isEmpty() ||
                         !lista.carpetaPdf.isEmpty() || !lista.impresora.isEmpty();
    if (deLista && (!archivo.isEmpty() || !desde.isEmpty() || !hasta.isEmpty()))
        return Error(QStringLiteral("--emitir-lista y --exportar-registro no van juntos. Pruebe "
                                    "«talvero --help»."));
    if (deLista) {
        if (lista.lista.isEmpty())
            return Error(
                QStringLiteral("falta --emitir-lista LISTA.csv. Pruebe «talvero --help»."));
        const int salidas = int(lista.comprobar) + int(!lista.pdf.isEmpty()) +
                            int(!lista.carpetaPdf.isEmpty()) + int(!lista.impresora.isEmpty());
        if (salidas != 1)
            return Error(
                QStringLiteral("con --emitir-lista, indique una y solo una de --comprobar, "
                               "--pdf, --carpeta-pdf o --impresora."));
        if (!emitirLista)
            return Error(QStringLiteral("esta versión no sabe emitir listas."));
        return emitirLista(lista);
    }
    Filtro filtro;
    if (!desde.isEmpty() && !LeerFecha(desde, filtro.desde))
        return Error(QStringLiteral("la fecha de --desde «%1» no es válida: escriba AAAA-MM-DD, "
                                    "por ejemplo 2024-01-31.")
                         .arg(desde));
    if (!hasta.isEmpty() && !LeerFecha(hasta, filtro.hasta))
        return Error(QStringLiteral("la fecha de --hasta «%1» no es válida: escriba AAAA-MM-DD, "
                                    "por ejemplo 2024-03-31.")
                         .arg(hasta));
    if (filtro.desde.isValid() && filtro.hasta.isValid() && filtro.desde > filtro.hasta)
        return Error(QStringLiteral("--desde (%1) es posterior a --hasta (%2).").arg(desde, hasta));

    Registro registro(Registro::RutaPorDefecto());
    if (!registro.Abrir())
        return Error(QStringLiteral("no se puede abrir el registro %1: %2")
                         .arg(registro.Ruta(), registro.Error())) -
               1;
    if (!registro.Apartado().isEmpty())
        std::fprintf(stderr,
                     "talvero: el registro estaba dañado: se ha apartado como %s y se ha "
                     "empezado uno nuevo, vacío.\n",
                     registro.Apartado().toLocal8Bit().constData());
    QString error;
    qint64 filas = 0;
    if (!ExportarCsv(registro.Base(), filtro, {}, QFileInfo(archivo).absoluteFilePath(), error,
                     &filas))
        return Error(error) - 1;
    std::fprintf(stderr, "talvero: %lld %s a %s\n", static_cast<long long>(filas),
                 filas == 1 ? "recibo exportado" : "recibos exportados",
                 archivo.toLocal8Bit().constData());
    return registro.Apartado().isEmpty() ? 0 : 1;
}

} // namespace

std::optional<int> LineaDeOrdenes(int argc, char** argv, const EmitirLista& emitirLista) {
    if (!EsNuestro(argc, argv))
        return std::nullopt;
    if (std::any_of(argv + 1, argv + argc, PideLista)) {
        // Pages are drawn with fonts, which needs a GUI application, but never a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Standard error carries the list's own messages for scripts: Qt's notes about the
        // desktop session (no runtime folder, for one) are not theirs to read.
        qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& m) {
            if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
                std::fprintf(stderr, "talvero: %s\n", m.toLocal8Bit().constData());
        });
        QGuiApplication app(argc, argv);
        return Ejecutar(QCoreApplication::arguments(), emitirLista);
    }
    // No display needed: a core application is enough for the SQL driver and the paths.
    QCoreApplication app(argc, argv);
    return Ejecutar(QCoreApplication::arguments(), emitirLista);
}

} // namespace registro
