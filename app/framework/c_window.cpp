#include "app/framework/c_window.h"

#include <vector>

namespace {

// An item's text of a combo or list box, by its pair of length and text messages.
std::string ItemText(const C_Window& box, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = box.Send(lengthMessage, static_cast<WPARAM>(index));
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, 0);
    box.Send(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

}  // namespace

void C_Window::SetText(const std::string& text) const {
    if (m_window) SetWindowTextA(m_window, text.c_str());
}

std::string C_Window::GetText() const {
    if (!m_window) return std::string();
    const int length = GetWindowTextLengthA(m_window);
    std::vector<char> text(static_cast<size_t>(length) + 2, 0);
    GetWindowTextA(m_window, text.data(), length + 1);
    return text.data();
}

void C_Window::Enable(bool enable) const {
    if (m_window) EnableWindow(m_window, enable);
}

LRESULT C_Window::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return m_window ? SendMessageA(m_window, message, wParam, lParam) : 0;
}

int C_ComboBox::AddString(const std::string& text) const {
    if (!m_window) return -1;
    const LRESULT index = Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

void C_ComboBox::SetItemData(int index, void* data) const {
    Send(CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(data));
}

void* C_ComboBox::GetItemData(int index) const {
    if (!m_window) return nullptr;
    const LRESULT data = Send(CB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == CB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

int C_ComboBox::GetCurSel() const { return m_window ? static_cast<int>(Send(CB_GETCURSEL)) : -1; }
int C_ComboBox::GetCount() const { return m_window ? static_cast<int>(Send(CB_GETCOUNT)) : 0; }

std::string C_ComboBox::GetItemText(int index) const { return ItemText(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }

void C_ListBox::SetTabStops(const int* stops, int count) const {
    Send(LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(stops));
}

int C_ListBox::AddString(const std::string& text) const {
    if (!m_window) return -1;
    const LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int C_ListBox::GetCount() const { return m_window ? static_cast<int>(Send(LB_GETCOUNT)) : 0; }

std::string C_ListBox::GetItemText(int index) const { return ItemText(*this, LB_GETTEXTLEN, LB_GETTEXT, index); }
