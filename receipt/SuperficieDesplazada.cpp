#include "receipt/SuperficieDesplazada.h"

namespace recibo {

void SuperficieDesplazada::SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                                      int viewportHeight) {
    destino_.SetMapping(windowWidth, windowHeight, viewportWidth, viewportHeight);
}

void SuperficieDesplazada::DrawRectangle(const page::Rect& rect, const page::Pen& pen,
                                         const page::Brush& brush) {
    destino_.DrawRectangle(Bajado(rect), pen, brush);
}

void SuperficieDesplazada::FillRectangles(const std::vector<page::Rect>& rects, page::Color color) {
    std::vector<page::Rect> bajados;
    bajados.reserve(rects.size());
    for (const page::Rect& r : rects)
        bajados.push_back(Bajado(r));
    destino_.FillRectangles(bajados, color);
}

void SuperficieDesplazada::DrawPointText(int x, int y, std::string_view text) {
    destino_.DrawPointText(x, y + abajo_, text);
}

void SuperficieDesplazada::DrawBoxText(const page::Rect& rect, page::Align align,
                                       std::string_view text) {
    destino_.DrawBoxText(Bajado(rect), align, text);
}

void SuperficieDesplazada::CopyPicture(const page::Picture& picture, const page::Rect& source,
                                       const page::Rect& target) {
    destino_.CopyPicture(picture, source, Bajado(target));
}

} // namespace recibo
