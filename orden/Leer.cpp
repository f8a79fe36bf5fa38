#include "orden/Leer.h"

#include <array>

namespace orden {

namespace {

// The options that the toolkit takes itself, with one dash or two, and whether the next
// argument is their value.
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

void Fallo(Lectura& lectura, const QString& error) {
    if (lectura.error.isEmpty())
        lectura.error = error;
}

// The table's option that `a` is ("--pdf", or "--pdf=…" for one with a value).
const Opcion* Buscar(const Tabla& tabla, const QString& a) {
    for (const Capacidad& c : tabla) {
        for (const Opcion& o : c.opciones) {
            const QLatin1String nombre(o.nombre);
            if (a == nombre || (o.valor != nullptr && a.startsWith(nombre) &&
                                a.size() > nombre.size() && a[nombre.size()] == QLatin1Char('=')))
                return &o;
        }
    }
    return nullptr;
}

// "--opcion valor" or "--opcion=valor"; advances `i` past the value.
void LeerValor(const QStringList& args, qsizetype& i, const Opcion& o, Lectura& lectura) {
    const QString& a = args[i];
    const QLatin1String opcion(o.nombre);
    const bool conIgual = a != opcion;
    if (!lectura.leidas.Valor(o.nombre).isEmpty())
        Fallo(lectura, QStringLiteral("%1 aparece más de una vez.").arg(opcion));
    QString leido;
    if (conIgual)
        leido = a.mid(opcion.size() + 1);
    else if (i + 1 < args.size())
        leido = args[++i];
    if (leido.isEmpty())
        Fallo(lectura, QStringLiteral("falta el valor de %1.").arg(opcion));
    else if (leido.startsWith(QLatin1Char('-')))
        // A forgotten value would make the next option a file name, or hide it.
        Fallo(lectura, QStringLiteral("falta el valor de %1: «%2» parece una opción (un archivo "
                                      "cuyo nombre empieza por «-» se escribe ./%2).")
                           .arg(opcion, leido));
    lectura.leidas.Poner(o.nombre, leido);
}

// Whether the arguments gave the option that asks for a capability.
bool Dada(const Capacidad& c, const Leidas& leidas) {
    return !c.opciones.empty() && leidas.Tiene(c.opciones.front().nombre);
}

// The rules between capabilities, in the table's order, then each capability's own: a
// command's other options and its additions need the command, and an earlier command goes
// with nothing of it.
void Comprobar(const Tabla& tabla, Lectura& lectura) {
    // What the other capabilities see: the options a command given takes as its own left out.
    Leidas ajenas = lectura.leidas;
    for (const Capacidad& c : tabla)
        if (c.EsOrden() && Dada(c, lectura.leidas))
            for (const Capacidad::Compartida& o : c.comparte)
                ajenas.Quitar(o.nombre);
    for (const Capacidad& c : tabla) {
        if (!c.EsOrden())
            continue;
        const Leidas& leidas = Dada(c, lectura.leidas) ? lectura.leidas : ajenas;
        bool tocada = false;
        for (const Opcion& o : c.opciones)
            tocada = tocada || leidas.Tiene(o.nombre);
        std::vector<const Capacidad*> anadidas;
        for (const Capacidad& a : tabla)
            if (!a.EsOrden() &&
                QLatin1String(a.amplia) == QLatin1String(c.opciones.front().nombre) &&
                Dada(a, leidas))
                anadidas.push_back(&a);
        if (!tocada && anadidas.empty())
            continue;
        for (const Capacidad& antes : tabla) {
            if (&antes == &c)
                break;
            if (antes.EsOrden() && Dada(antes, leidas))
                Fallo(lectura, QStringLiteral("%1 y %2 no van juntos.")
                                   .arg(QLatin1String(c.opciones.front().nombre),
                                        QLatin1String(antes.opciones.front().nombre)));
        }
        if (!Dada(c, leidas))
            Fallo(lectura, QString::fromUtf8(c.sinOrden));
        for (const Capacidad* a : anadidas)
            for (const char* otra : a->excluye)
                if (leidas.Tiene(otra))
                    Fallo(lectura,
                          QStringLiteral("%1 no va con %2.")
                              .arg(QLatin1String(a->opciones.front().nombre), QLatin1String(otra)));
        if (c.comprobar != nullptr)
            Fallo(lectura, c.comprobar(leidas, !anadidas.empty()));
        if (lectura.orden == nullptr)
            lectura.orden = &c;
    }
    for (const Capacidad& a : tabla)
        if (!a.EsOrden() && a.comprobar != nullptr)
            Fallo(lectura, a.comprobar(ajenas, false));
    if (!lectura.error.isEmpty())
        lectura.orden = nullptr;
}

} // namespace

Lectura Leer(const QStringList& args, const Tabla& tabla) {
    Lectura lectura;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        bool conValor = false;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            lectura.nuestra = lectura.ayuda = true;
        } else if (const Opcion* o = Buscar(tabla, a)) {
            lectura.nuestra = true;
            if (o->valor == nullptr)
                lectura.leidas.Poner(o->nombre, {});
            else
                LeerValor(args, i, *o, lectura);
        } else if (EsDeQt(a, conValor)) {
            i += conValor ? 1 : 0;
        } else if (a.startsWith(QLatin1String("--"))) {
            lectura.nuestra = true;
            Fallo(lectura, QStringLiteral("opción desconocida «%1».").arg(a));
        }
    }
    if (lectura.error.isEmpty() && !lectura.ayuda)
        Comprobar(tabla, lectura);
    return lectura;
}

} // namespace orden
