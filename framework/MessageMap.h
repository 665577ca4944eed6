// Message maps: each window class lists the messages and commands it handles; a class's map
// chains to its base class's map, searched most-derived first.
#pragma once

#include <functional>
#include <vector>

#include "framework/Afx.h"

class CWnd;
class CDC;
class CBrush;
using HBRUSH = const CBrush*;
struct HBITMAP;

struct MessageMapEntry {
    UINT message = 0;
    UINT messageLast = 0;  // a range of messages (the control-colour family); equal to message otherwise
    UINT code = 0;         // WM_COMMAND: notification code
    UINT idFirst = 0;      // WM_COMMAND: control or command id range
    UINT idLast = 0;
    std::function<LRESULT(CWnd&, UINT, WPARAM, LPARAM)> handler;

    bool Matches(UINT msg, WPARAM wParam) const;
};

struct MessageMap {
    const MessageMap* base = nullptr;
    std::vector<MessageMapEntry> entries;
};

inline constexpr UINT CTLCOLOR_MSGBOX = 0;
inline constexpr UINT CTLCOLOR_EDIT = 1;
inline constexpr UINT CTLCOLOR_LISTBOX = 2;
inline constexpr UINT CTLCOLOR_BTN = 3;
inline constexpr UINT CTLCOLOR_DLG = 4;
inline constexpr UINT CTLCOLOR_SCROLLBAR = 5;
inline constexpr UINT CTLCOLOR_STATIC = 6;

// Entry builders: each adapts a handler with its natural signature to the message's parameters.
namespace msg {

CWnd* WndFromParam(LPARAM lParam);

template <class T>
MessageMapEntry Message(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {message, message, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) { return (static_cast<T&>(w).*fn)(a, b); }};
}

template <class T>
MessageMapEntry Control(UINT code, UINT id, void (T::*fn)()) {
    return {WM_COMMAND, WM_COMMAND, code, id, id, [fn](CWnd& w, UINT, WPARAM, LPARAM) { (static_cast<T&>(w).*fn)(); return LRESULT{0}; }};
}

template <class T>
MessageMapEntry Command(UINT id, void (T::*fn)()) { return Control(0, id, fn); }

template <class T>
MessageMapEntry CommandRange(UINT first, UINT last, void (T::*fn)(UINT)) {
    return {WM_COMMAND, WM_COMMAND, 0, first, last,
            [fn](CWnd& w, UINT, WPARAM a, LPARAM) { (static_cast<T&>(w).*fn)(LOWORD(a)); return LRESULT{0}; }};
}

template <class T>
MessageMapEntry Simple(UINT message, void (T::*fn)()) {
    return {message, message, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM, LPARAM) { (static_cast<T&>(w).*fn)(); return LRESULT{0}; }};
}

template <class T>
MessageMapEntry Timer(void (T::*fn)(UINT_PTR)) {
    return {WM_TIMER, WM_TIMER, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM) { (static_cast<T&>(w).*fn)(a); return LRESULT{0}; }};
}

template <class T>
MessageMapEntry ShowWindow(void (T::*fn)(BOOL, UINT)) {
    return {WM_SHOWWINDOW, WM_SHOWWINDOW, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(static_cast<BOOL>(a), static_cast<UINT>(b));
                return LRESULT{0};
            }};
}

template <class T>
MessageMapEntry Move(void (T::*fn)(int, int)) {
    return {WM_MOVE, WM_MOVE, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM, LPARAM b) {
                (static_cast<T&>(w).*fn)(GET_X_LPARAM(b), GET_Y_LPARAM(b));
                return LRESULT{0};
            }};
}

template <class T>
MessageMapEntry Size(void (T::*fn)(UINT, int, int)) {
    return {WM_SIZE, WM_SIZE, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(static_cast<UINT>(a), LOWORD(static_cast<uintptr_t>(b)),
                                         HIWORD(static_cast<uintptr_t>(b)));
                return LRESULT{0};
            }};
}

template <class T>
MessageMapEntry Moving(void (T::*fn)(UINT, LPRECT)) {
    return {WM_MOVING, WM_MOVING, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(static_cast<UINT>(a), reinterpret_cast<LPRECT>(b));
                return LRESULT{TRUE};
            }};
}

template <class T>
MessageMapEntry CtlColor(HBRUSH (T::*fn)(CDC*, CWnd*, UINT)) {
    return {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0, 0, [fn](CWnd& w, UINT message, WPARAM a, LPARAM b) {
                // One handler for the whole family; nCtlColor tells which kind of control asks.
                return reinterpret_cast<LRESULT>((static_cast<T&>(w).*fn)(reinterpret_cast<CDC*>(a), WndFromParam(b),
                                                                          message - WM_CTLCOLORMSGBOX));
            }};
}

