// C_LinkWnd: a hyperlink control. It paints its caption in the colour of its state (normal,
// pressed, visited, under the mouse), shows the link cursor and a tool tip with its target
// while the mouse is over it, and opens its target through the shell on a click, the space
// key or Enter. It is a tab stop and shows a focus rectangle while it has the focus. When the shell cannot open it, the browser registered for ".htm" is started
// with the target as its one argument; when that fails too, the shell's error is reported
// in a message box.
//
// C_LabelWnd: a static text drawn centred in its own font and colour.
#pragma once

#include <windows.h>

#include <string>

#include "wintoolkit/c_base_wnd.h"
#include "wintoolkit/handles.h"

// A tool tip window with one owner; adds tools to it.
class C_ToolTip {
public:
    // Makes the "tooltips_class32" window owned by owner; a missing window makes AddTool a no-op.
    explicit C_ToolTip(HWND owner);
    C_ToolTip(const C_ToolTip&) = delete;
    C_ToolTip& operator=(const C_ToolTip&) = delete;
    C_ToolTip(C_ToolTip&&) = default;
    C_ToolTip& operator=(C_ToolTip&&) = default;

    // Identifier 0 registers the whole window (the tip follows it); another identifier
    // registers that part of window, with the rectangle when one is given.
    bool AddTool(HWND window, const char* text, const RECT* rect = nullptr, UINT_PTR id = 0);
    HWND Handle() const { return m_window.Get(); }

private:
    quendel_toolkit::WindowHandle m_window;
    HWND m_owner;  // borrowed
};

class C_LinkWnd : public C_BaseWnd {
public:
    // Style bits.
    static constexpr int kHoverColour = 0x02;      // paint in the hover colour under the mouse
    static constexpr int kOpenOnDown = 0x08;       // open on button down instead of up
    static constexpr int kFocusOnClick = 0x10;     // take the keyboard focus on button down
    static constexpr int kNoPressedColour = 0x40;  // never paint in the pressed colour
    static constexpr int kDefaultStyle = 0x53;
    static constexpr int kMaxTarget = 99;  // characters of the target kept

    using ShellOpen = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    using Launch = UINT(WINAPI*)(LPCSTR, UINT);

    C_LinkWnd();
    ~C_LinkWnd() override;

    // A visible child at rect (parent client coordinates), caption in Arial of fontHeight.
    bool Create(HWND parent, const char* caption, const RECT& rect, int fontHeight);
    // Keeps at most 99 characters of target; with a window, (re)makes its tool tip.
    void SetLink(const char* target);
    const std::string& Target() const { return m_target; }

    int Style() const { return m_style; }
    void SetStyle(int style) { m_style = style; }
    bool IsTracking() const { return m_tracking; }
    bool IsPressed() const { return m_pressed; }
    bool IsHover() const { return m_hover; }
    bool IsVisited() const { return m_visited; }
    HFONT Font() const { return m_font.Get(); }
    HWND ToolTip() const { return m_toolTip.Handle(); }
    // The colour OnPaint draws the caption in, from the state flags.
    COLORREF CurrentColour() const;

    // Shared by all links. A hover of 0xFFFFFFFF (-1) takes the system highlight colour.
    static void SetLinkColors(COLORREF normal, COLORREF pressed, COLORREF visited, COLORREF hover);
    static COLORREF NormalColour();
    static COLORREF PressedColour();
    static COLORREF VisitedColour();
    static COLORREF HoverColour();
    // The cursor shown over links (shared, borrowed: a loaded resource); null shows none.
    static void SetLinkCursor(HCURSOR cursor);
    static HCURSOR LinkCursor();

    // Opens target through the shell, else starts the browser registered for ".htm" (the
    // user's own classes first) with the target as one quoted argument; returns the shell's code
    // (above 32: success) or the browser start's.
    static int OpenLink(const char* target, int showCommand);
    // The message-box text for a failed open's code.
    static const char* ErrorText(int code);
    // Test seams: the shell call and the program start (defaults ShellExecuteA and WinExec).
    // Each returns the previous one.
    static ShellOpen SetShellOpen(ShellOpen open);
    static Launch SetLaunch(Launch launch);

protected:
    int OnCreate(CREATESTRUCTA* create) override;
    int OnDestroy() override;
    int OnPaint() override;
    int OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    int OnMouseMove(UINT keys, int x, int y) override;
    int OnSetFocus(HWND losing) override;
    int OnKillFocus(HWND receiving) override;
    int OnLButtonUp(UINT keys, int x, int y) override;
    int OnLButtonDown(UINT keys, int x, int y) override;
    int OnSize(UINT type, UINT width, UINT height) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Shows the failure of an open (virtual, so that tests can answer it).
    virtual void ShowOpenError(const char* text);

private:
    void Open();
    void Invalidate(bool erase) const;
    void RepaintOverParent() const;

    bool m_tracking = false;
    bool m_pressed = false;
    bool m_hover = false;
    bool m_visited = false;
    int m_style = kDefaultStyle;
    std::string m_target;
    quendel_toolkit::FontHandle m_font;
    C_ToolTip m_toolTip{NULL};
};

class C_LabelWnd : public C_BaseWnd {
public:
    C_LabelWnd() = default;
    ~C_LabelWnd() override;

    // The label owns the font it is given (here or by WM_SETFONT) and deletes it.
    void SetFont(HFONT font) { m_font.Reset(font); }
    HFONT Font() const { return m_font.Get(); }
    COLORREF m_textColour = RGB(255, 255, 255);

protected:
    int OnPaint() override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    quendel_toolkit::FontHandle m_font;
};

// Makes an Arial font of height (weight 400, proof quality); the stock ANSI_VAR_FONT when
// the platform cannot. The stock font may be handed to an owner: deleting it does nothing.
HFONT MakeArialFont(int height);
