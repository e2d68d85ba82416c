// Thin wrappers of the dialog layer around windows the dialog owns.
//
// A wrapper only borrows its window: the dialog creates its controls from the template and
// destroys them with itself. Every operation on an unbound wrapper (or a window the
// template lacks) does nothing and reads as empty.
#pragma once

#include <windows.h>

#include <string>

class C_Window {
public:
    C_Window() = default;
    virtual ~C_Window() = default;
    C_Window(const C_Window&) = delete;
    C_Window& operator=(const C_Window&) = delete;

    void Attach(HWND window) { m_window = window; }  // borrowed
    HWND Handle() const { return m_window; }

    void SetText(const std::string& text) const;
    std::string GetText() const;
    void Enable(bool enable) const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    HWND m_window = NULL;  // borrowed from the dialog
};

class C_StaticLabel : public C_Window {};

class C_ComboBox : public C_Window {
public:
    void ResetContent() const { Send(CB_RESETCONTENT); }
    // Inserts text (at its sorted place when the box sorts); returns the index, or -1.
    int AddString(const std::string& text) const;
    void SetItemData(int index, void* data) const;
    void* GetItemData(int index) const;  // null for a bad index
    void SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    int GetCurSel() const;
    int GetCount() const;
    std::string GetItemText(int index) const;
};

class C_ListBox : public C_Window {
public:
    void ResetContent() const { Send(LB_RESETCONTENT); }
    // Tab stops in dialog template units.
    void SetTabStops(const int* stops, int count) const;
    int AddString(const std::string& text) const;
    int GetCount() const;
    std::string GetItemText(int index) const;
};
