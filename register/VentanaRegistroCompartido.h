// "Recibos → Registro compartido…": where the register is, this desk's file or one register on
// a PostgreSQL server that the office shares, chosen field by field. "Probar conexión" and the
// copy of this desk's receipts to the server run in threads of their own, so a server that
// does not answer never freezes the window; the settings key "Registro" changes only on
// "Aceptar", and never holds a password (that goes, if the user asks, to libpq's ~/.pgpass,
// and for this run to registro::RecordarClaveDeSesion).
#pragma once

#include "register/DatosServidor.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace registro {

class VentanaRegistroCompartido : public QDialog {
    Q_OBJECT

public:
    // `archivo`: this desk's register file, the one copied to the server.
    VentanaRegistroCompartido(QString archivo, QWidget* parent = nullptr);

    void accept() override;

private:
    void Mostrar(const QString& uri);
    void ActualizarCampos();
    // The fields' URI, without the password; empty with the reason shown when it cannot be.
    QString Uri();
    // The same with the password to use now: the one typed, else the one the stored URI had.
    QString UriParaConectar(const QString& uri) const;
    void Probar();
    void PreguntarCopia();
    // `trabajo` run in a thread of its own, `aviso` shown meanwhile and its answer after.
    void EnSegundoPlano(const QString& aviso, std::function<QString()> trabajo);
    bool Guardar(const QString& uri);

    QString archivo_;
    DatosServidor leidos_; // the stored key's
    QRadioButton* enEsteEquipo_;
    QRadioButton* enServidor_;
    QLineEdit* servidor_;
    QSpinBox* puerto_;
    QLineEdit* base_;
    QLineEdit* usuario_;
    QComboBox* cifrado_;
    QLineEdit* clave_;
    QCheckBox* guardarClave_;
    QPushButton* probar_;
    QPushButton* copiar_;
    QLabel* resultado_;
    bool ocupado_ = false;
};

// Opens the window over `parent` and waits for it. Whether the register's location changed.
bool MostrarRegistroCompartido(QWidget* parent);

} // namespace registro
