// "Probar conexión": what a register's location gives when it is opened for reading, told in
// one Spanish sentence. Nothing there is created, migrated or changed. It waits for the
// server (at most kEsperaMaxima seconds), so it runs off the user-interface thread; its
// connection is made and closed in the thread that calls it.
#pragma once

#include <QString>

namespace registro {

QString ProbarRegistro(const QString& uri);

} // namespace registro
