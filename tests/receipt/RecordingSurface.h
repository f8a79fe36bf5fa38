// A page surface that draws nothing and remembers everything: what the receipt asked for,
// in order, in logical units. The tests read the receipt's geometry from it.
#pragma once

#include "receipt/PageSurface.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

struct RecordedRectangle {
    page::Rect rect;
    page::Pen pen;
    page::Brush brush;
};

struct RecordedText {
    bool boxed = false; // box text; otherwise point text at (rect.left, rect.top)
    page::Rect rect;
    page::Align align = page::Align::Left;
    std::string text;
    page::Font font;       // the font selected when it was drawn
    page::Color color = 0; // the text colour when it was drawn
};

struct RecordedCopy {
    int pictureId = 0;
    page::Rect source;
    page::Rect target;
};

class RecordingSurface final : public page::PageSurface {
public:
    explicit RecordingSurface(page::DeviceSize size = {210, 297, 4961, 7016});

    // Picture numbers that LoadPicture can load (as 300 x 750 pictures); none by default.
    std::set<int> availablePictures;

    // What was asked for.
    std::vector<std::string> log; // one word per operation: "mapping", "rectangle", ...
    int mappingCalls = 0;
    int windowWidth = 0, windowHeight = 0, viewportWidth = 0, viewportHeight = 0;
    std::vector<RecordedRectangle> rectangles;
    std::vector<page::Font> selectedFonts;
    std::vector<RecordedText> texts;
    std::vector<int> pictureLoads;
    std::vector<RecordedCopy> copies;
    page::Font currentFont;

    // The first text with exactly this content, or null.
    const RecordedText* Find(const std::string& text) const;
    // All texts drawn as box texts, in order.
    std::vector<RecordedText> BoxTexts() const;

    page::DeviceSize Size() const override { return size_; }
    void SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                    int viewportHeight) override;
    void DrawRectangle(const page::Rect& rect, const page::Pen& pen,
                       const page::Brush& brush) override;
    page::Font SelectFont(const page::Font& font) override;
    void SetTextColor(page::Color color) override;
    void DrawPointText(int x, int y, std::string_view text) override;
    void DrawBoxText(const page::Rect& rect, page::Align align, std::string_view text) override;
    std::unique_ptr<page::Picture> LoadPicture(int id) override;
    void CopyPicture(const page::Picture& picture, const page::Rect& source,
                     const page::Rect& target) override;

private:
    page::DeviceSize size_;
    page::Color textColor_ = 0x00FFFFFF; // not black until the receipt says so
};
