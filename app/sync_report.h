// The texts of the time synchronisation: the question before a large step, the result box
// after an answer, the failure box after the last attempt. Pure functions; German,
// Windows-1252.
#pragma once

#include <windows.h>

#include <string>

#include "net/sntp.h"

namespace sync_text {

constexpr char kCaption[] = "Internet-Sync";
constexpr char kAskElevation[] = "Mit Administratorrechten stellen?";
// The reason of an unattended sync for a step over an hour that no second server confirmed
// (an application's error code: the customer bit set).
constexpr DWORD kUnconfirmedStep = 0x20000001;

// Seconds with sign and milliseconds, rounded: 1234567 ticks -> "+0,123".
std::string Seconds(__int64 ticks);
// A span in all four units, of its amount: "1 Tag, 2 Stunden, 0 Minuten und 5 Sekunden".
std::string Span(__int64 ticks);
// "Die PC-Uhr weicht um <span> von der Zeit des Servers ab ..." ending "Trotzdem stellen?".
std::string Confirmation(__int64 offset);
// "Fehler <code>: <the system's text>" of a system error code.
std::string SystemError(DWORD error);
// Why the setter refused (or kUnconfirmedStep's sentence): the privilege's own sentence, or
// the system's code.
std::string SetterReason(DWORD error);
// The result box: its first line says whether the clock was set (error 0), was not
// (the reason), or was only measured (measuredOnly); then server, offset, delay, stratum.
std::string Result(DWORD error, bool measuredOnly, const quendel::TimeServer& server, const std::string& address,
                   const quendel::SntpSample& sample);
// The failure box: the server, the reason of the last attempt, the attempts made.
std::string Failure(const quendel::TimeServer& server, quendel::SntpStatus status, int attempts);

}  // namespace sync_text
