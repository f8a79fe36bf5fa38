// The program's command line as a table: each thing it can do without a window (the
// register's export, a list of receipts, the list's SEPA remittance) is one Capacidad with its
// options, its help lines, its rules and its handler. Reading the arguments, the usage line and
// --help are made from the table, so none of them can forget an option.
#pragma once

#include <QMap>
#include <QString>

#include <functional>
#include <vector>

class CRecibo;

namespace salida {
class Ordenes;
struct PedidoLista;
} // namespace salida

namespace orden {

// One option: "--pdf SALIDA.pdf".
struct Opcion {
    const char* nombre;    // "--pdf"
    const char* valor;     // what its value is called in the help ("SALIDA.pdf"); null for a switch
    const char* ayuda;     // its lines in --help, '\n' between them
    bool opcional = false; // in an addition, one that may be left out: "[--a B]"
};

// The options the arguments gave, each with its value (empty for a switch).
class Leidas {
public:
    bool Tiene(const char* nombre) const { return valores_.contains(QLatin1String(nombre)); }
    QString Valor(const char* nombre) const { return valores_.value(QLatin1String(nombre)); }
    void Poner(const char* nombre, const QString& valor) {
        valores_.insert(QLatin1String(nombre), valor);
    }
    void Quitar(const char* nombre) { valores_.remove(QLatin1String(nombre)); }

private:
    QMap<QString, QString> valores_;
};

// What a handler works with once the arguments are read and the module is loaded.
struct Entorno {
    salida::Ordenes& ordenes;
    std::function<CRecibo()> plantilla; // the receipt the form would open with
    // Puts into a list's request the part of every addition to it that the arguments gave.
    std::function<void(salida::PedidoLista&)> ampliarLista;
};

struct Capacidad {
    // Its options. For a command, the first is the one that asks for it.
    std::vector<Opcion> opciones;
    // A command: options declared by another capability that it takes too ("--hasta"); given
    // with this command they are its own, and the other capability does not see them.
    struct Compartida {
        const char* nombre;
        bool opcional = true;
    };
    std::vector<Compartida> comparte;
    // An addition to another command names that command's option ("--emitir-lista"); a
    // command of its own leaves it null.
    const char* amplia = nullptr;
    // In the usage line, the options after the command are alternatives, "(a | b)", rather
    // than each optional, "[a]".
    bool alternativas = false;
    // A command: what is wrong when its other options (or an addition) come without it.
    const char* sinOrden = nullptr;
    // An addition: the options of its command that it does not go with.
    std::vector<const char*> excluye;
    // Its own rules, once the arguments are read: the error, or empty. A command is told
    // whether an addition to it was given.
    QString (*comprobar)(const Leidas& leidas, bool ampliada) = nullptr;
    // A command that draws pages runs on a GUI application on the offscreen platform.
    bool paginas = false;
    // A paragraph of its own at the end of --help, or none.
    QString (*nota)(salida::Ordenes& ordenes) = nullptr;
    // A command: does the whole job and returns the exit status.
    int (*ejecutar)(const Leidas& leidas, const Entorno& entorno) = nullptr;
    // An addition to a list: its part of the list's request.
    void (*completar)(const Leidas& leidas, salida::PedidoLista& pedido) = nullptr;

    bool EsOrden() const { return amplia == nullptr; }
};

using Tabla = std::vector<Capacidad>;

} // namespace orden
