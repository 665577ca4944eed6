#include "SimUiHost.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/Strings.h"

namespace platform::sim {

namespace {
// Consecutive timer firings a blocking wait may cause without any scripted input: past that,
// a loop is waiting for something only a test could do.
constexpr int kMaxAutoAdvances = 10000;
}  // namespace

void SimTextRenderer::DrawText(Bitmap&, const Rect&, std::wstring_view text, const Rect& box, const TextStyle& style) {
    (m_sink ? *m_sink : m_unattached).push_back({std::wstring(text), box, style});
}

Size SimTextRenderer::MeasureText(std::wstring_view text, const FontDesc& font) {
    // A fixed-pitch stand-in: half the font height per character.
    const int height = font.height < 0 ? -font.height : (font.height * 4 + 2) / 5;
    const int width = font.width > 0 ? font.width : std::max(1, height / 2);
    return {static_cast<int>(text.size()) * width, height + height / 4};
}

const SimWindow* SimUiHost::Find(WindowHandle h) const {
    auto it = m_windows.find(h.value);
    return it == m_windows.end() ? nullptr : &it->second;
}

SimWindow* SimUiHost::Find(WindowHandle h) {
    auto it = m_windows.find(h.value);
    return it == m_windows.end() ? nullptr : &it->second;
}

void SimUiHost::Fail(const std::string& message) {
    m_failures.push_back(message);
    if (m_onFailure) m_onFailure(message);
}

bool SimUiHost::CreateWindow(WindowHandle h, const CreateParams& params) {
    if (!h || Find(h)) return false;
    if (params.kind != WindowKind::TopLevel && !Find(params.parent)) return false;
    SimWindow& w = m_windows[h.value];
    w.handle = h;
    w.params = params;
    w.text = params.text;
    w.visible = params.visible;
    w.enabled = params.enabled;
    w.rect = params.rect;
    w.zOrder = ++m_zCounter;
    return true;
}

void SimUiHost::DestroyWindow(WindowHandle h) {
    if (!Find(h)) return;
    std::vector<WindowHandle> doomed{h};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (auto& [value, w] : m_windows)
            if (w.params.kind != WindowKind::TopLevel && w.params.parent == doomed[i]) doomed.push_back(w.handle);
    for (WindowHandle d : doomed) {
        m_windows.erase(d.value);
        std::erase_if(m_timers, [d](const Timer& t) { return t.handle == d; });
        if (m_focus == d) m_focus = {};
    }
}

void SimUiHost::SetText(WindowHandle h, std::wstring_view text) {
    if (SimWindow* w = Find(h)) w->text = text;
}

std::wstring SimUiHost::GetText(WindowHandle h) {
    const SimWindow* w = Find(h);
    if (!w) return {};
    if (w->params.kind == WindowKind::ComboBox)
        return w->comboSelection >= 0 ? w->comboItems[static_cast<size_t>(w->comboSelection)] : std::wstring{};
    return w->text;
}

void SimUiHost::SetVisible(WindowHandle h, bool visible) {
    if (SimWindow* w = Find(h)) w->visible = visible;
}

void SimUiHost::SetEnabled(WindowHandle h, bool enabled) {
    if (SimWindow* w = Find(h)) w->enabled = enabled;
}

void SimUiHost::SetRect(WindowHandle h, const Rect& rect) {
    if (SimWindow* w = Find(h)) {
        w->rect = rect;
        w->invalidated = true;
    }
}

Rect SimUiHost::GetRect(WindowHandle h) {
    const SimWindow* w = Find(h);
    return w ? w->rect : Rect{};
}

void SimUiHost::BringToTop(WindowHandle h) {
    if (SimWindow* w = Find(h)) w->zOrder = ++m_zCounter;
}

void SimUiHost::Invalidate(WindowHandle h) {
    if (SimWindow* w = Find(h)) w->invalidated = true;
}

void SimUiHost::SetFont(WindowHandle h, const FontDesc& font) {
    if (SimWindow* w = Find(h)) w->font = font;
}

void SimUiHost::SetTooltip(WindowHandle h, std::wstring_view text, bool active) {
    if (SimWindow* w = Find(h)) {
        w->tooltip = text;
        w->tooltipActive = active;
    }
}

void SimUiHost::SetShowState(WindowHandle h, ShowState state) {
    if (SimWindow* w = Find(h)) w->showState = state;
}

void SimUiHost::SetForegroundWindow(WindowHandle h) {
    SimWindow* w = Find(h);
    if (!w || w->params.kind != WindowKind::TopLevel) return;
    if (w->showState == ShowState::Minimized) Fail("a minimised window was brought to the front without being restored");
    w->zOrder = ++m_zCounter;
    m_foreground = h;
}

ShowState SimUiHost::GetShowState(WindowHandle h) {
    const SimWindow* w = Find(h);
    return w ? w->showState : ShowState::Normal;
}

void SimUiHost::SetCheck(WindowHandle h, bool checked) {
    if (SimWindow* w = Find(h)) w->checked = checked;
}

bool SimUiHost::GetCheck(WindowHandle h) {
    const SimWindow* w = Find(h);
    return w && w->checked;
}

void SimUiHost::ComboReset(WindowHandle h) {
    if (SimWindow* w = Find(h)) {
        w->comboItems.clear();
        w->comboSelection = -1;
    }
}

void SimUiHost::ComboAdd(WindowHandle h, std::wstring_view text) {
    if (SimWindow* w = Find(h)) w->comboItems.emplace_back(text);
}

void SimUiHost::ComboSetSelection(WindowHandle h, int index) {
    if (SimWindow* w = Find(h))
        w->comboSelection = index >= 0 && index < static_cast<int>(w->comboItems.size()) ? index : -1;
}

int SimUiHost::ComboGetSelection(WindowHandle h) {
    const SimWindow* w = Find(h);
    return w ? w->comboSelection : -1;
}

void SimUiHost::SetTimer(WindowHandle h, uintptr_t id, uint32_t periodMs) {
    if (!Find(h)) return;
    const uint32_t period = std::max<uint32_t>(periodMs, 1);
    Timer timer{h, id, period, m_clock.Now() + period, ++m_order};
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.handle == h && t.id == id; });
    if (it != m_timers.end()) *it = timer;
    else m_timers.push_back(timer);
}

