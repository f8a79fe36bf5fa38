// The windows the module opens, as the form holds them. Each is owned by the parent it was
// given and is gone once deleted (a window that deletes itself on close leaves its handle
// empty). What a kind of window can be asked is bound to that very window by the module when
// it opens it, so a caller never casts and cannot reach another window by mistake.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

namespace page {
class PageSurface;
}

namespace salida {

class Ventana {
public:
    Ventana() = default;
    explicit Ventana(QWidget* ventana) : ventana_(ventana) {}

    bool Abierta() const { return !ventana_.isNull(); }
    // The window itself, for its attributes and as the context of connections that must end
    // with it; null once it is gone.
    QWidget* Widget() const { return ventana_; }
    // Shown in front of the others with the focus, as a menu command that finds it open does.
    void AlFrente() const {
        if (ventana_.isNull())
            return;
        ventana_->show();
        ventana_->raise();
        ventana_->activateWindow();
    }

private:
    QPointer<QWidget> ventana_;
};

// "Vista previa": a window that shows one page.
class VentanaVistaPrevia : public Ventana {
public:
    using Dibujo = std::function<void(page::PageSurface&)>;

    VentanaVistaPrevia() = default;
    VentanaVistaPrevia(QWidget* ventana, std::function<void(Dibujo)> mostrar)
        : Ventana(ventana), mostrar_(std::move(mostrar)) {}

    // The page that `dibujar` draws, from now on.
    void Mostrar(Dibujo dibujar) const {
        if (Abierta())
            mostrar_(std::move(dibujar));
    }

private:
    std::function<void(Dibujo)> mostrar_;
};

// "Recibos emitidos": a window on the register.
class VentanaEmitidos : public Ventana {
public:
    VentanaEmitidos() = default;
    VentanaEmitidos(QWidget* ventana, std::function<void()> refrescar)
        : Ventana(ventana), refrescar_(std::move(refrescar)) {}

    // Reads the register again, after a receipt was recorded elsewhere.
    void Refrescar() const {
        if (Abierta())
            refrescar_();
    }

private:
    std::function<void()> refrescar_;
};

} // namespace salida
