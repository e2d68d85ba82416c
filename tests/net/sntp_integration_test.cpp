// SntpQuery against a real NTP server on loopback; scripts/ntp-integration.sh starts one
// (chronyd serving this machine's clock) and passes its port in QUENDEL_NTP_PORT.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "net/sntp.h"

TEST(RealNtpServer, AnswersWithThisMachinesTime) {
    const char* port = std::getenv("QUENDEL_NTP_PORT");
    if (port == nullptr) GTEST_SKIP() << "no server: run scripts/ntp-integration.sh";
    C_Time result;
    quendel::SntpStatus status = quendel::SntpStatus::kNoAnswer;
    ASSERT_TRUE(quendel::SntpQuery("127.0.0.1", static_cast<unsigned short>(std::atoi(port)), result, &status));
    EXPECT_EQ(status, quendel::SntpStatus::kAnswer);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);  // the clock the server serves
    const unsigned __int64 ticks = (static_cast<unsigned __int64>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const __int64 difference = static_cast<__int64>(ticks - result.GetTimeUTC());
    std::printf("server time - local time: %.3f ms\n", static_cast<double>(-difference) / 10000.0);
    EXPECT_LT(difference < 0 ? -difference : difference, 2 * 10000);  // 2 ms
}
