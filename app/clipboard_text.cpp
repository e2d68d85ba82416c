#include "app/clipboard_text.h"

#include <cstring>

#include "wintoolkit/handles.h"

namespace {

// Memory for the clipboard: freed unless the clipboard has taken it.
struct GlobalTraits {
    using Handle = HGLOBAL;
    static void Close(HGLOBAL memory) { GlobalFree(memory); }
};

// The open clipboard, closed on every way out.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (m_open) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

}  // namespace

bool CopyTextToClipboard(HWND owner, const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);  // with the terminator
    if (length <= 0) return false;
    quendel_toolkit::Owner<GlobalTraits> memory(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) * sizeof(WCHAR)));
    if (!memory) return false;
    WCHAR* wide = static_cast<WCHAR*>(GlobalLock(memory.Get()));
    if (!wide) return false;
    const bool converted = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, length) == length;
    GlobalUnlock(memory.Get());
    const OpenClipboardScope clipboard(owner);
    if (!converted || !clipboard.IsOpen() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory.Get()))
        return false;
    memory.Release();  // the clipboard owns it now
    return true;
}
