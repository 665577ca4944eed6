// Dialog templates as data: sizes in dialog units, controls with ids, kinds and styles, as a
// resource script would give them. Loading checks them and maps them to pixels the way
// "MS Shell Dlg" 8 does at 96 dpi.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Afx.h"
#include "platform/UiHost.h"

struct DialogControl {
    int id = 0;
    std::wstring_view kind;  // "Static", "Button", "Edit", "ComboBox"
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::wstring_view text;
};

struct DialogTemplate {
    int id = 0;
    std::wstring_view caption;
    DWORD style = 0;
    int cx = 0, cy = 0;  // dialog units
    std::vector<DialogControl> controls;
    std::wstring_view font = L"MS Shell Dlg";
    int pointSize = 8;
};

// What a control becomes when a template is loaded: its window class decides its default behaviour.
enum class WindowClass { Frame, Static, Button, Edit, ComboBox };

struct LoadedControl {
    int id = 0;
    WindowClass windowClass = WindowClass::Static;
    platform::WindowKind kind = platform::WindowKind::Canvas;
    DWORD style = 0;
    CRect rect;  // pixels, in the dialog's client area
    std::wstring text;
};

struct LoadedDialog {
    int id = 0;
    std::wstring caption;
    DWORD style = 0;
    CSize client;  // pixels
    platform::FontDesc font;
    std::vector<LoadedControl> controls;
};

struct TemplateLoadResult {
    std::optional<LoadedDialog> dialog;
    std::string error;  // names the template and the control when loading failed
};

// Dialog base units of "MS Shell Dlg" 8 at 96 dpi: 4 horizontal units are 6 pixels, 8 vertical 13.
inline constexpr int kDialogBaseUnitX = 6;
inline constexpr int kDialogBaseUnitY = 13;

// Rounds half away from zero, as the classic MulDiv does.
constexpr int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// Maps each edge, so adjacent controls stay adjacent after rounding.
CRect MapDialogRect(int x, int y, int cx, int cy);

[[nodiscard]] TemplateLoadResult LoadDialogTemplate(const DialogTemplate& dialogTemplate);

// Menus as data: a pop-up menu resource with items by command id.
struct MenuTemplate {
    int id = 0;
    std::vector<platform::MenuItem> popups;  // each top-level entry is one pop-up with its sub-items
};

// Icons as data: drawn when first loaded (the program draws its own instead of shipping files).
struct IconResource {
    int id = 0;
    platform::Bitmap (*draw)() = nullptr;
};

// The program's resources, handed to the runtime at start (tests hand in their own).
struct ResourceTable {
    std::wstring_view appTitle;  // the application's title string, when the program has one
    std::span<const DialogTemplate> dialogs;
    std::span<const MenuTemplate> menus;
    std::span<const IconResource> icons = {};
    const DialogTemplate* FindDialog(int id) const;
    const MenuTemplate* FindMenu(int id) const;
    const IconResource* FindIcon(int id) const;
};
