// Measuring texts on a target device. Fitting texts into the boxes of the form measures
// through the small TextMeasurer interface, so it runs against any canvas: QtTextMeasurer
// measures with Qt's font metrics for a printer, a PDF writer or the preview widget, and
// tests use a fake with fixed glyph widths.
//
// Font heights here are cell heights (ascent plus descent, in device pixels), the height
// the form's millimetre sizes stand for; fontForCellHeight makes the matching QFont, for
// measuring and for drawing alike.
#pragma once

#include <QFont>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class QPaintDevice;

namespace render {

enum class FontStyle : std::uint8_t { Regular, Bold };

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Selects the font of the following measurements: family name (Latin letters), cell
    // height in pixels of the target device, style.
    virtual void setFont(std::string_view family, int cellHeight, FontStyle style) = 0;
    // Width in device pixels of a code page 1251 text in the selected font.
    virtual int textWidth(std::string_view text) = 0;
    // Height in device pixels of a line of text in the selected font: its ascent plus
    // descent, which is the cell height asked for wherever the font allows it.
    virtual int textHeight() = 0;
};

// A font of the given family and style whose cell height on device, QFontMetrics::ascent()
// plus descent(), is cellHeight pixels (a pixel size, so independent of the device's dots
// per inch). Where no pixel size gives exactly that height (the height grows in steps of 2
// at some sizes) the largest size whose cell is lower is taken, so text never grows out of
// its cell; at least pixel size 1. For "Arial" (Liberation Sans here) the em is about the
// cell height divided by 1.117. Kerning is off: texts are as wide as the sum of their
// characters' advances, as on the platform the form was designed for, and as
// QtTextMeasurer measures them. device may be null for the default screen metrics.
QFont fontForCellHeight(const QString& family, int cellHeight, FontStyle style,
                        const QPaintDevice* device = nullptr);

// Measures with Qt's font metrics on one paint device (printer, PDF writer, widget; null for
// the screen). The fonts come from fontForCellHeight. Each font's character advances are
// looked up once and kept, so a width costs one table look-up per character; widths equal
// QFontMetrics::horizontalAdvance() of the same text in font(). Not thread-safe.
class QtTextMeasurer final : public TextMeasurer {
public:
    explicit QtTextMeasurer(const QPaintDevice* device = nullptr);
    ~QtTextMeasurer() override;

    void setFont(std::string_view family, int cellHeight, FontStyle style) override;
    int textWidth(std::string_view text) override;
    int textHeight() override;

    // The selected font, to draw with what was measured. Before the first setFont, the
    // default font.
    const QFont& font() const;

private:
    struct Face;
    Face& faceFor(std::string_view family, int cellHeight, FontStyle style);

    const QPaintDevice* device_;
    std::vector<std::unique_ptr<Face>> faces_;
    Face* current_ = nullptr;
    QFont defaultFont_;
};

} // namespace render
