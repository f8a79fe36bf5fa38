// A page surface that draws nothing and remembers everything: what the receipt asked for,
// in order, in logical units. The tests read the receipt's geometry from it.
#pragma once

#include "platform/PageSurface.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

struct RecordedRectangle {
    platform::Rect rect;
    platform::Pen pen;
    platform::Brush brush;
};

struct RecordedText {
    bool boxed = false; // box text; otherwise point text at (rect.left, rect.top)
    platform::Rect rect;
    platform::Align align = platform::Align::Left;
    std::string text;
    platform::Font font;       // the font selected when it was drawn
    platform::Color color = 0; // the text colour when it was drawn
};

struct RecordedCopy {
    int pictureId = 0;
    platform::Rect source;
    platform::Rect target;
};

class RecordingSurface final : public platform::PageSurface {
public:
    explicit RecordingSurface(platform::DeviceSize size = {210, 297, 4961, 7016});

    // Picture numbers that LoadPicture can load (as 300 x 750 pictures); none by default.
    std::set<int> availablePictures;

    // What was asked for.
    std::vector<std::string> log; // one word per operation: "mapping", "rectangle", ...
    int mappingCalls = 0;
    int windowWidth = 0, windowHeight = 0, viewportWidth = 0, viewportHeight = 0;
    std::vector<RecordedRectangle> rectangles;
    std::vector<platform::Font> selectedFonts;
    std::vector<RecordedText> texts;
    std::vector<int> pictureLoads;
    std::vector<RecordedCopy> copies;
    platform::Font currentFont;

    // The first text with exactly this content, or null.
    const RecordedText* Find(const std::string& text) const;
    // All texts drawn as box texts, in order.
    std::vector<RecordedText> BoxTexts() const;

    platform::DeviceSize Size() const override { return size_; }
    void SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                    int viewportHeight) override;
    void DrawRectangle(const platform::Rect& rect, const platform::Pen& pen,
                       const platform::Brush& brush) override;
    platform::Font SelectFont(const platform::Font& font) override;
    void SetTextColor(platform::Color color) override;
    void DrawPointText(int x, int y, std::string_view text) override;
    void DrawBoxText(const platform::Rect& rect, platform::Align align,
                     std::string_view text) override;
    std::unique_ptr<platform::Picture> LoadPicture(int id) override;
    void CopyPicture(const platform::Picture& picture, const platform::Rect& source,
                     const platform::Rect& target) override;

private:
    platform::DeviceSize size_;
    platform::Color textColor_ = 0x00FFFFFF; // not black until the receipt says so
};