bool SimUiHost::KillTimer(WindowHandle h, uintptr_t id) {
    return std::erase_if(m_timers, [&](const Timer& t) { return t.handle == h && t.id == id; }) != 0;
}

bool SimUiHost::HasTimer(WindowHandle h, uintptr_t id) const {
    return std::any_of(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.handle == h && t.id == id; });
}

SimUiHost::Timer* SimUiHost::NextTimer(uint64_t until) {
    Timer* next = nullptr;
    for (Timer& t : m_timers)
        if (t.due <= until && (!next || t.due < next->due || (t.due == next->due && t.order < next->order))) next = &t;
    return next;
}

void SimUiHost::Fire(Timer& timer) {
    // Rescheduled before the handler runs, which may kill or reset it.
    const WindowHandle h = timer.handle;
    const uintptr_t id = timer.id;
    timer.due = std::max(timer.due, m_clock.Now()) + timer.period;
    timer.order = ++m_order;
    if (m_sink) m_sink->OnTimer(h, id);
}

void SimUiHost::Advance(uint32_t ms) {
    const uint64_t target = m_clock.Now() + ms;
    while (Timer* timer = NextTimer(target)) {
        m_clock.SetNow(std::max(m_clock.Now(), timer->due));
        Fire(*timer);
    }
    m_clock.SetNow(target);
}

int SimUiHost::MessageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption, uint32_t flags) {
    m_boxes.push_back({owner, std::wstring(text), std::wstring(caption), flags, 0});
    const size_t index = m_boxes.size() - 1;
    if (m_boxAnswers.empty()) {
        Fail("unexpected message box: \"" + ToUtf8(text) + "\" (caption \"" + ToUtf8(caption) + "\")");
        const int answer = (flags & kMbButtonsMask) == kMbOk ? kIdOk : kIdCancel;
        m_boxes[index].answer = answer;
        return answer;
    }
    auto [answer, whileShown] = std::move(m_boxAnswers.front());
    m_boxAnswers.pop_front();
    if (whileShown) whileShown();
    m_boxes[index].answer = answer;
    return answer;
}

int SimUiHost::TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point screen) {
    m_menus.push_back({owner, items, screen, 0});
    if (m_menuAnswers.empty()) {
        Fail("unexpected pop-up menu");
        return 0;
    }
    const int answer = m_menuAnswers.front();
    m_menuAnswers.pop_front();
    m_menus.back().answer = answer;
    return answer;
}

bool SimUiHost::BrowseForFolder(WindowHandle owner, std::wstring_view title, const FolderBrowserCallback& callback) {
    std::wstring start;
    if (callback) callback(FolderBrowserEvent::Initialized, start);
    m_browsers.push_back({owner, std::wstring(title), start});
    if (m_browserAnswers.empty()) {
        Fail("unexpected folder browser: \"" + ToUtf8(title) + "\"");
        return false;
    }
    std::optional<std::wstring> choice = std::move(m_browserAnswers.front());
    m_browserAnswers.pop_front();
    if (!choice) return false;
    if (callback) callback(FolderBrowserEvent::SelectionChanged, *choice);
    return true;
}

