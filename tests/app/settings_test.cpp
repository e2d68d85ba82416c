// The settings dialog and the stored server list; the command line's runs and exit codes, in
// this process against a loopback server with the clock setter recorded (tests/data/app_settings.tsv
// and app_command_line.tsv).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "app/command_line.h"
#include "app/federal_states.h"
#include "app/resource_ids.h"
#include "app/settings_dlg.h"
#include "app/settings_store.h"
#include "net/loopback.h"
#include "support/data_table.h"
#include "timelib/time_source.h"

namespace {

std::string g_log, g_set;
std::atomic<unsigned __int64> g_now;  // moved on by a "slow" server's thread
void StillClock(FILETIME* now) { const unsigned __int64 t = g_now; *now = FILETIME{DWORD(t), DWORD(t >> 32)}; }
BOOL WINAPI RecordingSetter(const SYSTEMTIME* utc) {
    FILETIME set;
    SystemTimeToFileTime(utc, &set);
    g_set = std::to_string(C_Time(set).GetTimeUTC());
    SetLastError(g_now < 130000000000000000 ? 0 : ERROR_PRIVILEGE_NOT_HELD);  // 2012 on: refused
    return g_now < 130000000000000000;
}
void Store(const std::string& value) {  // "-" none, "dword" a number, else the text
    RegDeleteKeyValueA(HKEY_CURRENT_USER, settings::kKey, "Zeitserver");
    const DWORD number = 5;
    if (value == "dword") RegSetKeyValueA(HKEY_CURRENT_USER, settings::kKey, "Zeitserver", REG_DWORD, &number, 4);
    else if (value != "-") settings::Write("Zeitserver", value);
}
std::string Stored() {
    std::string value;
    return settings::Read("Zeitserver", value) ? value : "-";
}
std::string Servers() {
    std::string text;
    for (const quendel::TimeServer& server : sync_session::ServersToAsk()) text.append(text.empty() ? "" : " ").append(server.Text());
    return text;
}

struct Settings : C_SettingsDlg {
    int ShowMessage(const char* text, const char*, UINT) const override { return g_log += text, IDOK; }
};

}  // namespace

TEST(Settings, ServerListEditedCheckedAndStored) {
    for (const data_table::Row& row : data_table::Read("app_settings.tsv")) {  // stored, typed, button, ...
        Store(row[0]);
        Settings dialog;
        ASSERT_TRUE(dialog.Create());
        const std::string shown = dialog.GetItemText(IDC_SERVERS);
        if (row[1] != "-") dialog.SetItemText(IDC_SERVERS, row[1]);
        const int button = row[2] == "ok" ? IDOK : row[2] == "cancel" ? IDCANCEL : IDC_SERVERS_DEFAULT;
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        const std::string after = dialog.Handle() ? dialog.GetItemText(IDC_SERVERS) + " (open)" : "closed";
        // Joined by append: operator+ chains here draw a false -Wrestrict from GCC 12.
        std::string got = shown, want = row[3];
        for (const std::string& part : {std::exchange(g_log, ""), after, Stored(), Servers()}) got.append(" | ").append(part);
        for (int i = 4; i <= 7; ++i) want.append(" | ").append(row[i]);
        EXPECT_EQ(got, want) << row[0] << ", " << row[1];
    }
    Store("-");
}

TEST(Settings, BundeslandListedChosenAndStored) {
    for (const data_table::Row& row : data_table::Read("app_settings_state.tsv")) {  // stored, picked, button, shown, after
        RegDeleteKeyValueA(HKEY_CURRENT_USER, settings::kKey, "Bundesland");
        if (row[0] != "-") settings::Write("Bundesland", row[0]);
        Settings dialog;
        ASSERT_TRUE(dialog.Create());
        const HWND list = dialog.Item(IDC_STATE);
        char shown[64] = "", entry[64];
        GetWindowTextA(list, shown, sizeof shown);
        for (const data_table::Row& state : data_table::Read("app_states.tsv"))  // all, in the table's order
            if (SendMessageA(list, CB_GETLBTEXT, std::stoi(state[0]), LPARAM(entry)) >= 0) { EXPECT_EQ(entry, state[2]); }
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), kStateCount);
        if (row[1] != "-") SendMessageA(list, CB_SELECTSTRING, WPARAM(-1), LPARAM(row[1].c_str()));
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(row[2] == "ok" ? IDOK : IDCANCEL, BN_CLICKED), 0);
        std::string after = "-";
        settings::Read("Bundesland", after);
        EXPECT_EQ(std::string(shown) + " | " + after, row[3] + " | " + row[4]) << row[0] << ", " << row[1];
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, settings::kKey, "Bundesland");
    Store("-");
}

TEST(CommandLine, RunsToItsExitCode) {
    quendel::SetClockSource(StillClock);
    for (const data_table::Row& row : data_table::Read("app_command_line.tsv")) {  // args, servers, clock, exit, lines
        std::vector<std::unique_ptr<loopback::UdpResponder>> servers;  // "answer+late": a second server, 2 s later
        std::vector<quendel::TimeServer> list;
        std::istringstream kinds(row[1]);
        for (std::string kind; std::getline(kinds, kind, '+');) {
            servers.push_back(std::make_unique<loopback::UdpResponder>([kind](const loopback::Bytes& request) {
                loopback::Bytes reply(kind == "silent" ? 0 : 48, 0);
                if (reply.empty()) return reply;
                reply[0] = 0x24, reply[1] = kind == "kiss" ? 0 : 1;  // version 4, server; stratum
                std::memcpy(&reply[24], &request[40], 8);
                if (kind == "slow") g_now += 20000000;  // 2 s there and back, agreeing: its time 1 s on
                for (int at : {32, 40})  // 2026-12-06 12:00:05.250 (late: 12:00:07.250, slow: 12:00:06.250)
                    std::memcpy(&reply[at], "\xEE\xBF\xCC\xC5\x40\0\0\0", 8), reply[at + 3] += kind == "late" ? 2 : kind == "slow";
                return reply;
            }));
            list.push_back({"127.0.0.1", servers.back()->Port()});
        }
        const sync_session::Hooks previous = sync_session::SetHooks(
            {RecordingSetter, [] { return false; }, [](const char*) { return DWORD(ERROR_CANCELLED); }, list});
        g_now = data_table::Uint(row[2]), g_set = "none";
        const int exit = RunCommandLine(ParseCommandLine(row[0]), [](const std::string& text, UINT) {
            return g_log += "[box] " + text + ";", IDYES; }, [](const std::string& lines) { g_log += lines + ";"; });
        sync_session::SetHooks(previous);
        std::string log = std::exchange(g_log, "");
        for (const quendel::TimeServer& server : list)
            for (std::size_t at; (at = log.find(std::to_string(server.port))) != std::string::npos;)
                log.replace(at, std::to_string(server.port).size(), "<port>");
        EXPECT_EQ(std::to_string(exit) + " | " + g_set + " | " + log, row[3] + " | " + row[4] + " | " + row[5]) << row[0];
    }
    quendel::SetClockSource(nullptr);
}
