// A page surface that hands everything drawn on it to another one, moved down by a fixed
// number of logical units. The receipt's form is drawn through it below an invoice's QR
// code, so that every box and text keeps its place relative to the others exactly, whatever
// the device. Standard C++.
#pragma once

#include "receipt/PageSurface.h"

namespace recibo {

class SuperficieDesplazada final : public page::PageSurface {
public:
    // Draws on `destino`, which must outlive this surface, `abajo` units lower.
    SuperficieDesplazada(page::PageSurface& destino, int abajo)
        : destino_(destino), abajo_(abajo) {}

    page::DeviceSize Size() const override { return destino_.Size(); }
    void SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                    int viewportHeight) override;
    void DrawRectangle(const page::Rect& rect, const page::Pen& pen,
                       const page::Brush& brush) override;
    void FillRectangles(const std::vector<page::Rect>& rects, page::Color color) override;
    page::Font SelectFont(const page::Font& font) override { return destino_.SelectFont(font); }
    void SetTextColor(page::Color color) override { destino_.SetTextColor(color); }
    void DrawPointText(int x, int y, std::string_view text) override;
    void DrawBoxText(const page::Rect& rect, page::Align align, std::string_view text) override;
    std::unique_ptr<page::Picture> LoadPicture(int id) override { return destino_.LoadPicture(id); }
    void CopyPicture(const page::Picture& picture, const page::Rect& source,
                     const page::Rect& target) override;

private:
    page::Rect Bajado(const page::Rect& r) const {
        return {r.left, r.top + abajo_, r.right, r.bottom + abajo_};
    }

    page::PageSurface& destino_;
    int abajo_;
};

} // namespace recibo
