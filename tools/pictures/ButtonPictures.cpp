#include "ButtonPictures.h"

#include <functional>

#include "resources/PictureCanvas.h"

namespace {

using platform::Color;

// Colours shared by the glyphs, so the buttons read as one set.
constexpr Color kDark{50, 56, 68};
constexpr Color kWhite{246, 247, 250};
constexpr Color kRed{220, 40, 36};
constexpr Color kBlue{40, 96, 186};
constexpr Color kScreen{110, 170, 235};

// A glyph is drawn through a colour map: as it is, or faded for the disabled frame.
using Tint = std::function<Color(Color)>;

Color Faded(Color c) {
    // Towards the strip's grey by luminance: still there, clearly not to be pressed.
    const float luminance = 0.30f * c.r + 0.59f * c.g + 0.11f * c.b;
    const auto grey = uint8_t(kStripGrey.r + (luminance - kStripGrey.r) * 0.45f + 0.5f);
    return {grey, grey, grey};
}

void DrawFolder(PictureCanvas& c, const Tint& t) {
    c.FillPolygon({{4, 8.5f}, {11, 8.5f}, {13, 10.5f}, {25, 10.5f}, {25, 24}, {4, 24}}, t({150, 100, 24}));
    c.FillPolygon({{5, 9.5f}, {10.6f, 9.5f}, {12.6f, 11.5f}, {24, 11.5f}, {24, 23}, {5, 23}}, t({206, 150, 48}));
    c.FillPolygon({{3.5f, 24.5f}, {7, 14}, {26.5f, 14}, {24.5f, 24.5f}}, t({150, 100, 24}));
    c.FillPolygon({{4.9f, 23.5f}, {7.8f, 15}, {25.1f, 15}, {23.7f, 23.5f}}, t({246, 200, 92}));
}

void DrawCamera(PictureCanvas& c, const Tint& t) {
    c.FillRoundRect(10, 7, 19, 11, 1.2f, t(kDark));
    c.FillRoundRect(4, 10, 25, 25, 2.5f, t(kDark));
    c.FillCircle(14.5f, 17.5f, 5.6f, t({220, 224, 230}));
    c.FillCircle(14.5f, 17.5f, 3.8f, t({60, 120, 200}));
    c.FillCircle(13.3f, 16.3f, 1.1f, t({200, 230, 255}));
    c.FillRoundRect(20, 11.5f, 23.5f, 13.5f, 0.5f, t({250, 196, 64}));
}

void DrawRecord(PictureCanvas& c, const Tint& t, bool stop) {
    c.FillCircle(14.5f, 16, 9.5f, t({60, 62, 70}));
    if (stop) {
        c.FillRoundRect(10, 11.5f, 19, 20.5f, 1.5f, t(kRed));
        return;
    }
    c.FillCircle(14.5f, 16, 7, t(kRed));
    c.FillCircle(12.2f, 13.7f, 1.8f, t({244, 124, 112}));
}

void DrawHelp(PictureCanvas& c, const Tint& t) {
    c.FillCircle(14.5f, 16, 9.5f, t(kBlue));
    c.Polyline({{11, 12.8f}, {11.7f, 10.9f}, {13.3f, 9.8f}, {15.5f, 9.7f}, {17.3f, 10.6f}, {18.1f, 12.4f},
                {17.5f, 14.2f}, {15.9f, 15.5f}, {14.6f, 16.7f}, {14.5f, 18.4f}},
               2.4f, t(kWhite));
    c.FillCircle(14.5f, 21.9f, 1.5f, t(kWhite));
}

void DrawMonitor(PictureCanvas& c, const Tint& t, bool shown) {
    c.FillRoundRect(3.5f, 7, 25.5f, 23, 2, t(kDark));
    c.FillPolygon({{12, 23}, {17, 23}, {18, 26}, {11, 26}}, t(kDark));
    c.FillRoundRect(8.5f, 25.5f, 20.5f, 27.5f, 0.8f, t(kDark));
    if (shown) {
        // "Show preview": a picture plays on the screen.
        c.FillRoundRect(5.5f, 9, 23.5f, 21, 0.8f, t(kScreen));
        c.FillPolygon({{12, 11.5f}, {12, 18.5f}, {18, 15}}, t(kWhite));
        return;
    }
    // "Hide preview": the screen is dark and struck through.
    c.FillRoundRect(5.5f, 9, 23.5f, 21, 0.8f, t({120, 126, 136}));
    c.Polyline({{7.5f, 20}, {21.5f, 10}}, 3.6f, t(kDark));
    c.Polyline({{7.5f, 20}, {21.5f, 10}}, 2, t(kRed));
}

void DrawGlyph(PictureCanvas& c, Glyph glyph, const Tint& t) {
    switch (glyph) {
        case Glyph::Open: DrawFolder(c, t); break;
        case Glyph::Snap: DrawCamera(c, t); break;
        case Glyph::RecordOn: DrawRecord(c, t, false); break;
        case Glyph::RecordOff: DrawRecord(c, t, true); break;
        case Glyph::Help: DrawHelp(c, t); break;
        case Glyph::PreviewOn: DrawMonitor(c, t, true); break;
        case Glyph::PreviewOff: DrawMonitor(c, t, false); break;
    }
}

// The plate behind the glyph: sunk and darker when pressed, light with a blue edge under the pointer.
void DrawPlate(PictureCanvas& c, Color fill, Color edge) {
    c.FillRoundRect(0.5f, 0.5f, kFrameWidth - 0.5f, kFrameHeight - 0.5f, 4, edge);
    c.FillRoundRect(1.5f, 1.5f, kFrameWidth - 1.5f, kFrameHeight - 1.5f, 3, fill);
}

const ButtonPicture kPictures[] = {
    {"Open.bmp", Glyph::Open},         {"Snap.bmp", Glyph::Snap},           {"RecordOn.bmp", Glyph::RecordOn},
    {"RecordOff.bmp", Glyph::RecordOff}, {"Help.bmp", Glyph::Help},         {"PreviewOn.bmp", Glyph::PreviewOn},
    {"PreviewOff.bmp", Glyph::PreviewOff},
};

}  // namespace

std::span<const ButtonPicture> ButtonPictures() { return kPictures; }

platform::Bitmap DrawStrip(Glyph glyph) {
    platform::Bitmap strip(4 * kFrameWidth, kFrameHeight, kStripGrey);
    PictureCanvas canvas(strip);
    const Tint asIs = [](Color c) { return c; };

    // Frame 0, pressed: the glyph moves one pixel down and right, as if pushed in.
    canvas.SetOffset(0, 0);
    DrawPlate(canvas, {150, 154, 164}, {72, 80, 98});
    canvas.SetOffset(1, 1);
    DrawGlyph(canvas, glyph, asIs);

    // Frame 1, normal.
    canvas.SetOffset(kFrameWidth, 0);
    DrawGlyph(canvas, glyph, asIs);

    // Frame 2, pointer over.
    canvas.SetOffset(2 * kFrameWidth, 0);
    DrawPlate(canvas, {214, 221, 234}, {58, 98, 176});
    DrawGlyph(canvas, glyph, asIs);

    // Frame 3, disabled.
    canvas.SetOffset(3 * kFrameWidth, 0);
    DrawGlyph(canvas, glyph, Faded);
    return strip;
}
