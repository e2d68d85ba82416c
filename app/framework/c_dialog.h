// C_Dialog: a dialog box on a template of the program's resources.
//
// The dialog procedure binds the object at WM_INITDIALOG and lets go of the window at
// WM_NCDESTROY. Messages are dispatched in layers, each a small virtual handler:
//   OnMessage   every message first; return true to claim it. The result reaches the
//               caller as the dialog manager expects: returned straight for the messages it
//               passes on as the procedure's value (WM_CTLCOLOR*, WM_COMPAREITEM,
//               WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON, WM_INITDIALOG), through
//               DWLP_MSGRESULT for all others.
//   OnCommand   WM_COMMAND by control identifier and notification code
//   OnOK        command IDOK (the default button, the Enter key)
//   OnCancel    command IDCANCEL (Escape, and the close box through WM_CLOSE)
//   OnDpiChanged WM_DPICHANGED: the new DPI and the rectangle Windows suggests
// Control notifications are not dispatched while UpdateData writes the controls, so texts
// the program writes never look like the user's edits.
#pragma once

#include <windows.h>

#include <string>

#include "app/framework/c_window.h"
#include "wintoolkit/handles.h"

class C_DataExchange;

class C_Dialog {
public:
    explicit C_Dialog(int templateId) : m_templateId(templateId) {}
    virtual ~C_Dialog();
    C_Dialog(const C_Dialog&) = delete;
    C_Dialog& operator=(const C_Dialog&) = delete;

    // Runs the dialog modally; returns the value EndDialog was given (IDCANCEL after Escape),
    // or -1 when the dialog could not be created.
    INT_PTR DoModal(HWND parent = NULL);
    // Creates the dialog modeless (tests drive it with messages); false on failure.
    bool Create(HWND parent = NULL);
    void Destroy();

    HWND Handle() const { return m_window; }
    int TemplateId() const { return m_templateId; }
    // The DPI the dialog is shown at, from its creation on.
    UINT Dpi() const { return m_dpi; }

    // Moves the texts between the members and the controls: true reads the controls into
    // the members, false writes the members into the controls.
    void UpdateData(bool fromControls);

    // Controls by identifier; a missing control reads as empty, unchecked, and ignores writes.
    HWND Item(int id) const;
    void SetItemText(int id, const std::string& text) const;
    std::string GetItemText(int id) const;
    void EnableItem(int id, bool enable) const;
    bool IsItemChecked(int id) const;
    // A modal message box on the dialog (virtual, so that tests can answer it).
    virtual int ShowMessage(const char* text, const char* caption, UINT type) const;

protected:
    virtual BOOL OnInitDialog();  // writes the members into the controls; TRUE: default focus
    virtual void DoDataExchange(C_DataExchange&) {}
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnClose() { OnCancel(); }
    // Takes the suggested rectangle and re-lays the dialog out in a font for the new DPI,
    // unless the dialog manager does so itself (returns false then).
    virtual bool OnDpiChanged(UINT dpi, const RECT& suggested);

    void EndDialog(INT_PTR result);

public:
    static bool ReturnsResultDirectly(UINT message);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_window = NULL;  // owned while modeless; the modal loop destroys it itself
    bool m_modeless = false;
    bool m_writingControls = false;
    UINT m_dpi = 96;
    quendel_toolkit::FontHandle m_dpiFont;  // the dialog's font remade for a new DPI
};

// One transfer between members and controls, handed to DoDataExchange.
class C_DataExchange {
public:
    C_DataExchange(const C_Dialog& dialog, bool fromControls) : m_dialog(dialog), m_fromControls(fromControls) {}
    bool FromControls() const { return m_fromControls; }
    // Binds a wrapper to its control.
    void Control(int id, C_Window& wrapper);
    // Moves text between a member and its control; a control the template lacks is skipped.
    void Text(int id, std::string& member);

private:
    const C_Dialog& m_dialog;
    bool m_fromControls;
};
