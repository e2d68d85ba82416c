// The C interface: version, status texts and the text output every text function uses.
#include <cwchar>

#include "timelib/c_api.h"

namespace quendel::c_api {

qt_status WriteText(const wchar_t* text, int length, wchar_t* buffer, int capacity, int* lengthOut) {
    if (lengthOut) *lengthOut = length;
    if (!buffer || capacity <= 0) return capacity == 0 ? QT_E_BUFFER_TOO_SMALL : QT_E_ARGUMENT;
    if (length >= capacity) {
        buffer[0] = 0;
        return QT_E_BUFFER_TOO_SMALL;
    }
    std::wmemcpy(buffer, text, static_cast<std::size_t>(length));
    buffer[length] = 0;
    return QT_OK;
}

}  // namespace quendel::c_api

extern "C" qt_status QT_CALL quendel_time_version(long* version) {
    if (!version) return QT_E_ARGUMENT;
    *version = QUENDEL_TIME_VERSION_NUMBER;  // from the project's version, by the build
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_status_text(qt_status status, wchar_t* buffer, int capacity, int* length) {
    static const wchar_t* const kTexts[] = {
        L"success",
        L"invalid argument (a null pointer, a null handle or an unknown flag or code)",
        L"the value lies outside 1601-01-01 to 30828-09-14",
        L"no such date or time",
        L"buffer too small",
        L"no zone of that key or name",
        L"not available in this build",
        L"the text does not read as a date and time",
        L"cbSize is smaller than the struct",
        L"the system refused the request",
    };
    const wchar_t* text = status >= 0 && status < static_cast<int>(sizeof kTexts / sizeof kTexts[0])
                              ? kTexts[status] : L"unknown status";
    return quendel::c_api::WriteText(text, static_cast<int>(std::wcslen(text)), buffer, capacity, length);
}
