#include "RecordingSurface.h"

namespace {

class RecordedPicture final : public page::Picture {
public:
    explicit RecordedPicture(int id) : id_(id) {}
    int Width() const override { return 300; }
    int Height() const override { return 750; }
    int Id() const { return id_; }

private:
    int id_;
};

} // namespace

RecordingSurface::RecordingSurface(page::DeviceSize size) : size_(size) {}

const RecordedText* RecordingSurface::Find(const std::string& text) const {
    for (const RecordedText& t : texts) {
        if (t.text == text) {
            return &t;
        }
    }
    return nullptr;
}

std::vector<RecordedText> RecordingSurface::BoxTexts() const {
    std::vector<RecordedText> boxed;
    for (const RecordedText& t : texts) {
        if (t.boxed) {
            boxed.push_back(t);
        }
    }
    return boxed;
}

void RecordingSurface::SetMapping(int ww, int wh, int vw, int vh) {
    log.push_back("mapping");
    ++mappingCalls;
    windowWidth = ww;
    windowHeight = wh;
    viewportWidth = vw;
    viewportHeight = vh;
}

void RecordingSurface::DrawRectangle(const page::Rect& rect, const page::Pen& pen,
                                     const page::Brush& brush) {
    log.push_back("rectangle");
    rectangles.push_back({rect, pen, brush});
}

page::Font RecordingSurface::SelectFont(const page::Font& font) {
    log.push_back("font");
    selectedFonts.push_back(font);
    page::Font previous = currentFont;
    currentFont = font;
    return previous;
}

void RecordingSurface::SetTextColor(page::Color color) {
    log.push_back("textcolor");
    textColor_ = color;
}

void RecordingSurface::DrawPointText(int x, int y, std::string_view text) {
    log.push_back("pointtext");
    texts.push_back(
        {false, {x, y, x, y}, page::Align::Left, std::string(text), currentFont, textColor_});
}

void RecordingSurface::DrawBoxText(const page::Rect& rect, page::Align align,
                                   std::string_view text) {
    log.push_back("boxtext");
    texts.push_back({true, rect, align, std::string(text), currentFont, textColor_});
}

std::unique_ptr<page::Picture> RecordingSurface::LoadPicture(int id) {
    log.push_back("loadpicture");
    pictureLoads.push_back(id);
    if (availablePictures.count(id) == 0) {
        return nullptr;
    }
    return std::make_unique<RecordedPicture>(id);
}

void RecordingSurface::CopyPicture(const page::Picture& picture, const page::Rect& source,
                                   const page::Rect& target) {
    log.push_back("copypicture");
    const auto* recorded = dynamic_cast<const RecordedPicture*>(&picture);
    copies.push_back({recorded != nullptr ? recorded->Id() : -1, source, target});
}