bool SimUiHost::WaitForEvents(bool block) {
    bool delivered = false;
    bool woken = false;
    {
        std::lock_guard lock(m_wakeMutex);
        woken = std::exchange(m_woken, false);
    }
    if (woken && m_sink) {
        m_sink->OnWake();
        delivered = true;
    }
    // Timers that fell due while the program slept fire once each, in order.
    while (Timer* overdue = NextTimer(m_clock.Now())) {
        Fire(*overdue);
        delivered = true;
    }
    if (delivered) return true;
    if (!m_script.empty()) {
        auto action = std::move(m_script.front());
        m_script.pop_front();
        m_autoAdvances = 0;
        action();
        return true;
    }
    if (!block) return true;
    if (Timer* next = NextTimer(UINT64_MAX); next && m_autoAdvances < kMaxAutoAdvances) {
        ++m_autoAdvances;
        m_clock.SetNow(next->due);
        Fire(*next);
        return true;
    }
    if (m_idleWaitMs > 0) {
        std::unique_lock lock(m_wakeMutex);
        if (m_wakeCondition.wait_for(lock, std::chrono::milliseconds(m_idleWaitMs), [this] { return m_woken; })) {
            m_woken = false;
            lock.unlock();
            if (m_sink) m_sink->OnWake();
            return true;
        }
    }
    Fail("a loop waits for input that never comes (no scripted input, no timer, no other thread)");
    return false;
}

void SimUiHost::Wake() {
    {
        std::lock_guard lock(m_wakeMutex);
        m_woken = true;
    }
    m_wakeCondition.notify_all();
}

WindowHandle SimUiHost::FindControl(WindowHandle parent, int controlId) const {
    for (auto& [value, w] : m_windows)
        if (w.params.kind != WindowKind::TopLevel && w.params.parent == parent && w.params.controlId == controlId)
            return w.handle;
    return {};
}

WindowHandle SimUiHost::FindTopLevel(std::wstring_view text) const {
    for (auto& [value, w] : m_windows)
        if (w.params.kind == WindowKind::TopLevel && w.text == text) return w.handle;
    return {};
}

std::vector<WindowHandle> SimUiHost::TopLevelWindows() const {
    std::vector<WindowHandle> found;
    for (auto& [value, w] : m_windows)
        if (w.params.kind == WindowKind::TopLevel) found.push_back(w.handle);
    return found;
}

const SimWindow& SimUiHost::Paint(WindowHandle h) {
    static const SimWindow kNone;
    SimWindow* w = Find(h);
    if (!w) return kNone;
    const Rect area = w->params.kind == WindowKind::TopLevel ? ClientArea(w->rect, w->params.hasCaption)
                                                              : Rect{0, 0, w->rect.Width(), w->rect.Height()};
    Bitmap bitmap(area.Width(), area.Height(), Color{255, 0, 255});  // magenta: nothing painted there
    std::vector<TextDraw> texts;
    if (w->params.kind == WindowKind::TopLevel || w->params.kind == WindowKind::Canvas) {
        Surface surface(bitmap, m_text);
        m_text.SetSink(&texts);
        if (m_sink) m_sink->OnPaint(h, surface);
        m_text.SetSink(nullptr);
    }
    w = Find(h);  // painting may have changed the window table
    if (!w) return kNone;
    w->bitmap = std::move(bitmap);
    w->texts = std::move(texts);
    w->invalidated = false;
    return *w;
}

Bitmap SimUiHost::Composite(WindowHandle topLevel) {
    Bitmap screen = Paint(topLevel).bitmap;
    std::vector<std::pair<uint64_t, WindowHandle>> children;
    for (auto& [value, w] : m_windows)
        if (w.params.kind != WindowKind::TopLevel && w.params.parent == topLevel && w.visible)
            children.emplace_back(w.zOrder, w.handle);
    std::sort(children.begin(), children.end());
    for (auto& [z, h] : children) {
        const SimWindow* w = Find(h);
        if (!w) continue;
        if (w->params.kind == WindowKind::Canvas) {
            const SimWindow& painted = Paint(h);
            screen.Blit(painted.rect.left, painted.rect.top, painted.bitmap, painted.bitmap.Bounds());
        } else {
            // Native controls are drawn by the toolkit; a plain box stands for them here.
            screen.Fill(w->rect, Color{225, 225, 225});
        }
    }
    return screen;
}

Point SimUiHost::Middle(WindowHandle h) const {
    const SimWindow* w = Find(h);
    return w ? Point{w->rect.Width() / 2, w->rect.Height() / 2} : Point{};
}

