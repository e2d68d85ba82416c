// Case tables under tests/data, read at run time: one case a line, fields separated by tabs,
// '#' starts a comment line, blank lines are skipped. Files are UTF-8 and their fields come
// back in the ANSI code page, as the narrow Win32 calls use it. Escapes: \t \n \\ \xHH.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace data_table {

using Row = std::vector<std::string>;

inline std::string Ansi(const std::string& utf8) {
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), static_cast<int>(wide.size())));
    std::string out(wide.size() * 2 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr));
    return out.empty() ? out : out.substr(0, out.size() - 1);  // without the terminator
}

inline std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i] == '\\' && i + 1 < s.size() ? s[++i] : 0;
        if (c == 'x' && i + 2 < s.size()) out += static_cast<char>(std::strtoul(s.substr(i + 1, 2).c_str(), nullptr, 16)), i += 2;
        else out += !c ? s[i] : c == 't' ? '\t' : c == 'n' ? '\n' : c;
    }
    return out;
}

// The rows of tests/data/<name>; the test fails when the file is missing or empty.
inline std::vector<Row> Read(const std::string& name) {
    std::vector<Row> rows;
    std::ifstream in(std::string(QUENDEL_TEST_DATA) + "/" + name);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        Row row;
        for (std::size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
            tab = line.find('\t', start);
            row.push_back(Unescape(Ansi(line.substr(start, tab - start))));
        }
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << "no cases in tests/data/" << name;
    return rows;
}

inline long long Int(const std::string& field) { return std::strtoll(field.c_str(), nullptr, 0); }
inline unsigned long long Uint(const std::string& field) { return std::strtoull(field.c_str(), nullptr, 0); }

}  // namespace data_table
