// C_BaseWnd: one Win32 window whose messages arrive as virtual handlers with their
// parameters unpacked.
//
// Windows made with a null class name use the class "BaseWinWnd", registered once per
// process on first use. The object is bound to its window at WM_CREATE (so Handle() is known
// inside OnCreate) and let go at WM_NCDESTROY, before OnNcDestroy runs. Messages that arrive
// before WM_CREATE go straight to DefWindowProcA.
//
// How a handler's return value decides the message:
//   most handlers (the "claim with 0" rule): 0 claims the message with result 0, anything
//     else asks for DefWindowProcA; the base versions decline (return kDecline);
//   OnEraseBkgnd: non-zero claims with result 1, 0 declines;
//   OnDrawItem, OnMeasureItem, OnHelp: exactly 1 claims with result 1;
//   OnNotify: exactly 1 claims with the result it left in *result;
//   OnQueryNewPalette (base 0), OnQueryEndSession (base 1): the return is the result, always;
//   OnPaletteChanged: called, then DefWindowProcA always;
//   OnMessage (every message without a handler of its own): non-zero claims with the
//     result it left in *result, 0 declines.
// OnCreate's return is WM_CREATE's result as it is (base 1; -1 makes the creation fail).
#pragma once

#include <windows.h>

#include "wintoolkit/handles.h"

class C_BaseWnd {
public:
    static constexpr int kDecline = 1;  // what a "claim with 0" handler returns to decline
    static constexpr const char* kClassName = "BaseWinWnd";

    C_BaseWnd() = default;
    // Destroys the window if it still exists.
    virtual ~C_BaseWnd();
    C_BaseWnd(const C_BaseWnd&) = delete;  // the window holds a pointer to this object
    C_BaseWnd& operator=(const C_BaseWnd&) = delete;

    // Makes the window; a null class name means "BaseWinWnd" (registered on first use).
    // Another class must be registered with WindowProc and sizeof(LONG_PTR) window extra
    // bytes (cbWndExtra), where the object's pointer is kept: with fewer, Create fails.
    bool Create(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId);

    HWND Handle() const { return m_window.Get(); }
    HWND Parent() const { return m_parent; }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Decides one message for a bound object; true when handled, with *result its answer.
    static bool Dispatch(C_BaseWnd& self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT* result);
    // How many times this process asked for the class registration (at most once).
    static int ClassRegistrations();

protected:
    virtual int OnCreate(CREATESTRUCTA* create);
    virtual int OnDestroy();
    virtual int OnNcDestroy();
    virtual int OnPaint();
    virtual int OnEraseBkgnd(HDC dc);
    virtual int OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual int OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual int OnChar(UINT character, UINT repeat, UINT flags);
    virtual int OnTimer(UINT_PTR id);
    virtual int OnDrawItem(UINT id, DRAWITEMSTRUCT* item);
    virtual int OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item);
    virtual int OnMenuSelect(UINT item, UINT flags, HMENU menu);
    virtual int OnInitMenu(HMENU menu);
    virtual int OnNotify(WPARAM id, NMHDR* header, LRESULT* result);
    virtual int OnCommand(UINT id, UINT code, HWND control);
    virtual int OnSysCommand(WPARAM command, UINT x, UINT y);
    virtual int OnHScroll(UINT code, UINT position, HWND bar);
    virtual int OnVScroll(UINT code, UINT position, HWND bar);
    virtual int OnMouseMove(UINT keys, int x, int y);
    virtual int OnSetFocus(HWND losing);
    virtual int OnKillFocus(HWND receiving);
    virtual int OnLButtonUp(UINT keys, int x, int y);
    virtual int OnLButtonDown(UINT keys, int x, int y);
    virtual int OnLButtonDblClk(UINT keys, int x, int y);
    virtual int OnRButtonUp(UINT keys, int x, int y);
    virtual int OnRButtonDown(UINT keys, int x, int y);
    virtual void OnPaletteChanged(HWND changer);
    virtual int OnPaletteIsChanging(HWND window);
    virtual LRESULT OnQueryNewPalette();
    virtual int OnSize(UINT type, UINT width, UINT height);
    virtual int OnMove(int x, int y);
    virtual int OnClose();
    virtual LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    virtual int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual int OnHelp(HELPINFO* help);
    virtual int OnGetMinMaxInfo(MINMAXINFO* limits);

private:
    // Owned from WM_CREATE; released (not destroyed) at WM_NCDESTROY, when the window is gone.
    quendel_toolkit::WindowHandle m_window;
    HWND m_parent = NULL;  // borrowed
};
