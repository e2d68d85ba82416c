#include "app/file_replace.h"

#include <windows.h>

#include <cstdio>
#include <string>

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

namespace {

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n <= 0 || MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n) != n) return std::wstring();
    wide.resize(n - 1);
    return wide;
}

// Puts the written temp file in place of an existing target with ReplaceFileW, which keeps
// the target's security, attributes and streams. The old contents go to a backup name of
// their own first, so that whatever step fails, they can be put back; 0 or the error. When
// they cannot be put back, the backup stays and kept names it.
DWORD ReplaceExisting(const std::string& path, const std::string& temp, DWORD attributes, std::string& kept) {
    // The attributes go onto the new file first as well: not every implementation of the
    // replacement carries them over.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes & kKept) SetFileAttributesA(temp.c_str(), attributes & kKept);
    char backup[MAX_PATH + 1] = "";
    if (GetTempFileNameA(FolderOf(path).c_str(), "qdb", 0, backup) == 0) return GetLastError();
    const std::wstring target = Wide(path), replacement = Wide(temp), old = Wide(backup);
    if (target.empty() || replacement.empty() || old.empty()) {
        DeleteFileA(backup);
        return ERROR_NO_UNICODE_TRANSLATION;
    }
    if (ReplaceFileW(target.c_str(), replacement.c_str(), old.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL)) {
        DeleteFileW(old.c_str());
        return 0;
    }
    const DWORD error = GetLastError();
    // The target moved to the backup but the new file did not follow: the old one goes back,
    // and where even that fails, the backup is all that is left of it.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
        !MoveFileExW(old.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        kept = backup;
        return error;
    }
    DeleteFileW(old.c_str());  // the target is in place: the unused backup name
    return error;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string& reason) {
    char temp[MAX_PATH + 1] = "";
    if (GetTempFileNameA(FolderOf(path).c_str(), "qdl", 0, temp) == 0) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    DWORD error = 0;
    std::string kept;  // the old contents' backup, when they could not be put back
    if (!WriteAll(temp, bytes)) {
        error = GetLastError();
    } else {
        const DWORD existing = GetFileAttributesA(path.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY))
            error = ReplaceExisting(path, temp, existing, kept);
        else if (!MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = GetLastError();
    }
    if (error == 0) return true;
    DeleteFileA(temp);
    reason = SystemErrorText(error);
    if (!kept.empty()) reason += " Der bisherige Inhalt liegt noch in \x84" + kept + "\x93.";
    return false;
}
