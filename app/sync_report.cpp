#include "app/sync_report.h"

#include <cstdio>

namespace sync_text {

namespace {

unsigned __int64 Amount(__int64 ticks) {  // |ticks|, also of the most negative value
    return ticks < 0 ? 0u - static_cast<unsigned __int64>(ticks) : static_cast<unsigned __int64>(ticks);
}

std::string Count(unsigned __int64 n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string Seconds(__int64 ticks) {
    const unsigned __int64 ms = (Amount(ticks) + quendel::kTicksPerMillisecond / 2) / quendel::kTicksPerMillisecond;
    char text[40];
    std::snprintf(text, sizeof text, "%c%llu,%03u", ticks < 0 ? '-' : '+', static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned>(ms % 1000));
    return text;
}

std::string Span(__int64 ticks) {
    const unsigned __int64 s = (Amount(ticks) + quendel::kTicksPerSecond / 2) / quendel::kTicksPerSecond;
    return Count(s / 86400, "Tag", "Tage") + ", " + Count(s / 3600 % 24, "Stunde", "Stunden") + ", " +
           Count(s / 60 % 60, "Minute", "Minuten") + " und " + Count(s % 60, "Sekunde", "Sekunden");
}

std::string Confirmation(__int64 offset) {
    return "Die PC-Uhr weicht um " + Span(offset) + " von der Zeit des Servers ab (sie geht " +
           (offset > 0 ? "nach" : "vor") + ").\n\nTrotzdem stellen?";
}

std::string SystemError(DWORD error) {
    char system[256] = "";
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, system,
                       sizeof system, NULL) == 0)
        system[0] = '\0';
    std::string why = system;
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' ' || why.back() == '.'))
        why.pop_back();
    return "Fehler " + std::to_string(error) + (why.empty() ? "" : ": " + why);
}

std::string SetterReason(DWORD error) {
    if (error == ERROR_PRIVILEGE_NOT_HELD) return "Windows erlaubt diesem Benutzer nicht, die Uhr zu stellen.";
    if (error == kUnconfirmedStep) return "Abweichung \xFC" "ber 1 Stunde, von keinem zweiten Server best\xE4tigt.";
    return "Windows hat die Zeit nicht angenommen (" + SystemError(error) + ").";
}

std::string Result(DWORD error, bool measuredOnly, const quendel::TimeServer& server, const std::string& address,
                   const quendel::SntpSample& sample) {
    const __int64 delayMs =
        sample.delay <= 0 ? 0 : (sample.delay + static_cast<__int64>(quendel::kTicksPerMillisecond / 2)) / 10000;
    std::string text = measuredOnly ? "Die PC-Uhr wurde nicht gestellt: nur gemessen (/query)."
                       : error == 0 ? "Die PC-Uhr wurde gestellt."
                                    : "Die PC-Uhr wurde nicht gestellt: " + SetterReason(error);
    text += "\nServer: " + server.Text() + " (" + address + ")";
    text += "\nAbweichung: " + Seconds(sample.offset) + " s";
    text += "\nLaufzeit: " + std::to_string(delayMs) + " ms";
    text += "\nStratum: " + std::to_string(sample.stratum);
    return text;
}

std::string Failure(const quendel::TimeServer& server, quendel::SntpStatus status, int attempts) {
    std::string reason;
    switch (status) {
    case quendel::SntpStatus::kUnresolvable:
        reason = "Servername nicht aufl\xF6sbar";
        break;
    case quendel::SntpStatus::kInvalid:
        reason = "Ung\xFCltige Antwort";
        break;
    case quendel::SntpStatus::kKissOfDeath:
        reason = "Der Server verweigert weitere Anfragen";
        break;
    default:
        reason = "Keine Antwort (UDP-Port " + std::to_string(server.port) + " in der Firewall freigegeben?)";
        break;
    }
    return "Keine Zeit vom Server erhalten.\nServer: " + server.Text() + "\nGrund: " + reason +
           "\nVersuche: " + std::to_string(attempts);
}

}  // namespace sync_text
