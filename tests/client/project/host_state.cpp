// A host with a multibyte code page and a locale of its own loads the time library at run time
// and uses it: both stay as the host set them.
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include <mbctype.h>

int main() {
    if (_setmbcp(932) != 0 || !std::setlocale(LC_ALL, "C")) return std::printf("host: cannot set its own state\n"), 1;
    const HMODULE library = LoadLibraryA("quendel_time.dll");
    using ZoneName = void (*)(char* buffer, int size);  // C_Time::GetLocTimeZoneAsRegString, a static member
    const ZoneName zoneName = library ? reinterpret_cast<ZoneName>(reinterpret_cast<void*>(
                                            GetProcAddress(library, "_ZN6C_Time25GetLocTimeZoneAsRegStringEPci")))
                                      : nullptr;
    if (!zoneName) return std::printf("host: the library or its export is missing\n"), 1;
    char name[64] = "";
    zoneName(name, sizeof name);
    int failures = 0;
    if (_getmbcp() != 932) failures += std::printf("FAILED: multibyte code page %d, set 932\n", _getmbcp()) > 0;
    if (std::strcmp(std::setlocale(LC_ALL, NULL), "C") != 0) failures += std::printf("FAILED: locale changed\n") > 0;
    if (name[0] == 0) failures += std::printf("FAILED: no zone name from the library\n") > 0;
    return std::printf("host: %d failure(s)\n", failures), failures != 0;
}
