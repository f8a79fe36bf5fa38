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

QString GuardarFacturaPdf(QWidget* parent, const CRecibo& conQr, const CRecibo& comoSeRelleno) {
    QString problema;
    const salida::Modulo* modulo = salida::CargarModulo(&problema);
    if (modulo == nullptr) {
        QMessageBox::warning(parent, QStringLiteral("Guardar como PDF"), problema);
        return {};
    }
    platform::SettingsStore store;
    const QString path = modulo->impresion.PedirRutaPdf(parent, conQr, CarpetaPropuesta(store));
    if (path.isEmpty())
        return {};
    const QString error = modulo->emitidos.GuardarFacturaPdf(conQr, comoSeRelleno, path,
                                                             TituloReciboPdf(comoSeRelleno));
    if (!error.isEmpty()) {
        QMessageBox::warning(parent, QStringLiteral("Guardar como PDF"), error);
        return {};
    }
    saved_settings::WriteCarpetaPdf(store, QFileInfo(path).absolutePath().toStdString());
    store.Flush();
    return path;
}

QString GuardarReciboPdf(QWidget* parent, const CRecibo& rec) {
    QString problema;
    const salida::Modulo* modulo = salida::CargarModulo(&problema);
    if (modulo == nullptr) {
        QMessageBox::warning(parent, QStringLiteral("Guardar como PDF"), problema);
        return {};
    }
    platform::SettingsStore store;
    const QString path = modulo->impresion.PedirRutaPdf(parent, rec, CarpetaPropuesta(store));
    if (path.isEmpty()) {
        return {};
    }
    const QString error = EscribirReciboPdf(rec, path);
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
