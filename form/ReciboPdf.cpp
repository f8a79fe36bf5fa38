#include "form/ReciboPdf.h"

#include "form/SavedSettings.h"
#include "platform/SettingsStore.h"
#include "receipt/Recibo.h"
#include "salida/Emitidos.h"
#include "salida/Impresion.h"
#include "salida/Modulo.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include <functional>

namespace {

// The folder the save dialog opens in: the last one a PDF went to while it still exists,
// else the user's Documents folder (or home, when there is none).
QString CarpetaPropuesta(const platform::SettingsStore& store) {
    const QString last = QString::fromStdString(saved_settings::ReadCarpetaPdf(store));
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

QString TituloReciboPdf(const CRecibo& rec) {
    return QString::fromStdString(recibo::TituloPdf(rec));
}

QString EscribirReciboPdf(const CRecibo& rec, const QString& path) {
    QString problema;
    const salida::Modulo* modulo = salida::CargarModulo(&problema);
    return modulo != nullptr ? modulo->impresion.EscribirPdf(rec, path, TituloReciboPdf(rec))
                             : problema;
}

namespace {

// Asks for the file's name (for `propuesto`), has `escribir` write it there and keeps its
// folder for the next time; the user is told of any failure. The file's path, or empty.
QString GuardarPdf(QWidget* parent, const CRecibo& propuesto,
                   const std::function<QString(const salida::Modulo&, const QString&)>& escribir) {
    QString problema;
    const salida::Modulo* modulo = salida::CargarModulo(&problema);
    if (modulo == nullptr) {
        QMessageBox::warning(parent, QStringLiteral("Guardar como PDF"), problema);
        return {};
    }
    platform::SettingsStore store;
    const QString path = modulo->impresion.PedirRutaPdf(parent, propuesto, CarpetaPropuesta(store));
    if (path.isEmpty())
        return {};
    const QString error = escribir(*modulo, path);
    if (!error.isEmpty()) {
        QMessageBox::warning(parent, QStringLiteral("Guardar como PDF"), error);
        return {};
    }
    // Kept at once rather than at close: the folder belongs to the file just written, even
    // if the program never reaches its normal end.
    saved_settings::WriteCarpetaPdf(store, QFileInfo(path).absolutePath().toStdString());
    store.Flush();
    return path;
}

} // namespace

QString GuardarFacturaPdf(QWidget* parent, const CRecibo& conQr, const CRecibo& comoSeRelleno) {
    return GuardarPdf(parent, conQr, [&](const salida::Modulo& modulo, const QString& path) {
        return modulo.emitidos.GuardarFacturaPdf(conQr, comoSeRelleno, path,
                                                 TituloReciboPdf(comoSeRelleno));
    });
}

QString GuardarReciboPdf(QWidget* parent, const CRecibo& rec) {
    return GuardarPdf(parent, rec, [&](const salida::Modulo& modulo, const QString& path) {
        return modulo.impresion.EscribirPdf(rec, path, TituloReciboPdf(rec));
    });
}
