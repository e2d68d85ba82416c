#include "app/file_replace.h"

#include <windows.h>

#include <cstdio>

#include "wintoolkit/handles.h"

namespace {

struct FileTraits {
    using Handle = HANDLE;
    static void Close(HANDLE file) { CloseHandle(file); }
};
using FileHandle = quendel_toolkit::Owner<FileTraits>;

// The folder of the path ("." for a bare name), where the temporary file must lie for the
// final rename to stay on one volume.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || path[slash - 1] == ':') return path.substr(0, slash + 1);  // "\x", "C:\x"
    return path.substr(0, slash);
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    const HANDLE opened = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (opened == INVALID_HANDLE_VALUE) return false;
    const FileHandle file(opened);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t rest = bytes.size() - done;
        const DWORD chunk = rest > 0x10000000 ? 0x10000000 : static_cast<DWORD>(rest);
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, NULL) || written == 0) return false;
        done += written;
    }
    return FlushFileBuffers(file.Get()) != 0;
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
    char text[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code, 0, text,
                                  sizeof text, NULL);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
    if (length == 0) {
        std::snprintf(text, sizeof text, "Fehler %lu", code);
        return text;
    }
    return std::string(text, length);
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string& reason) {
    char temp[MAX_PATH + 1] = "";
    if (GetTempFileNameA(FolderOf(path).c_str(), "qdl", 0, temp) == 0) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    if (WriteAll(temp, bytes) && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    DeleteFileA(temp);
    reason = SystemErrorText(error);
    return false;
}
