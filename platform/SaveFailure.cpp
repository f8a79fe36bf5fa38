#include "platform/SaveFailure.h"

#include <QFileInfo>
#include <QSaveFile>

namespace platform {

QString OpenFailureReason(const QString& path) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists() || !folder.isDir()) {
        return QStringLiteral("la carpeta no existe");
    }
    if (target.isDir()) {
        return QStringLiteral("ya hay una carpeta con ese nombre");
    }
    if (target.exists() && !target.isWritable()) {
        return QStringLiteral("el archivo que ya existe está protegido contra escritura");
    }
    if (!folder.isWritable()) {
        return QStringLiteral("no hay permiso para escribir en la carpeta");
    }
    return QStringLiteral("no se pudo crear el archivo");
}

QString CommitFailureReason(const QSaveFile& file) {
    if (file.error() == QFileDevice::RenameError) {
        return QStringLiteral("no se pudo reemplazar el archivo que ya existía");
    }
    return QStringLiteral("el archivo no se pudo escribir entero (puede que el disco esté lleno)");
}

} // namespace platform