void SimUiHost::Click(WindowHandle h) {
    const SimWindow* w = Find(h);
    if (!w || !w->enabled || !m_sink || !m_sink->AcceptsInput(h)) return;
    switch (w->params.kind) {
        case WindowKind::CheckBox:
            SetCheck(h, !w->checked);
            m_sink->OnControlNotify(h, ControlNotify::Clicked);
            break;
        case WindowKind::RadioButton:
            SetCheck(h, true);
            m_sink->OnControlNotify(h, ControlNotify::Clicked);
            break;
        case WindowKind::PushButton:
            m_sink->OnControlNotify(h, ControlNotify::Clicked);
            break;
        default: {
            const Point p = Middle(h);
            MouseDown(h, p);
            MouseUp(h, p);
            break;
        }
    }
}

void SimUiHost::DoubleClick(WindowHandle h) {
    const Point p = Middle(h);
    MouseDown(h, p);
    MouseUp(h, p);
    MouseDown(h, p, true);
    MouseUp(h, p);
}

void SimUiHost::RightClick(WindowHandle h, Point client) {
    if (!Find(h) || !m_sink || !m_sink->AcceptsInput(h)) return;
    m_sink->OnMouseDown(h, MouseButton::Right, client, false);
    if (Find(h)) m_sink->OnMouseUp(h, MouseButton::Right, client);
}

void SimUiHost::MouseDown(WindowHandle h, Point client, bool doubleClick) {
    const SimWindow* w = Find(h);
    if (w && w->enabled && m_sink && m_sink->AcceptsInput(h)) m_sink->OnMouseDown(h, MouseButton::Left, client, doubleClick);
}

void SimUiHost::MouseUp(WindowHandle h, Point client) {
    const SimWindow* w = Find(h);
    if (w && w->enabled && m_sink) m_sink->OnMouseUp(h, MouseButton::Left, client);
}

void SimUiHost::MouseMove(WindowHandle h, Point client) {
    if (Find(h) && m_sink && m_sink->AcceptsInput(h)) m_sink->OnMouseMove(h, client);
}

void SimUiHost::MouseLeave(WindowHandle h) {
    if (Find(h) && m_sink) m_sink->OnMouseLeave(h);
}

bool SimUiHost::KeyDown(WindowHandle h, int virtualKey) {
    if (!Find(h) || !m_sink) return false;
    return !m_sink->AcceptsInput(h) || m_sink->OnKeyDown(h, virtualKey);
}

void SimUiHost::SelectComboItem(WindowHandle h, int index) {
    SimWindow* w = Find(h);
    if (!w || !w->enabled || !m_sink || !m_sink->AcceptsInput(h)) return;
    ComboSetSelection(h, index);
    m_sink->OnControlNotify(h, ControlNotify::SelChange);
}

void SimUiHost::TypeText(WindowHandle h, std::wstring_view text) {
    SimWindow* w = Find(h);
    if (!w || !w->enabled || w->params.readOnly || !m_sink || !m_sink->AcceptsInput(h)) return;
    w->text = text;
    m_sink->OnControlNotify(h, ControlNotify::EditChange);
}

void SimUiHost::RequestClose(WindowHandle h) {
    if (Find(h) && m_sink) m_sink->OnSysCommand(h, SysCommand::Close);
}

void SimUiHost::Minimize(WindowHandle h) {
    if (Find(h) && m_sink) m_sink->OnSysCommand(h, SysCommand::Minimize);
}

void SimUiHost::Restore(WindowHandle h) {
    if (Find(h) && m_sink) m_sink->OnSysCommand(h, SysCommand::Restore);
}

void SimUiHost::DragTo(WindowHandle h, Point topLeft) {
    SimWindow* w = Find(h);
    if (!w || w->params.kind != WindowKind::TopLevel || !m_sink) return;
    Rect proposed = Rect::FromXYWH(topLeft.x, topLeft.y, w->rect.Width(), w->rect.Height());
    m_sink->OnMoving(h, proposed);
    if ((w = Find(h)) == nullptr) return;
    w->rect = proposed;
    m_sink->OnMoved(h);
}

void SimUiHost::ExpectMessageBox(int answer, std::function<void()> whileShown) {
    m_boxAnswers.emplace_back(answer, std::move(whileShown));
}

void SimUiHost::ExpectMenu(int answer) { m_menuAnswers.push_back(answer); }

void SimUiHost::ExpectFolderBrowser(std::optional<std::wstring> choice) { m_browserAnswers.push_back(std::move(choice)); }

void SimUiHost::Queue(std::function<void()> action) { m_script.push_back(std::move(action)); }

void SimUiHost::SetScreens(Rect primary, Rect virtualScreen, Rect workArea) {
    m_primary = primary;
    m_virtual = virtualScreen;
    m_workArea = workArea;
}

}  // namespace platform::sim
