#include "register/LineaDeOrdenes.h"

#include "register/ExportarCsv.h"
#include "register/Registro.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <array>
#include <csignal>
#include <cstdio>

namespace registro {

namespace {

constexpr const char* kUso =
    "Uso: talvero [--exportar-registro ARCHIVO.csv [--desde AAAA-MM-DD] [--hasta AAAA-MM-DD] | "
    "--emitir-lista LISTA.csv (--comprobar | --pdf SALIDA.pdf | --carpeta-pdf CARPETA | "
    "--impresora NOMBRE) | --help]\n";

constexpr const char* kAyuda =
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
    "  --remesa REMESA.xml              con --emitir-lista, sola o con --pdf, --carpeta-pdf o\n"
    "                                   --impresora: la remesa SEPA (pain.008) de los recibos\n"
    "                                   con IBAN, para el banco del acreedor (sus datos, en\n"
    "                                   «Datos del acreedor…»); sola, solo se anotan esos\n"
    "  --fecha-cobro AAAA-MM-DD         con --remesa: el día en que el banco cobra los recibos\n"
    "  -h, --help                       muestra esta ayuda\n"
    "\n"
    "El registro se lee sin cambiarlo. ARCHIVO.csv solo se reemplaza cuando la exportación\n"
    "termina bien. Salida: 0 hecho, 1 no se pudo exportar o emitir, 2 orden mal escrita o\n"
    "lista con errores.\n"
    "\n"
    "El registro de recibos emitidos está en:\n"
    "  %s\n";

// The options that the toolkit takes itself, with one dash or two, and whether the next
// argument is their value. They are never ours, and never unknown.
struct OpcionDeQt {
    const char* nombre;
    bool conValor;
};
constexpr std::array<OpcionDeQt, 25> kOpcionesDeQt{{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowtitle", true},
    {"title", true},
    {"qwindowicon", true},
    {"icon", true},
    {"style", true},
    {"stylesheet", true},
    {"session", true},
    {"display", true},
    {"name", true},
    {"qmljsdebugger", false},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
    {"visual", true},
    {"ncols", true},
    {"cmap", false},
    {"testability", false},
}};

// Whether `a` is an option of the toolkit; `conValor` tells whether it takes the next one.
bool EsDeQt(const QString& a, bool& conValor) {
    if (!a.startsWith(QLatin1Char('-')))
        return false;
    QString nombre = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype igual = nombre.indexOf(QLatin1Char('='));
    if (igual >= 0)
        nombre.truncate(igual);
    for (const OpcionDeQt& o : kOpcionesDeQt) {
        if (nombre == QLatin1String(o.nombre)) {
            conValor = o.conValor && igual < 0;
            return true;
        }
    }
    return false;
}

// What the arguments ask for.
struct Orden {
    bool nuestra = false; // some argument is for the command line
    bool ayuda = false;
    QString archivo, desde, hasta, fechaCobro;
    OpcionesLista lista;
    QString error; // why the arguments cannot be run; exit status 2
};

// "--opcion valor" or "--opcion=valor"; advances `i` past the value. False when `args[i]`
// is not `opcion`.
bool Valor(const QStringList& args, qsizetype& i, const QString& opcion, QString& valor,
           Orden& orden) {
    const QString& a = args[i];
    const bool conIgual = a.startsWith(opcion + QLatin1Char('='));
    if (a != opcion && !conIgual)
        return false;
    if (!valor.isEmpty() && orden.error.isEmpty())
        orden.error = QStringLiteral("%1 aparece más de una vez.").arg(opcion);
    QString leido;
    if (conIgual)
        leido = a.mid(opcion.size() + 1);
    else if (i + 1 < args.size())
        leido = args[++i];
    QString motivo;
    if (leido.isEmpty())
        motivo = QStringLiteral("falta el valor de %1.").arg(opcion);
    else if (leido.startsWith(QLatin1Char('-')))
        // A forgotten value would make the next option a file name, or hide it.
        motivo = QStringLiteral("falta el valor de %1: «%2» parece una opción (un archivo cuyo "
                                "nombre empieza por «-» se escribe ./%2).")
                     .arg(opcion, leido);
    if (!motivo.isEmpty() && orden.error.isEmpty())
        orden.error = motivo;
    valor = leido;
    return true;
}

Orden Leer(const QStringList& args) {
    Orden orden;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        bool conValor = false;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            orden.nuestra = orden.ayuda = true;
        } else if (a == QLatin1String("--comprobar")) {
            orden.nuestra = orden.lista.comprobar = true;
        } else if (Valor(args, i, QStringLiteral("--exportar-registro"), orden.archivo, orden) ||
                   Valor(args, i, QStringLiteral("--desde"), orden.desde, orden) ||
                   Valor(args, i, QStringLiteral("--hasta"), orden.hasta, orden) ||
                   Valor(args, i, QStringLiteral("--emitir-lista"), orden.lista.lista, orden) ||
                   Valor(args, i, QStringLiteral("--pdf"), orden.lista.pdf, orden) ||
                   Valor(args, i, QStringLiteral("--carpeta-pdf"), orden.lista.carpetaPdf, orden) ||
                   Valor(args, i, QStringLiteral("--impresora"), orden.lista.impresora, orden) ||
                   Valor(args, i, QStringLiteral("--remesa"), orden.lista.remesa, orden) ||
                   Valor(args, i, QStringLiteral("--fecha-cobro"), orden.fechaCobro, orden)) {
            orden.nuestra = true;
        } else if (EsDeQt(a, conValor)) {
            i += conValor ? 1 : 0;
        } else if (a.startsWith(QLatin1String("--"))) {
            orden.nuestra = true;
            if (orden.error.isEmpty())
                orden.error = QStringLiteral("opción desconocida «%1».").arg(a);
        }
        // Anything else (a file that a desktop launcher passes) is none of our business.
    }
    if (orden.error.isEmpty() && orden.archivo.isEmpty() && !orden.ayuda &&
        (!orden.desde.isEmpty() || !orden.hasta.isEmpty()))
        orden.error = QStringLiteral("--desde y --hasta solo valen con --exportar-registro.");
    OpcionesLista& lista = orden.lista;
    const bool remesa = !lista.remesa.isEmpty();
    const int salidas = int(lista.comprobar) + int(!lista.pdf.isEmpty()) +
                        int(!lista.carpetaPdf.isEmpty()) + int(!lista.impresora.isEmpty());
    if (orden.error.isEmpty() && !orden.ayuda &&
        (salidas > 0 || remesa || !lista.lista.isEmpty())) {
        if (!orden.archivo.isEmpty())
            orden.error = QStringLiteral("--emitir-lista y --exportar-registro no van juntos.");
        else if (lista.lista.isEmpty())
            orden.error = QStringLiteral("falta --emitir-lista LISTA.csv.");
        else if (remesa && lista.comprobar)
            orden.error = QStringLiteral("--remesa no va con --comprobar.");
        else if (remesa ? salidas > 1 : salidas != 1)
            orden.error = QStringLiteral("con --emitir-lista, indique una y solo una de "
                                         "--comprobar, --pdf, --carpeta-pdf o --impresora.");
    }
    if (orden.error.isEmpty() && !orden.ayuda) {
        if (remesa && orden.fechaCobro.isEmpty())
            orden.error = QStringLiteral("con --remesa, indique --fecha-cobro AAAA-MM-DD.");
        else if (!remesa && !orden.fechaCobro.isEmpty())
            orden.error = QStringLiteral("--fecha-cobro solo vale con --remesa.");
        else if (remesa &&
                 !(lista.cobro = QDate::fromString(orden.fechaCobro, QStringLiteral("yyyy-MM-dd")))
                      .isValid())
            orden.error = QStringLiteral("--fecha-cobro «%1» no es una fecha AAAA-MM-DD.")
                              .arg(orden.fechaCobro);
    }
    return orden;
}

