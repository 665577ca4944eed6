// Smooth-edged drawing of a few plain shapes on a bitmap, for the pictures the program draws
// itself: its icon, and the button strips the build makes. Coordinates are in pixels, with
// pixel (x, y) covering [x, x + 1) x [y, y + 1); each pixel is blended by how much of it the
// shape covers (16 samples).
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/Bitmap.h"

struct PointF {
    float x = 0;
    float y = 0;
};

class PictureCanvas {
public:
    explicit PictureCanvas(platform::Bitmap& target) : m_target(target) {}

    // Everything drawn from now on is moved by (dx, dy).
    void SetOffset(float dx, float dy) { m_dx = dx, m_dy = dy; }

    void FillRoundRect(float left, float top, float right, float bottom, float radius, platform::Color color);
    // A line of the given width along the rounded rectangle's edge, inside it.
    void FrameRoundRect(float left, float top, float right, float bottom, float radius, float width,
                        platform::Color color);
    void FillCircle(float cx, float cy, float radius, platform::Color color);
    // Straight pieces through the points, with round ends and joints.
    void Polyline(std::initializer_list<PointF> points, float width, platform::Color color);
    void FillPolygon(std::initializer_list<PointF> points, platform::Color color);

private:
    // Blends color into every pixel of the box by the share of its samples inside the shape.
    void Cover(float left, float top, float right, float bottom, const std::function<bool(float, float)>& inside,
               platform::Color color);

    platform::Bitmap& m_target;
    float m_dx = 0;
    float m_dy = 0;
};