template <class T>
MessageMapEntry SysCommand(void (T::*fn)(UINT, LPARAM)) {
    return {WM_SYSCOMMAND, WM_SYSCOMMAND, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(static_cast<UINT>(a), b);
                return LRESULT{0};
            }};
}

template <class T, class R>
MessageMapEntry QueryDragIcon(R (T::*fn)()) {
    return {WM_QUERYDRAGICON, WM_QUERYDRAGICON, 0, 0, 0,
            [fn](CWnd& w, UINT, WPARAM, LPARAM) { return static_cast<LRESULT>((static_cast<T&>(w).*fn)().value); }};
}

template <class T>
MessageMapEntry ContextMenu(void (T::*fn)(CWnd*, CPoint)) {
    return {WM_CONTEXTMENU, WM_CONTEXTMENU, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(WndFromParam(static_cast<LPARAM>(a)), CPoint{GET_X_LPARAM(b), GET_Y_LPARAM(b)});
                return LRESULT{0};
            }};
}

template <class T>
MessageMapEntry Mouse(UINT message, void (T::*fn)(UINT, CPoint)) {
    return {message, message, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(static_cast<UINT>(a), CPoint{GET_X_LPARAM(b), GET_Y_LPARAM(b)});
                return LRESULT{0};
            }};
}

template <class T>
MessageMapEntry KeyDown(void (T::*fn)(UINT, UINT, UINT)) {
    return {WM_KEYDOWN, WM_KEYDOWN, 0, 0, 0, [fn](CWnd& w, UINT, WPARAM a, LPARAM b) {
                (static_cast<T&>(w).*fn)(static_cast<UINT>(a), static_cast<UINT>(b & 0xFFFF), static_cast<UINT>(b >> 16));
                return LRESULT{0};
            }};
}

template <class T>
MessageMapEntry EraseBkgnd(BOOL (T::*fn)(CDC*)) {
    return {WM_ERASEBKGND, WM_ERASEBKGND, 0, 0, 0,
            [fn](CWnd& w, UINT, WPARAM a, LPARAM) { return LRESULT{(static_cast<T&>(w).*fn)(reinterpret_cast<CDC*>(a))}; }};
}

}  // namespace msg

#define DECLARE_MESSAGE_MAP()                                       \
public:                                                             \
    static const MessageMap* ThisMessageMap();                      \
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)            \
    const MessageMap* theClass::ThisMessageMap() {        \
        using ThisClass = theClass;                       \
        static const MessageMap map{baseClass::ThisMessageMap(), {

#define END_MESSAGE_MAP() \
        }};               \
        return &map;      \
    }

#define ON_WM_TIMER() msg::Timer(&ThisClass::OnTimer),
#define ON_WM_PAINT() msg::Simple(WM_PAINT, &ThisClass::OnPaint),
#define ON_WM_DESTROY() msg::Simple(WM_DESTROY, &ThisClass::OnDestroy),
#define ON_WM_CLOSE() msg::Simple(WM_CLOSE, &ThisClass::OnClose),
#define ON_WM_SHOWWINDOW() msg::ShowWindow(&ThisClass::OnShowWindow),
#define ON_WM_MOVE() msg::Move(&ThisClass::OnMove),
#define ON_WM_SIZE() msg::Size(&ThisClass::OnSize),
#define ON_WM_MOVING() msg::Moving(&ThisClass::OnMoving),
#define ON_WM_CTLCOLOR() msg::CtlColor(&ThisClass::OnCtlColor),
#define ON_WM_SYSCOMMAND() msg::SysCommand(&ThisClass::OnSysCommand),
#define ON_WM_QUERYDRAGICON() msg::QueryDragIcon(&ThisClass::OnQueryDragIcon),
#define ON_WM_CONTEXTMENU() msg::ContextMenu(&ThisClass::OnContextMenu),
#define ON_WM_MOUSEMOVE() msg::Mouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
#define ON_WM_KEYDOWN() msg::KeyDown(&ThisClass::OnKeyDown),
#define ON_WM_ERASEBKGND() msg::EraseBkgnd(&ThisClass::OnEraseBkgnd),
#define ON_MESSAGE(message, fn) msg::Message(message, &ThisClass::fn),
#define ON_COMMAND(id, fn) msg::Command(id, &ThisClass::fn),
#define ON_BN_CLICKED(id, fn) msg::Control(BN_CLICKED, id, &ThisClass::fn),
#define ON_BN_DOUBLECLICKED(id, fn) msg::Control(BN_DOUBLECLICKED, id, &ThisClass::fn),
#define ON_CBN_SELCHANGE(id, fn) msg::Control(CBN_SELCHANGE, id, &ThisClass::fn),
#define ON_EN_CHANGE(id, fn) msg::Control(EN_CHANGE, id, &ThisClass::fn),