int Error(const QString& texto) {
    std::fprintf(stderr, "talvero: %s\n", texto.toLocal8Bit().constData());
    return 2;
}

bool LeerFecha(const QString& texto, QDate& fecha) {
    fecha = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    return fecha.isValid();
}

int Ejecutar(const Orden& orden, const EmitirLista& emitirLista) {
    if (!orden.error.isEmpty()) {
        std::fprintf(stderr, "talvero: %s Pruebe «talvero --help».\n%s",
                     orden.error.toLocal8Bit().constData(), kUso);
        return 2;
    }
    if (orden.ayuda) {
        std::printf("%s", kUso);
        std::printf(kAyuda, Registro::RutaPorDefecto().toLocal8Bit().constData());
        return 0;
    }
    if (!orden.lista.lista.isEmpty()) {
        if (!emitirLista)
            return Error(QStringLiteral("esta versión no sabe emitir listas."));
        return emitirLista(orden.lista);
    }
    const QString& desde = orden.desde;
    const QString& hasta = orden.hasta;
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

    // The register is only read: whatever state it is in, the export changes nothing in it,
    // and a register that cannot be read leaves the last good copy where it is.
    Registro registro(Registro::RutaPorDefecto());
    const QString archivo = QFileInfo(orden.archivo).absoluteFilePath();
    if (const QString motivo = DestinoNoAdmitido(archivo, registro.Ruta()); !motivo.isEmpty())
        return Error(motivo + QLatin1Char('.'));
    if (!registro.AbrirParaLeer())
        return Error(QStringLiteral("no se ha exportado nada y %1 no se ha tocado: %2.")
                         .arg(orden.archivo, registro.Error())) -
               1;
    QString error;
    qint64 filas = 0;
    if (!ExportarCsv(registro.Base(), filtro, {}, archivo, error, &filas))
        return Error(error + QLatin1Char('.')) - 1;
    std::fprintf(stderr, "talvero: %lld %s a %s\n", static_cast<long long>(filas),
                 filas == 1 ? "recibo exportado" : "recibos exportados",
                 orden.archivo.toLocal8Bit().constData());
    return 0;
}

} // namespace

std::optional<int> LineaDeOrdenes(int argc, char** argv, const EmitirLista& emitirLista) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const Orden orden = Leer(args);
    if (!orden.nuestra)
        return std::nullopt;
#ifdef SIGXFSZ
    // A file-size limit then fails the write, which is reported, instead of killing the
    // program half-way through.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (orden.error.isEmpty() && !orden.ayuda && !orden.lista.lista.isEmpty()) {
        // Pages are drawn with fonts, which needs a GUI application, but never a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Standard error carries the list's own messages for scripts: Qt's notes about the
        // desktop session (no runtime folder, for one) are not theirs to read.
        qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& m) {
            if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
                std::fprintf(stderr, "talvero: %s\n", m.toLocal8Bit().constData());
        });
        QGuiApplication app(argc, argv);
        return Ejecutar(orden, emitirLista);
    }
    // No display needed: a core application is enough for the SQL driver and the paths.
    QCoreApplication app(argc, argv);
    return Ejecutar(orden, emitirLista);
}

} // namespace registro
