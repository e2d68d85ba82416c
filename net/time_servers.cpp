// The user's list of time servers: names or addresses with optional ports, blank-separated.
#include <algorithm>
#include <cstdlib>

#include "net/sntp.h"

namespace quendel {

namespace {

bool IsDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A host name of RFC 1123: labels of letters, digits and hyphens (1 to 63, no hyphen at
// either end), 253 characters at most; all-numeric names must be dotted IPv4 addresses.
bool IsHostName(const std::string& host) {
    if (host.empty() || host.size() > 253) return false;
    std::size_t labels = 0, numericLabels = 0;
    bool bytes = true;  // every numeric label fits a byte
    for (std::size_t start = 0; start <= host.size(); ++labels) {
        const std::size_t dot = std::min(host.find('.', start), host.size());
        const std::string label = host.substr(start, dot - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
        for (char c : label)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'))
                return false;
        if (IsDigits(label)) ++numericLabels, bytes = bytes && label.size() <= 3 && std::atoi(label.c_str()) <= 255;
        start = dot + 1;
    }
    // 192.0.2.7: four numbers of at most 255.
    return numericLabels < labels || (labels == 4 && bytes);
}

// An IPv6 address as text: hexadecimal groups and colons (an IPv4 tail allowed), at most
// 45 characters; the resolver has the last word.
bool IsIpv6(const std::string& text) {
    if (text.size() < 2 || text.size() > 45) return false;
    int colons = 0;
    for (char c : text) {
        if (c == ':') ++colons;
        else if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.'))
            return false;
    }
    return colons >= 2 && colons <= 7;
}

// "" or why the entry is no server.
std::string ReadEntry(const std::string& entry, TimeServer& server) {
    std::string host = entry, port;
    if (entry.front() == '[') {
        const std::size_t close = entry.find(']');
        if (close == std::string::npos) return "die schlie\xDF" "ende Klammer fehlt";
        host = entry.substr(1, close - 1);
        const std::string rest = entry.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return "nach der Klammer darf nur :Port folgen";
        if (!rest.empty()) port = rest.substr(1), port = port.empty() ? "-" : port;
        if (!IsIpv6(host)) return "keine IPv6-Adresse";
    } else if (entry.find(':') != entry.rfind(':')) {
        if (!IsIpv6(entry)) return "keine IPv6-Adresse";  // bare IPv6: no port
    } else if (entry.find(':') != std::string::npos) {
        host = entry.substr(0, entry.find(':'));
        port = entry.substr(entry.find(':') + 1);
        if (port.empty()) port.assign(1, '-');
    }
    if (host.find(':') == std::string::npos && !IsHostName(host)) return "kein g\xFCltiger Name und keine Adresse";
    server.host = host;
    server.port = kNtpPort;
    if (!port.empty()) {
        if (!IsDigits(port) || port.size() > 5 || std::atol(port.c_str()) < 1 || std::atol(port.c_str()) > 65535)
            return "der Port muss eine Zahl von 1 bis 65535 sein";
        server.port = static_cast<unsigned short>(std::atol(port.c_str()));
    }
    return "";
}

}  // namespace

std::string TimeServer::Text() const {
    const std::string name = host.find(':') != std::string::npos && port != kNtpPort ? "[" + host + "]" : host;
    return port == kNtpPort ? name : name + ":" + std::to_string(port);
}

std::string ParseTimeServers(const std::string& text, std::vector<TimeServer>& servers) {
    constexpr std::size_t kMost = 16;
    std::vector<TimeServer> read;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = text.find_first_not_of(" \t\r\n", at);
        if (start == std::string::npos) break;
        const std::size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        const std::string entry = text.substr(start, end - start);
        TimeServer server;
        const std::string why = ReadEntry(entry, server);
        // append, not operator+ on a literal: GCC 12 warns falsely (-Wrestrict) on its inlined copy.
        if (!why.empty()) return std::string("\x84").append(entry).append("\x93 ist kein Zeitserver: ").append(why) + ".";
        read.push_back(server);
        at = end;
    }
    if (read.empty()) return "Bitte mindestens einen Zeitserver angeben.";
    if (read.size() > kMost) return std::string("H\xF6" "chstens ").append(std::to_string(kMost)).append(" Zeitserver angeben.");
    servers = read;
    return "";
}

std::vector<TimeServer> DefaultTimeServers() {
    std::vector<TimeServer> servers;
    ParseTimeServers(kDefaultTimeServers, servers);
    return servers;
}

}  // namespace quendel
