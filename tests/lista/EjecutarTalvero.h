// The real program run by the list's tests: without a display, with its settings and its
// register in a folder of the test's own, which is also its working directory.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct SalidaTalvero {
    int estado = -1; // -1: it did not finish
    QString salida, errores;
};

inline SalidaTalvero EjecutarTalvero(const QString& carpeta, const QStringList& argumentos) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), carpeta + QStringLiteral("/datos"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), carpeta + QStringLiteral("/ajustes"));
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(carpeta);
    p.start(QStringLiteral(TALVERO_PROGRAMA), argumentos);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}
