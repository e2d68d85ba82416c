// The "Internet-Sync " button of the main dialog against a loopback time server.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/converter_dlg.h"
#include "app/resource_ids.h"
#include "net/loopback.h"
#include "net/sntp.h"
#include "timelib/locale_scope.h"
#include "timelib/test_zones.h"
#include "timelib/time_source.h"
#include "timelib/user_zone_scope.h"

namespace {

using loopback::Bytes;

// 24 December 2003, 12:00 UTC: the dialog's present moment, held still.
constexpr unsigned __int64 kNow = 127167408000000000ull;
void FakeClock(FILETIME* now) { C_Time(kNow).GetFileTime(now); }
// The server's time: 2026-12-06 12:00:05.250 UTC (NTP seconds 0xEEBFCCC5, fraction 2^30).
constexpr unsigned __int64 kServer = 134410320052500000ull;

Bytes Answer(const Bytes& request) {
    Bytes reply(48, 0);
    reply[0] = 0x24;  // version 4, server
    reply[1] = 1;
    std::memcpy(&reply[24], &request[40], 8);
    const unsigned char stamp[8] = {0xEE, 0xBF, 0xCC, 0xC5, 0x40, 0x00, 0x00, 0x00};
    std::memcpy(&reply[32], stamp, 8);
    std::memcpy(&reply[40], stamp, 8);
    return reply;
}

std::vector<SYSTEMTIME> g_clockSet;
BOOL WINAPI RecordingSetter(const SYSTEMTIME* utc) {
    g_clockSet.push_back(*utc);
    return TRUE;
}

class SyncDialog : public ::testing::Test {
protected:
    void SetUp() override {
        locale.German();
        previousClock = quendel::SetClockSource(FakeClock);
        TIME_ZONE_INFORMATION berlin = test_zones::WEurope();
        C_Time::SetLocTimeZoneInfo(&berlin);
        g_clockSet.clear();
    }
    void TearDown() override {
        dialog.reset();
        quendel::SetSyncSettings(previousSettings);
        quendel::SetClockSource(previousClock);
    }
    void Open(unsigned short port) {
        previousSettings = quendel::SetSyncSettings(quendel::SyncSettings{"127.0.0.1", port, RecordingSetter});
        dialog = std::make_unique<C_ConverterDlg>(IDD_CONVERTER_SIMPLE);
        ASSERT_TRUE(dialog->Create());
    }
    void Click() {
        SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDC_SYNC, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog->Handle(), IDC_SYNC)));
    }
    void Tick() { SendMessageA(dialog->Handle(), WM_TIMER, 14, 0); }

    LocaleScope locale;
    UserZoneScope zoneScope;
    quendel::ClockSource previousClock = nullptr;
    quendel::SyncSettings previousSettings;
    std::unique_ptr<C_ConverterDlg> dialog;
};

}  // namespace

TEST_F(SyncDialog, AnswerSetsTheClockAndShowsTheServersTime) {
    loopback::UdpResponder responder(Answer);
    ASSERT_TRUE(responder.Ready());
    Open(responder.Port());
    const std::string clockBefore = dialog->m_clockLabel.GetText();
    Click();
    EXPECT_EQ(responder.Requests(), 1);
    EXPECT_EQ(dialog->m_time.GetTimeUTC(), kServer);
    ASSERT_EQ(g_clockSet.size(), 1u);
    EXPECT_EQ(g_clockSet[0].wYear, 2026);
    EXPECT_EQ(g_clockSet[0].wMonth, 12);
    EXPECT_EQ(g_clockSet[0].wDay, 6);
    EXPECT_EQ(g_clockSet[0].wHour, 12);
    EXPECT_EQ(g_clockSet[0].wSecond, 5);
    EXPECT_EQ(g_clockSet[0].wMilliseconds, 250);
    // The display shows the new point (13:00:05 in W. Europe) and the clock text again.
    EXPECT_NE(dialog->m_localText.find("06.12.2026"), std::string::npos) << dialog->m_localText;
    EXPECT_EQ(dialog->m_clockLabel.GetText(), clockBefore);
}

// Three attempts of about 3.4 s each; "Fehler!!" stays through the clock's ticks.
TEST_F(SyncDialog, SilentServerLeavesFehlerStanding) {
    loopback::UdpResponder silent([](const Bytes&) { return Bytes(); });
    ASSERT_TRUE(silent.Ready());
    Open(silent.Port());
    const C_Time before = dialog->m_time;
    Click();
    EXPECT_EQ(silent.Requests(), 3);
    EXPECT_EQ(dialog->m_clockLabel.GetText(), "Fehler!!");
    Tick();
    EXPECT_EQ(dialog->m_clockLabel.GetText(), "Fehler!!");
    EXPECT_TRUE(g_clockSet.empty());
    EXPECT_EQ(dialog->m_time, before);
    dialog->Refresh();  // the next refresh brings the clock back
    EXPECT_NE(dialog->m_clockLabel.GetText(), "Fehler!!");
}
