// quendel.exe /convert as a script runs it: standard input and output redirected to files,
// against app_convert.tsv, and 10,000 hostile lines through one bulk run.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "support/data_table.h"

namespace {

struct Outcome {
    DWORD exit = 0;
    std::vector<std::string> lines;
};

// This process's console screen up to the cursor, its rows as a file's lines.
std::string ScreenText() {
    HANDLE out = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    CONSOLE_SCREEN_BUFFER_INFO screen = {};
    GetConsoleScreenBufferInfo(out, &screen);  // none: nothing on it
    std::string text, row(screen.dwSize.X, ' ');
    DWORD read = 0;
    for (COORD at = {0, 0}; at.Y < screen.dwCursorPosition.Y; ++at.Y) {
        ReadConsoleOutputCharacterA(out, row.data(), screen.dwSize.X, at, &read);
        text += row.substr(0, row.find_last_not_of(' ') + 1) + "\r\n";
    }
    CloseHandle(out);
    return text;
}

// Starts the program with the arguments, the input as its standard input; no box may wait.
Outcome Convert(const std::string& arguments, const std::string& input, bool console = false) {
    // Fresh files: the last child's handles may close a moment after it ends, and the other tests
    // of this program run in processes of their own beside this one.
    static int runs = 0;
    const std::string temp = std::string(std::getenv("TEMP")) + "\\convert" + std::to_string(GetCurrentProcessId()) +
                             "_" + std::to_string(++runs);
    const std::string in = temp + "_in.txt", out = temp + "_out.txt";
    std::ofstream(in, std::ios::binary) << input;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE read = CreateFileA(in.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, NULL);
    HANDLE write = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, NULL);
    EXPECT_TRUE(read != INVALID_HANDLE_VALUE && write != INVALID_HANDLE_VALUE) << GetLastError();
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    if (!console) start.hStdInput = read, start.hStdOutput = write, start.hStdError = write;
    if (console) FreeConsole(), AllocConsole(), SetConsoleOutputCP(GetACP());  // as cmd.exe: nothing redirected
    PROCESS_INFORMATION process = {};
    std::string command = "\"" QUENDEL_EXE "\" " + arguments;
    Outcome run;
    EXPECT_TRUE(CreateProcessA(NULL, command.data(), NULL, NULL, TRUE, DETACHED_PROCESS, NULL, NULL, &start, &process)) << arguments;
    CloseHandle(read), CloseHandle(write);
    if (!process.hProcess) return run;
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << arguments << ": still running (a box waits?)";
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &run.exit);
    CloseHandle(process.hProcess), CloseHandle(process.hThread);
    std::ifstream file(out, std::ios::binary);
    const std::string text = console ? ScreenText() : std::string(std::istreambuf_iterator<char>(file), {});
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        run.lines.push_back(text.substr(at, end - at));
    }
    file.close();
    DeleteFileA(in.c_str()), DeleteFileA(out.c_str());
    return run;
}

}  // namespace

TEST(Convert, CommandLinesAndBulkFiles) {
    for (const data_table::Row& row : data_table::Read("app_convert.tsv")) {
        const Outcome run = Convert(row[1], row[2] == "-" ? "" : row[2], row[0] == "console");
        std::string shown;  // every line, or each block's first
        for (std::size_t i = 0; i < run.lines.size(); ++i)
            if (row[0] == "all" || i == 0 || run.lines[i - 1].empty())
                shown += (shown.empty() && i == 0 ? "" : "|") + run.lines[i];
        if (row[0] == "first" && !shown.empty() && shown.back() == '|') shown.pop_back();  // the last block's end
        EXPECT_EQ(std::to_string(run.exit) + " " + shown, row[3] + " " + row[4]) << row[1];
    }
}

// Random and hostile lines: a block for each, every reading in the calendar, exit 0 or 5.
TEST(Convert, HostileBulkInput) {
    std::mt19937 random(27);
    static const char* const kSeeds[] = {"1700000000", "0x6553F100", "2023-11-14T22:13:20Z", "E8D3A3B0.12345678",
                                         "Tue, 14 Nov 2023 22:13:20 GMT", "01ARYZ6S41TSV4RRFFQ69G5FAV", "45000,5",
                                         "c232ab00-9414-11ec-b3c8-9f6bdeced846", "-9223372036854775808", "1e308"};
    std::string input;
    for (int i = 0; i < 10000; ++i) {
        std::string line = kSeeds[random() % 10];
        for (int edits = random() % 5; edits > 0; --edits) {
            const std::size_t at = random() % (line.size() + 1);
            char c = static_cast<char>(random());
            if (c == '\n' || c == '\r') c = '\0';
            if (random() % 3 == 0) line.insert(at, std::string(random() % 400, c));
            else line.insert(at, 1, c);
        }
        input += line + "\n";
    }
    const Outcome run = Convert("/convert -", input);
    EXPECT_TRUE(run.exit == 0 || run.exit == 5) << run.exit;
    int blocks = 0;
    for (const std::string& line : run.lines) {
        blocks += line.empty();
        if (line.empty()) continue;
        const std::size_t semi = line.find(';');
        ASSERT_NE(semi, std::string::npos) << line;
        const int year = std::atoi(line.c_str() + semi + 1);
        EXPECT_TRUE(year >= 1601 && year <= 30827) << line;
    }
    EXPECT_EQ(blocks, 10000);
}
