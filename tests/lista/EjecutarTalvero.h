// The real program run by the list's tests: without a display, with its settings and its
// register in a folder of the test's own, which is also its working directory.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

struct SalidaTalvero {
    int estado = -1; // -1: it did not finish
    QString salida, errores;
};

// The program started in `carpeta`, for a test that runs several at once or stops one.
inline void LanzarTalvero(QProcess& p, const QString& carpeta, const QStringList& argumentos) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), carpeta + QStringLiteral("/datos"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), carpeta + QStringLiteral("/ajustes"));
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(carpeta);
    p.start(QStringLiteral(TALVERO_PROGRAMA), argumentos);
}

// What a program started by LanzarTalvero said, once it has ended.
inline SalidaTalvero TerminoDeTalvero(QProcess& p) {
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

inline SalidaTalvero EjecutarTalvero(const QString& carpeta, const QStringList& argumentos) {
    QProcess p;
    LanzarTalvero(p, carpeta, argumentos);
    return TerminoDeTalvero(p);
}

// The register's file for a program run by EjecutarTalvero in `carpeta`.
inline QString RegistroDeTalvero(const QString& carpeta) {
    return QDir(carpeta + QStringLiteral("/datos"))
        .filePath(QStringLiteral("Quenlaria/Talvero/recibos.sqlite"));
}

// The settings file of a program run by EjecutarTalvero in `carpeta`.
inline std::string AjustesDeTalvero(const QString& carpeta) {
    return QDir(carpeta)
        .filePath(QStringLiteral("ajustes/Quenlaria/%1.conf")
                      .arg(QFileInfo(QStringLiteral(TALVERO_PROGRAMA)).baseName()))
        .toStdString();
}

// The register that the program run by EjecutarTalvero kept in `carpeta`: one text per row of
// `consulta`, made by `fila`; nothing when there is no register yet.
inline QStringList FilasDelRegistro(const QString& carpeta, const QString& consulta,
                                    const std::function<QString(const QSqlQuery&)>& fila) {
    QStringList filas;
    const QString ruta = RegistroDeTalvero(carpeta);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("r"));
        db.setDatabaseName(ruta);
        if (QFileInfo::exists(ruta) && db.open()) {
            QSqlQuery q(db);
            q.exec(consulta);
            while (q.next())
                filas << fila(q);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("r"));
    return filas;
}
