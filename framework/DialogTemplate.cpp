#include "framework/DialogTemplate.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <set>

#include "platform/Strings.h"

namespace {

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

struct ControlKind {
    WindowClass windowClass;
    platform::WindowKind kind;
};

std::optional<ControlKind> ClassifyControl(std::wstring_view kind, DWORD style) {
    using platform::WindowKind;
    if (EqualsNoCase(kind, L"Static")) return ControlKind{WindowClass::Static, WindowKind::Canvas};
    if (EqualsNoCase(kind, L"Edit")) return ControlKind{WindowClass::Edit, WindowKind::Edit};
    if (EqualsNoCase(kind, L"ComboBox")) return ControlKind{WindowClass::ComboBox, WindowKind::ComboBox};
    if (EqualsNoCase(kind, L"Button")) {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON: return ControlKind{WindowClass::Button, WindowKind::PushButton};
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX: return ControlKind{WindowClass::Button, WindowKind::CheckBox};
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return ControlKind{WindowClass::Button, WindowKind::RadioButton};
            case BS_GROUPBOX:
            case BS_OWNERDRAW: return ControlKind{WindowClass::Button, WindowKind::Canvas};
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string Describe(const DialogTemplate& t) { return "dialog template " + std::to_string(t.id); }

}  // namespace

CRect MapDialogRect(int x, int y, int cx, int cy) {
    return {MulDiv(x, kDialogBaseUnitX, 4), MulDiv(y, kDialogBaseUnitY, 8), MulDiv(x + cx, kDialogBaseUnitX, 4),
            MulDiv(y + cy, kDialogBaseUnitY, 8)};
}

TemplateLoadResult LoadDialogTemplate(const DialogTemplate& t) {
    LoadedDialog dialog;
    dialog.id = t.id;
    dialog.caption = t.caption;
    dialog.style = t.style;
    dialog.client = {MulDiv(t.cx, kDialogBaseUnitX, 4), MulDiv(t.cy, kDialogBaseUnitY, 8)};
    dialog.font.face = t.font;
    // Points to pixels at 96 dpi, as a negative (character) height.
    dialog.font.height = -MulDiv(t.pointSize, 96, 72);

    std::set<int> ids;
    for (const DialogControl& c : t.controls) {
        auto kind = ClassifyControl(c.kind, c.style);
        if (!kind) {
            return {std::nullopt, Describe(t) + ": control " + std::to_string(c.id) + " has unknown kind \"" +
                                      platform::ToUtf8(c.kind) + "\" (style 0x" + [&] {
                                          char buffer[16];
                                          std::snprintf(buffer, sizeof buffer, "%X", c.style);
                                          return std::string(buffer);
                                      }() + ")"};
        }
        // Several labels may share the "no id" value; real ids must be unique.
        if (c.id != IDC_STATIC && !ids.insert(c.id).second)
            return {std::nullopt, Describe(t) + ": control id " + std::to_string(c.id) + " appears twice"};
        if (c.cx < 0 || c.cy < 0)
            return {std::nullopt, Describe(t) + ": control " + std::to_string(c.id) + " has a negative size"};
        dialog.controls.push_back({c.id, kind->windowClass, kind->kind, c.style, MapDialogRect(c.x, c.y, c.cx, c.cy),
                                   std::wstring(c.text)});
    }
    return {std::move(dialog), {}};
}

const DialogTemplate* ResourceTable::FindDialog(int id) const {
    auto it = std::find_if(dialogs.begin(), dialogs.end(), [id](const DialogTemplate& t) { return t.id == id; });
    return it == dialogs.end() ? nullptr : &*it;
}

const MenuTemplate* ResourceTable::FindMenu(int id) const {
    auto it = std::find_if(menus.begin(), menus.end(), [id](const MenuTemplate& m) { return m.id == id; });
    return it == menus.end() ? nullptr : &*it;
}

const IconResource* ResourceTable::FindIcon(int id) const {
    auto it = std::find_if(icons.begin(), icons.end(), [id](const IconResource& i) { return i.id == id; });
    return it == icons.end() ? nullptr : &*it;
}
