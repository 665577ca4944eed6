#include "resources/PictureCanvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kSamples = 4;  // per side

// Signed distance from a point to a rounded rectangle's edge: negative inside.
float RoundRectDistance(float x, float y, float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float qx = std::abs(x - cx) - ((right - left) / 2 - radius);
    const float qy = std::abs(y - cy) - ((bottom - top) / 2 - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(float x, float y, PointF a, PointF b) {
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float length2 = vx * vx + vy * vy;
    const float t = length2 > 0 ? std::clamp(((x - a.x) * vx + (y - a.y) * vy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (a.x + t * vx), y - (a.y + t * vy));
}

}  // namespace

void PictureCanvas::Cover(float left, float top, float right, float bottom,
                          const std::function<bool(float, float)>& inside, platform::Color color) {
    const int x0 = std::max(0, int(std::floor(left + m_dx)));
    const int y0 = std::max(0, int(std::floor(top + m_dy)));
    const int x1 = std::min(m_target.Width(), int(std::ceil(right + m_dx)));
    const int y1 = std::min(m_target.Height(), int(std::ceil(bottom + m_dy)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(x + (sx + 0.5f) / kSamples - m_dx, y + (sy + 0.5f) / kSamples - m_dy);
            if (hits == 0) continue;
            const platform::Color under = m_target.At(x, y);
            const int total = kSamples * kSamples;
            auto mix = [&](uint8_t a, uint8_t b) { return uint8_t((a * hits + b * (total - hits) + total / 2) / total); };
            m_target.Set(x, y, {mix(color.r, under.r), mix(color.g, under.g), mix(color.b, under.b)});
        }
    }
}

void PictureCanvas::FillRoundRect(float left, float top, float right, float bottom, float radius,
                                  platform::Color color) {
    Cover(left, top, right, bottom,
          [=](float x, float y) { return RoundRectDistance(x, y, left, top, right, bottom, radius) <= 0; }, color);
}

void PictureCanvas::FrameRoundRect(float left, float top, float right, float bottom, float radius, float width,
                                   platform::Color color) {
    Cover(left, top, right, bottom,
          [=](float x, float y) {
              const float d = RoundRectDistance(x, y, left, top, right, bottom, radius);
              return d <= 0 && d > -width;
          },
          color);
}

void PictureCanvas::FillCircle(float cx, float cy, float radius, platform::Color color) {
    Cover(cx - radius, cy - radius, cx + radius, cy + radius,
          [=](float x, float y) { return std::hypot(x - cx, y - cy) <= radius; }, color);
}

void PictureCanvas::Polyline(std::initializer_list<PointF> list, float width, platform::Color color) {
    const std::vector<PointF> points(list);
    if (points.empty()) return;
    float left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (const PointF& p : points) {
        left = std::min(left, p.x), top = std::min(top, p.y);
        right = std::max(right, p.x), bottom = std::max(bottom, p.y);
    }
    const float half = width / 2;
    Cover(left - half, top - half, right + half, bottom + half,
          [&](float x, float y) {
              for (size_t i = 0; i + 1 < points.size(); ++i)
                  if (SegmentDistance(x, y, points[i], points[i + 1]) <= half) return true;
              return points.size() == 1 && std::hypot(x - points[0].x, y - points[0].y) <= half;
          },
          color);
}

void PictureCanvas::FillPolygon(std::initializer_list<PointF> list, platform::Color color) {
    const std::vector<PointF> points(list);
    if (points.size() < 3) return;
    float left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (const PointF& p : points) {
        left = std::min(left, p.x), top = std::min(top, p.y);
        right = std::max(right, p.x), bottom = std::max(bottom, p.y);
    }
    // Even-odd rule: a ray to the right crosses the edge an odd number of times from inside.
    Cover(left, top, right, bottom,
          [&](float x, float y) {
              bool in = false;
              for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                  const PointF& a = points[i];
                  const PointF& b = points[j];
                  if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
              }
              return in;
          },
          color);
}
