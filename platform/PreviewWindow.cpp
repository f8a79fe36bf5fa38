#include "platform/PreviewWindow.h"

#include "platform/BoundedTask.h"
#include "platform/PdfExport.h"
#include "platform/PrinterQueries.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {

namespace {

constexpr qreal kMinZoom = 0.5; // pixels per millimetre
constexpr qreal kMaxZoom = 20;
constexpr qreal kStep = 1.25;

} // namespace

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("ventanaVistaPrevia"));
    setWindowTitle(QStringLiteral("Vista previa - Talvero"));
    setAttribute(Qt::WA_DeleteOnClose);

    preview_ = new PagePreview;
    preview_->SetLayout(PdfPageLayout(std::nullopt));
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(preview_);
    scroll_->setWidgetResizable(true);
    scroll_->setAlignment(Qt::AlignCenter);

    auto* fit = new QPushButton(QStringLiteral("&Ajustar"), this);
    auto* in = new QPushButton(QStringLiteral("A&mpliar"), this);
    auto* out = new QPushButton(QStringLiteral("&Reducir"), this);
    auto* print = new QPushButton(QStringLiteral("&Imprimir…"), this);
    auto* pdf = new QPushButton(QStringLiteral("Guardar como &PDF…"), this);
    auto* close = new QPushButton(QStringLiteral("&Cerrar"), this);
    fit->setObjectName(QStringLiteral("ajustar"));
    in->setObjectName(QStringLiteral("ampliar"));
    out->setObjectName(QStringLiteral("reducir"));
    print->setObjectName(QStringLiteral("imprimir"));
    pdf->setObjectName(QStringLiteral("guardarPdf"));
    fit->setToolTip(QStringLiteral("Ver la página entera (Ctrl+0)"));
    in->setToolTip(QStringLiteral("Ampliar (Ctrl++)"));
    out->setToolTip(QStringLiteral("Reducir (Ctrl+-)"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fit);
    buttons->addWidget(in);
    buttons->addWidget(out);
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addWidget(pdf);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll_, 1);
    layout->addLayout(buttons);

    auto shortcut = [this](QKeySequence keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    shortcut(QKeySequence::ZoomIn, &PreviewWindow::ZoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), &PreviewWindow::ZoomIn);
    shortcut(QKeySequence::ZoomOut, &PreviewWindow::ZoomOut);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), &PreviewWindow::ZoomToFit);
    shortcut(QKeySequence::Print, &PreviewWindow::PrintRequested);

    connect(fit, &QPushButton::clicked, this, &PreviewWindow::ZoomToFit);
    connect(in, &QPushButton::clicked, this, &PreviewWindow::ZoomIn);
    connect(out, &QPushButton::clicked, this, &PreviewWindow::ZoomOut);
    connect(print, &QPushButton::clicked, this, &PreviewWindow::PrintRequested);
    connect(pdf, &QPushButton::clicked, this, &PreviewWindow::SavePdfRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    resize(640, 820);
    BoundedTask<QPageLayout>::Start(
        this, kPrintServerLimit, [] { return DefaultPrinterLayout(PdfPageLayout(std::nullopt)); },
        [this](QPageLayout layout) { preview_->SetLayout(layout); }, [] {});
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes, as it does a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreviewWindow::ZoomToFit() {
    Zoom(0);
}

void PreviewWindow::ZoomIn() {
    Zoom(std::min(kMaxZoom, preview_->Scale() * kStep));
}

void PreviewWindow::ZoomOut() {
    Zoom(std::max(kMinZoom, preview_->Scale() / kStep));
}

void PreviewWindow::Zoom(qreal pixelsPerMm) {
    preview_->SetZoom(pixelsPerMm);
    scroll_->setWidgetResizable(pixelsPerMm == 0);
    if (pixelsPerMm > 0)
        preview_->resize(preview_->sizeHint());
}

} // namespace platform
