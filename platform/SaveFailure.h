// Why a file the user chose could not be saved, said in terms of the folder and file the
// user chose: the end of a Spanish sentence "No se pudo guardar … en «…»: <reason>."
// Files are saved through QSaveFile, complete or not at all.
#pragma once

#include <QString>

class QSaveFile;

namespace platform {

// Why QSaveFile could not open `path`.
QString OpenFailureReason(const QString& path);

// Why writing, flushing or committing `file` failed.
QString CommitFailureReason(const QSaveFile& file);

} // namespace platform
