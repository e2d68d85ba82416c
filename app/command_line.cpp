#include "app/command_line.h"

#include <windows.h>

#include <algorithm>
#include <sstream>

#include "app/sync_report.h"
#include "app/timestamp_input.h"

namespace {

constexpr char kUsage[] =
    "Aufruf: quendel.exe [/sync | /query] [/quiet]\n"
    "        quendel.exe /convert WERT... | - [/zone SCHL\xDC" "SSEL] [/quiet]";
constexpr UINT kPauseMs = 400;  // between attempts; no window waits for us
constexpr __int64 kAgreeTicks = static_cast<__int64>(quendel::kTicksPerSecond);  // a second server's leeway

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Words separated by blanks; double quotes group blanks into a word, \" is a quote.
std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '"') word += '"', ++i, any = true;
        else if (c == '"') quoted = !quoted, any = true;
        else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) words.push_back(word);
            word.clear(), any = false;
        } else word += c, any = true;
    }
    if (any) words.push_back(word);
    return words;
}

// The console of the process that started this one, for a moment. AttachConsole fills in the
// standard handles that were empty and FreeConsole closes them without clearing them: a later
// look would find closed handles and take them for redirected output, so they are put back.
class ParentConsole {
public:
    ParentConsole() : m_attached(AttachConsole(ATTACH_PARENT_PROCESS) != FALSE) {}
    ~ParentConsole() {
        if (!m_attached) return;
        FreeConsole();
        for (int i = 0; i < 3; ++i) SetStdHandle(kStd[i], m_saved[i]);
    }
    ParentConsole(const ParentConsole&) = delete;
    ParentConsole& operator=(const ParentConsole&) = delete;
    bool Attached() const { return m_attached; }

private:
    static constexpr DWORD kStd[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    // Declared first: read before the constructor attaches. Borrowed.
    HANDLE m_saved[3] = {GetStdHandle(kStd[0]), GetStdHandle(kStd[1]), GetStdHandle(kStd[2])};
    bool m_attached;
};

}  // namespace

CommandLine ParseCommandLine(const std::string& arguments) {
    CommandLine command;
    const std::vector<std::string> words = SplitWords(arguments);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        // After /convert only '/' starts a switch: "-1.25" and "-" are values.
        const bool switchLike = word.size() > 1 && (word[0] == '/' || (word[0] == '-' && !command.convert));
        const std::string name = Lower(switchLike ? word.substr(1) : "");
        bool* flag = name == "sync" ? &command.sync : name == "query" ? &command.query : name == "quiet" ? &command.quiet
                   : name == "convert" ? &command.convert : nullptr;
        if (flag != nullptr) *flag = true;
        else if (name == "zone" && i + 1 < words.size() && !words[i + 1].empty()) command.zone = words[++i];
        else if (name == "zone" && command.error.empty()) command.error = std::string("/zone ohne Zeitzone.\n") + kUsage;
        else if (command.convert && !switchLike) command.values.push_back(word);
        else if (command.error.empty()) command.error = "Unbekannter Schalter \x84" + word + "\x93.\n" + kUsage;
    }
    if (!command.error.empty()) return command;  // /quiet still counts
    if (command.sync && command.query) command.error = std::string("/sync und /query schlie\xDF" "en sich aus.\n") + kUsage;
    else if (command.convert && (command.sync || command.query))
        command.error = std::string("/convert nicht mit /sync oder /query.\n") + kUsage;
    else if (command.convert && command.values.empty()) command.error = std::string("/convert ohne Wert.\n") + kUsage;
    else if (!command.zone.empty() && !command.convert) command.error = std::string("/zone nur mit /convert.\n") + kUsage;
    else if (command.quiet && !command.sync && !command.query && !command.convert)
        command.error = std::string("/quiet nur mit /sync, /query oder /convert.\n") + kUsage;
    return command;
}

int RunCommandLine(const CommandLine& command, const sync_session::Show& show, void (*write)(const std::string&)) {
    const sync_session::Show box = command.quiet ? sync_session::Show() : show;
    if (!command.error.empty()) {
        if (write) write(command.error);
        // A box only where nobody reads the output: a start from Explorer or a shortcut.
        if (box && !command.console) box(command.error, MB_OK | MB_ICONERROR);
        return sync_session::kExitBadCommandLine;
    }
    if (command.convert) {
        if (!command.zone.empty() && !C_Time::SetLocTimeZoneByKeyName(command.zone.c_str())) {
            const std::string error = "Unbekannte Zeitzone \x84" + command.zone + "\x93.\n" + kUsage;
            if (write) write(error);
            if (box && !command.console) box(error, MB_OK | MB_ICONERROR);
            return sync_session::kExitBadCommandLine;
        }
        std::string input;
        if (command.values.size() == 1 && command.values[0] == "-" && !ReadStandardInput(input)) {
            const std::string error = std::string("/convert - ohne Standardeingabe: die Werte mit \x84< DATEI\x93 oder "
                                                  "\x84|\x93 zuleiten.\n") + kUsage;
            if (write) write(error);
            if (box && !command.console) box(error, MB_OK | MB_ICONERROR);
            return sync_session::kExitBadCommandLine;
        }
        return RunConvert(command.values, input, write);
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
    const ParentConsole parent;
    if (!parent.Attached()) return;  // started without a console
    HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (console != INVALID_HANDLE_VALUE) {
        // Through UTF-16, so that umlauts come out right in any console code page.
        std::wstring wide(crlf.size() + 1, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, crlf.c_str(), static_cast<int>(crlf.size()), &wide[0],
                                        static_cast<int>(wide.size())));
        WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written, NULL);
        CloseHandle(console);
    }
}

int RunConvert(const std::vector<std::string>& values, const std::string& input, void (*write)(const std::string&)) {
    std::vector<std::string> texts = values;
    if (values.size() == 1 && values[0] == "-") {
        texts.clear();
        // Notepad's UTF-8 begins with a byte-order mark: no part of the first value.
        std::istringstream lines(input.compare(0, 3, "\xEF\xBB\xBF") == 0 ? input.substr(3) : input);
        for (std::string line; std::getline(lines, line);) texts.push_back(line);
    }
    int exit = 0;
    std::string out;
    for (const std::string& text : texts) {
        const std::vector<StampChoice> choices = ReadStampChoices(text);
        // A blank line keeps its (empty) block, so that output stays beside input, but gave no value.
        if (choices.empty() && text.find_first_not_of(" \t\f\v") != std::string::npos) exit = kExitNoReading;
        for (const StampChoice& c : choices)
            out += std::string(quendel::stamp::FormInfo(c.form).token) + ";" + UtcIso(c) + ";" + LocalIso(c) + "\n";
        out += "\n";
    }
    if (write && !out.empty()) write(out.substr(0, out.size() - 1));  // WriteToConsole ends the last line
    return exit;
}

bool OutputReachesConsole() {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);  // borrowed
    if (out != NULL && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) return true;
    return ParentConsole().Attached();
}

bool ReadStandardInput(std::string& text) {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);  // borrowed
    text.clear();
    if (in == NULL || in == INVALID_HANDLE_VALUE ||
        (GetFileType(in) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR))
        return false;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(in, buffer, sizeof buffer, &read, NULL) && read > 0) text.append(buffer, read);
    // In one pass: erasing each CR where it stands would take quadratic time on a large file.
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return true;
}
