// Connecting to a register's server without freezing a window. libpq's connect waits for the
// server up to connect_timeout (register/UriPostgres.h): on the user-interface thread that
// wait would hold every window still. There the connection is opened on a thread of its own
// and then handed to the waiting thread, which meanwhile keeps repainting (user input held
// back, a busy cursor). Elsewhere (the command line, worker threads, tests without
// QApplication) it is opened where it is asked for, as before.
#pragma once

#include <QString>

#include <functional>

namespace registro {

// What opening a connection gave: `motivo` says why not, in Spanish, and `libpq` holds the
// client's own message when the connection itself failed (for the password's question).
struct Apertura {
    bool ok = false;
    bool abandonada = false; // the server overran the longest wait; see AbrirSinBloquear
    QString motivo, libpq;
};

// Whether the calling thread is the one of a QApplication's windows.
bool EnHiloDeVentanas();

// Whether the windows' thread is waiting for a server (a connection or the question of its
// password): periodic work, such as the sending in the background, skips its turn instead of
// starting a second wait inside the first.
bool EsperandoServidor();

// While one lives on the windows' thread, EsperandoServidor() is true.
class EsperaDeServidor {
public:
    EsperaDeServidor();
    ~EsperaDeServidor();
    EsperaDeServidor(const EsperaDeServidor&) = delete;
    EsperaDeServidor& operator=(const EsperaDeServidor&) = delete;

private:
    bool contada_ = false;
};

// Runs `abrir`, which adds the connection `nombre` and opens it (removing it on failure), on
// a thread of its own when called on the windows' thread, and gives the connection to the
// calling thread; directly otherwise. A server that makes libpq overrun the longest wait is
// given up: the connection, if it comes later, is closed and removed by its thread, and the
// name must not be used again.
Apertura AbrirSinBloquear(const QString& nombre, std::function<Apertura()> abrir);

} // namespace registro
