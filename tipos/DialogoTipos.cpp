#include "tipos/DialogoTipos.h"

#include "tipos/ColumnaTipos.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tipos {
namespace {

Listas De(std::vector<std::string> (*lista)(Impuesto)) {
    Listas listas;
    for (const Impuesto impuesto : kImpuestos)
        listas[static_cast<int>(impuesto)] = lista(impuesto);
    return listas;
}

} // namespace

DialogoTipos::DialogoTipos(const Listas& listas, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("tiposImpositivos"));
    setWindowTitle(QStringLiteral("Tipos impositivos"));

    auto* explicacion = new QLabel(
        QStringLiteral("Los porcentajes que ofrecen las listas del formulario. IVA e IRPF: "
                       "números enteros de 0 a 99; RE: hasta dos decimales, con coma."),
        this);
    explicacion->setWordWrap(true);

    auto* columnas = new QHBoxLayout;
    for (const Impuesto impuesto : kImpuestos) {
        auto* columna = new ColumnaTipos(impuesto, this);
        columnas_[static_cast<int>(impuesto)] = columna;
        columnas->addWidget(columna);
    }

    auto* vigentes = new QPushButton(QStringLiteral("Tipos vigentes en España"), this);
    vigentes->setObjectName(QStringLiteral("tiposVigentes"));
    vigentes->setAutoDefault(false);
    auto* originales = new QPushButton(QStringLiteral("Tipos de la versión original"), this);
    originales->setObjectName(QStringLiteral("tiposOriginales"));
    originales->setAutoDefault(false);
    auto* preajustes = new QHBoxLayout;
    preajustes->addWidget(vigentes);
    preajustes->addWidget(originales);
    preajustes->addStretch();

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(explicacion);
    todo->addLayout(columnas);
    todo->addLayout(preajustes);
    todo->addWidget(botones);

    connect(vigentes, &QPushButton::clicked, this, [this] { Poner(De(&Vigentes)); });
    connect(originales, &QPushButton::clicked, this, [this] { Poner(De(&Originales)); });
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Poner(listas);
}

Listas DialogoTipos::Elegidas() const {
    Listas listas;
    for (const Impuesto impuesto : kImpuestos)
        listas[static_cast<int>(impuesto)] = columnas_[static_cast<int>(impuesto)]->Items();
    return listas;
}

void DialogoTipos::Poner(const Listas& listas) {
    for (const Impuesto impuesto : kImpuestos)
        columnas_[static_cast<int>(impuesto)]->Poner(listas[static_cast<int>(impuesto)]);
}

} // namespace tipos
