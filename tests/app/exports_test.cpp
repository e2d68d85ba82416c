// The program exports the time library under the compiler's decorated names, so that other
// programs can find its classes and data in the executable as in the DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The names of a PE file's export table, read from the file itself.
std::set<std::string> ExportedNames(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) return names;
    auto at = [&](size_t offset, size_t size) { return offset + size <= image.size() ? image.data() + offset : nullptr; };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const char* nt = at(static_cast<size_t>(dos->e_lfanew), sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER));
    if (!nt) return names;
    const auto* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(nt + sizeof(DWORD));
    const char* optional = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
    const WORD magic = *reinterpret_cast<const WORD*>(optional);
    const IMAGE_DATA_DIRECTORY* directories =
        magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC
            ? reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(optional)->DataDirectory
            : reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(optional)->DataDirectory;
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(optional + header->SizeOfOptionalHeader);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < header->NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return 0;
    };
    const DWORD exportRva = directories[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    const char* table = exportRva ? at(offsetOf(exportRva), sizeof(IMAGE_EXPORT_DIRECTORY)) : nullptr;
    if (!table) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(table);
    const char* nameRvas = at(offsetOf(exports->AddressOfNames), exports->NumberOfNames * sizeof(DWORD));
    for (DWORD i = 0; nameRvas && i < exports->NumberOfNames; ++i) {
        const char* name = at(offsetOf(reinterpret_cast<const DWORD*>(nameRvas)[i]), 1);
        if (name) names.insert(std::string(name, strnlen(name, image.data() + image.size() - name)));
    }
    return names;
}

}  // namespace

TEST(Exports, ProgramAndLibraryExportTheClassesAndData) {
    const char* kDecorated[] = {
        "_ZN6C_Time17m_glbUserTimeZoneE",                                                // data
        "_ZN6C_Time17m_fmtTicksDecimalE",                                                // "%I64d"
        "_ZN6C_Time13m_fmtTicksHexE",                                                    // "%I64x"
        "_ZN6C_Time17SearchDaylLimiterER11_SYSTEMTIMEP9_FILETIME",                       // private static
        "_ZNK6C_Time12IsSummerTimeEPK22_TIME_ZONE_INFORMATIONPS_S3_P11_SYSTEMTIME",
        "_ZN6C_Time10SetTimeUTCEiiiiiii",
        "_ZNK10C_TimeSpan7DivTimeERKS_",
        "_ZN8C_String3AddEPKcj",
        "_ZNK8C_String4FindEPKc",
    };
    for (const char* path : {QUENDEL_EXE_PATH, QUENDEL_DLL_PATH}) {
        const std::set<std::string> names = ExportedNames(path);
        EXPECT_GT(names.size(), 150u) << path;
        for (const char* name : kDecorated) EXPECT_TRUE(names.count(name)) << name << " in " << path;
    }
}
