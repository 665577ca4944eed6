// Plain value types shared by the platform interfaces and everything above them.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect FromXYWH(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect Intersect(const Rect& o) const {
        Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
               right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
        return r.IsEmpty() ? Rect{} : r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// 0x00RRGGBB, the in-memory layout of a 32-bit pixel in Bitmap (and of cairo's RGB24).
struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    constexpr uint32_t Pixel() const { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }
    static constexpr Color FromPixel(uint32_t p) {
        return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
    }
    friend bool operator==(const Color&, const Color&) = default;
};

// Identifies one native window. Values are handed out by the framework and never reused
// within a process, so a stale handle can never reach a newer window.
struct WindowHandle {
    uint32_t value = 0;
    explicit constexpr operator bool() const { return value != 0; }
    friend auto operator<=>(const WindowHandle&, const WindowHandle&) = default;
};

struct FontDesc {
    std::wstring face = L"MS Shell Dlg";
    // Pixels, as a logical font gives it: negative is the character (em) height, positive the
    // cell height; "MS Shell Dlg" 8 at 96 dpi is -11.
    int height = -11;
    int width = 0;   // 0: the face's own proportion
    int weight = 400;
    bool italic = false;
    int charSet = 0;
    int pitchAndFamily = 0;
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// Paths inside the program use this separator; Windows paths never reach the platform.
inline constexpr wchar_t kPathSeparator = L'/';

}  // namespace platform

template <>
struct std::hash<platform::WindowHandle> {
    size_t operator()(const platform::WindowHandle& h) const noexcept { return std::hash<uint32_t>{}(h.value); }
};
