#include "app/framework/c_dialog.h"

#include "app/framework/app_instance.h"
#include "app/framework/dpi.h"

C_Dialog::~C_Dialog() { Destroy(); }

INT_PTR C_Dialog::DoModal(HWND parent) {
    return DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool C_Dialog::Create(HWND parent) {
    m_modeless = true;
    return CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != NULL;
}

void C_Dialog::Destroy() {
    if (m_modeless && m_window) DestroyWindow(m_window);  // WM_NCDESTROY clears m_window
}

void C_Dialog::EndDialog(INT_PTR result) {
    if (!m_window) return;
    if (m_modeless)
        DestroyWindow(m_window);
    else
        ::EndDialog(m_window, result);
}

void C_Dialog::UpdateData(bool fromControls) {
    const bool wasWriting = m_writingControls;
    m_writingControls = !fromControls;
    C_DataExchange exchange(*this, fromControls);
    DoDataExchange(exchange);
    m_writingControls = wasWriting;
}

HWND C_Dialog::Item(int id) const { return m_window ? GetDlgItem(m_window, id) : NULL; }

void C_Dialog::SetItemText(int id, const std::string& text) const {
    if (HWND item = Item(id)) SetWindowTextA(item, text.c_str());
}

std::string C_Dialog::GetItemText(int id) const {
    C_Window item;
    item.Attach(Item(id));
    return item.GetText();
}

void C_Dialog::EnableItem(int id, bool enable) const {
    if (HWND item = Item(id)) EnableWindow(item, enable);
}

bool C_Dialog::IsItemChecked(int id) const {
    HWND item = Item(id);
    return item && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int C_Dialog::ShowMessage(const char* text, const char* caption, UINT type) const {
    return MessageBoxA(m_window, text, caption, type);
}

BOOL C_Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

bool C_Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool C_Dialog::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UINT before = m_dpi;
    m_dpi = dpi;
    if (SystemScalesDialogs()) return false;  // DefDlgProc does it all
    LOGFONTA look = {};
    HFONT font = NULL;
    const auto current = reinterpret_cast<HFONT>(SendMessageA(m_window, WM_GETFONT, 0, 0));
    if (current && GetObjectA(current, sizeof look, &look)) {
        look.lfHeight = MulDiv(look.lfHeight, static_cast<int>(dpi), static_cast<int>(before));
        font = CreateFontIndirectA(&look);
    }
    RelayoutForDpi(m_window, before, dpi, font, suggested);
    m_dpiFont.Reset(font);  // the controls have the new one: the one made before may go
    return true;
}

bool C_Dialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CALLBACK C_Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    C_Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<C_Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
        self->m_dpi = WindowDpi(window);
    } else {
        self = reinterpret_cast<C_Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->m_window = NULL;
        return FALSE;
    }
    return self->Dispatch(message, wParam, lParam);
}

bool C_Dialog::ReturnsResultDirectly(UINT message) {
    // The dialog manager hands these on with the dialog procedure's own return value; every
    // other message's result goes through DWLP_MSGRESULT.
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

INT_PTR C_Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
        SetWindowLongPtrA(m_window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        // Notifications caused by the program's own writes are not the user's.
        if (m_writingControls && lParam != 0) return TRUE;
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_DPICHANGED:
        if (!OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam))) return FALSE;
        SetWindowLongPtrA(m_window, DWLP_MSGRESULT, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void C_DataExchange::Control(int id, C_Window& wrapper) { wrapper.Attach(m_dialog.Item(id)); }

void C_DataExchange::Text(int id, std::string& member) {
    HWND item = m_dialog.Item(id);
    if (!item) return;
    if (m_fromControls) {
        C_Window control;
        control.Attach(item);
        member = control.GetText();
    } else {
        // An unchanged text is not written again: the control would only repaint.
        C_Window control;
        control.Attach(item);
        if (control.GetText() != member) SetWindowTextA(item, member.c_str());
    }
}
