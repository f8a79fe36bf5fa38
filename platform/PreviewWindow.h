// "Vista previa": the page alone, large, in a window of its own, as the default printer
// would get it (A4 with 5 mm margins when there is no printer). Zoom to fit, in and out;
// Escape closes. Its "Imprimir…" and "Guardar como PDF…" ask the window's owner to run
// those commands, so that they go through exactly the same steps as from the form.
#pragma once

#include "platform/PagePreview.h"

#include <QWidget>

class QScrollArea;

namespace platform {

class PreviewWindow final : public QWidget {
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget* owner);

    PagePreview& Preview() { return *preview_; }
    // The page to show changed.
    void SetDrawing(DrawPage draw) { preview_->SetDrawing(std::move(draw)); }

    void ZoomToFit();
    void ZoomIn();
    void ZoomOut();

Q_SIGNALS:
    void PrintRequested();
    void SavePdfRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Zoom(qreal pixelsPerMm);

    PagePreview* preview_ = nullptr;
    QScrollArea* scroll_ = nullptr;
};

} // namespace platform
