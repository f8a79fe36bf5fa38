#include "tipos/ColumnaTipos.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <memory>

namespace tipos {
namespace {

QString Nombre(Impuesto impuesto) {
    switch (impuesto) {
    case Impuesto::Iva:
        return QStringLiteral("IVA");
    case Impuesto::Re:
        return QStringLiteral("RE");
    case Impuesto::Irpf:
        return QStringLiteral("IRPF");
    }
    return {};
}

} // namespace

ColumnaTipos::ColumnaTipos(Impuesto impuesto, QWidget* parent)
    : QGroupBox(Nombre(impuesto), parent), impuesto_(impuesto), lista_(new QListWidget(this)),
      nuevo_(new QLineEdit(this)), quitar_(new QPushButton(QStringLiteral("Quitar"), this)),
      motivo_(new QLabel(this)) {
    const QString nombre = Nombre(impuesto);
    setObjectName(QStringLiteral("columna") + nombre);
    lista_->setObjectName(QStringLiteral("lista") + nombre);
    nuevo_->setObjectName(QStringLiteral("nuevo") + nombre);
    quitar_->setObjectName(QStringLiteral("quitar") + nombre);
    motivo_->setObjectName(QStringLiteral("motivo") + nombre);

    // Text order, as the form's list shows the same items.
    lista_->setSortingEnabled(true);
    nuevo_->setPlaceholderText(impuesto == Impuesto::Re ? QStringLiteral("p. ej. 5,2")
                                                        : QStringLiteral("p. ej. 21"));
    nuevo_->setAccessibleName(QStringLiteral("Nuevo porcentaje de ") + nombre);
    auto* anadir = new QPushButton(QStringLiteral("Añadir"), this);
    anadir->setObjectName(QStringLiteral("anadir") + nombre);
    anadir->setAutoDefault(false);
    quitar_->setAutoDefault(false);
    quitar_->setEnabled(false);
    motivo_->setWordWrap(true);
    // Room for a reason of a few lines, so that the three columns stay level.
    motivo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    motivo_->setMinimumHeight(motivo_->fontMetrics().lineSpacing() * 4);
    QPalette aviso = motivo_->palette();
    aviso.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x20));
    motivo_->setPalette(aviso);

    auto* borrar = new QAction(this);
    borrar->setShortcut(QKeySequence::Delete);
    borrar->setShortcutContext(Qt::WidgetShortcut);
    lista_->addAction(borrar);

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(lista_, 0, 0, 1, 2);
    rejilla->addWidget(nuevo_, 1, 0);
    rejilla->addWidget(anadir, 1, 1);
    rejilla->addWidget(quitar_, 2, 1);
    rejilla->addWidget(motivo_, 3, 0, 1, 2);

    connect(anadir, &QPushButton::clicked, this, &ColumnaTipos::Anadir);
    nuevo_->installEventFilter(this);
    connect(quitar_, &QPushButton::clicked, this, &ColumnaTipos::Quitar);
    connect(borrar, &QAction::triggered, this, &ColumnaTipos::Quitar);
    connect(lista_, &QListWidget::itemSelectionChanged, this,
            [this] { quitar_->setEnabled(!lista_->selectedItems().isEmpty()); });
}

void ColumnaTipos::Poner(const std::vector<std::string>& items) {
    lista_->clear();
    for (const std::string& item : items)
        lista_->addItem(QString::fromStdString(item));
    Avisar({});
}

std::vector<std::string> ColumnaTipos::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < lista_->count(); ++i)
        items.push_back(lista_->item(i)->text().toStdString());
    return items;
}

void ColumnaTipos::Anadir() {
    const std::string escrito = nuevo_->text().toStdString();
    const std::optional<std::string> item = Normalizar(impuesto_, escrito);
    if (!item) {
        Avisar(QStringLiteral("No se ha añadido «%1». %2")
                   .arg(nuevo_->text(), QString::fromStdString(Motivo(impuesto_, escrito))));
        nuevo_->setFocus();
        return;
    }
    const QString texto = QString::fromStdString(*item);
    const QList<QListWidgetItem*> ya = lista_->findItems(texto, Qt::MatchExactly);
    if (!ya.isEmpty()) {
        lista_->setCurrentItem(ya.first());
        Avisar(QStringLiteral("El %1 ya está en la lista.").arg(texto));
        return;
    }
    lista_->addItem(texto);
    lista_->setCurrentItem(lista_->findItems(texto, Qt::MatchExactly).first());
    nuevo_->clear();
    Avisar({});
}

void ColumnaTipos::Quitar() {
    QListWidgetItem* elegido = lista_->currentItem();
    if (elegido == nullptr || !elegido->isSelected())
        return;
    if (elegido->text() == QLatin1String("0")) {
        Avisar(QStringLiteral("El 0 está siempre en la lista: es el recibo sin %1.")
                   .arg(Nombre(impuesto_)));
        return;
    }
    const std::unique_ptr<QListWidgetItem> quitado(lista_->takeItem(lista_->row(elegido)));
    Avisar({});
}

bool ColumnaTipos::eventFilter(QObject* watched, QEvent* event) {
    if (watched == nuevo_ && event->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(event)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            Anadir();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void ColumnaTipos::Avisar(const QString& motivo) {
    motivo_->setText(motivo);
}

} // namespace tipos
