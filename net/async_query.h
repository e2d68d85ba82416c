// A time server asked on a thread of its own, so that a window stays responsive: the
// window learns of the end through a posted message and then reads the result.
//
//   m_query.Start(server, Handle(), WM_APP_SYNC_DONE);
//   ... on WM_APP_SYNC_DONE: if (m_query.Status() == SntpStatus::kAnswer) use m_query.Sample();
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "net/sntp.h"

namespace quendel {

class AsyncTimeQuery {
public:
    AsyncTimeQuery() = default;
    ~AsyncTimeQuery() { Abandon(); }
    AsyncTimeQuery(const AsyncTimeQuery&) = delete;
    AsyncTimeQuery& operator=(const AsyncTimeQuery&) = delete;

    // Asks server (QueryTimeServer, passing over the refused addresses); at the end posts
    // message to window (borrowed). False when no thread could be started. A question still
    // running is abandoned first.
    bool Start(const TimeServer& server, HWND window, UINT message,
               const std::vector<std::string>& refused = std::vector<std::string>());
    // Ends a running question: it is cancelled, posts nothing, and its thread ends by itself.
    void Abandon();
    bool Running() const { return m_state != nullptr; }

    // The result, valid after the message (kCancelled before).
    SntpStatus Status() const;
    const SntpSample& Sample() const;
    const std::string& Address() const;
    // Takes the finished result and ends Running().
    void Finish();

private:
    struct State;
    std::shared_ptr<State> m_state;
    SntpStatus m_status = SntpStatus::kCancelled;
    SntpSample m_sample;
    std::string m_address;
};

}  // namespace quendel
