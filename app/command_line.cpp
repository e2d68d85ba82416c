#include "app/command_line.h"

#include <windows.h>

#include <sstream>

#include "app/sync_report.h"

namespace {

constexpr char kUsage[] = "Aufruf: quendel.exe [/sync | /query] [/quiet]";
constexpr UINT kPauseMs = 400;  // between attempts; no window waits for us
constexpr __int64 kAgreeTicks = static_cast<__int64>(quendel::kTicksPerSecond);  // a second server's leeway

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

CommandLine ParseCommandLine(const std::string& arguments) {
    CommandLine command;
    std::istringstream words(arguments);
    for (std::string word; words >> word;) {
        const std::string name = Lower(word.size() > 1 && (word[0] == '/' || word[0] == '-') ? word.substr(1) : "");
        bool* flag = name == "sync" ? &command.sync : name == "query" ? &command.query : name == "quiet" ? &command.quiet
                                                                                                       : nullptr;
        if (flag != nullptr) *flag = true;
        else if (command.error.empty()) command.error = "Unbekannter Schalter \x84" + word + "\x93.\n" + kUsage;
    }
    if (!command.error.empty()) return command;  // /quiet still counts
    if (command.sync && command.query) command.error = std::string("/sync und /query schlie\xDF" "en sich aus.\n") + kUsage;
    else if (command.quiet && !command.sync && !command.query) command.error = std::string("/quiet nur mit /sync oder /query.\n") + kUsage;
    return command;
}

int RunCommandLine(const CommandLine& command, const sync_session::Show& show, void (*write)(const std::string&)) {
    const sync_session::Show box = command.quiet ? sync_session::Show() : show;
    if (!command.error.empty()) {
        if (write) write(command.error);
        if (box) box(command.error, MB_OK | MB_ICONERROR);
        return sync_session::kExitBadCommandLine;
    }
    quendel::SyncAttempts attempts(sync_session::ServersToAsk());
    for (;;) {
        quendel::SntpSample sample;
        std::string address;
        const quendel::SntpStatus status = quendel::QueryTimeServer(attempts.Server(), NULL, sample, address);
        if (status == quendel::SntpStatus::kAnswer) {
            // A second server of the list, any that answers, agreeing within a second.
            const auto confirm = [&attempts](const quendel::SntpSample& first) {
                for (std::size_t i = 0; i < attempts.Servers().size(); ++i) {
                    quendel::SntpSample other;
                    std::string at;
                    if (i == attempts.Next() ||
                        quendel::QueryTimeServer(attempts.Servers()[i], NULL, other, at, &attempts.RefusedAddresses()) !=
                            quendel::SntpStatus::kAnswer)
                        continue;
                    const __int64 apart = other.offset - first.offset;
                    if (apart <= kAgreeTicks && apart >= -kAgreeTicks) return true;
                }
                return false;
            };
            const sync_session::Conclusion done =
                sync_session::Conclude(command.sync ? sync_session::Mode::kSync : sync_session::Mode::kQuery, sample,
                                       attempts.Server(), address, box, confirm);
            if (write) write(done.lines);
            return done.exit;
        }
        if (!attempts.Record(status, address)) break;
        Sleep(kPauseMs);
    }
    const std::string failure = sync_text::Failure(attempts.LastServer(), attempts.Last(), attempts.Made());
    if (write) write(failure);
    if (box) box(failure, MB_OK | MB_ICONWARNING);
    return sync_session::FailureExit(attempts.Last());
}

void WriteToConsole(const std::string& lines) {
    const std::string text = lines + "\r\n";
    std::string crlf;  // the console's and a redirected file's line ends
    for (char c : text) crlf += c == '\n' && (crlf.empty() || crlf.back() != '\r') ? std::string("\r\n") : std::string(1, c);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);  // borrowed
    DWORD written = 0;
    // Redirected (a file or a pipe): the program's own code page, as written.
    if (out != NULL && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_CHAR) {
        WriteFile(out, crlf.data(), static_cast<DWORD>(crlf.size()), &written, NULL);
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started without a console
    HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (console != INVALID_HANDLE_VALUE) {
        // Through UTF-16, so that umlauts come out right in any console code page.
        std::wstring wide(crlf.size() + 1, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, crlf.c_str(), static_cast<int>(crlf.size()), &wide[0],
                                        static_cast<int>(wide.size())));
        WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written, NULL);
        CloseHandle(console);
    }
    FreeConsole();
}
