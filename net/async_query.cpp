#include "net/async_query.h"

#include <mutex>
#include <system_error>
#include <thread>

#include "net/handles.h"

namespace quendel {

// Shared by the window's side and the thread: whichever lets go last frees it.
struct AsyncTimeQuery::State {
    TimeServer server;
    std::vector<std::string> refused;
    HWND window = NULL;
    UINT message = 0;
    UniqueEvent cancel{CreateEventA(NULL, TRUE, FALSE, NULL)};
    std::mutex lock;
    bool abandoned = false;
    bool done = false;
    SntpStatus status = SntpStatus::kCancelled;
    SntpSample sample;
    std::string address;
};

bool AsyncTimeQuery::Start(const TimeServer& server, HWND window, UINT message, const std::vector<std::string>& refused) {
    Abandon();
    auto state = std::make_shared<State>();
    if (!state->cancel.Valid()) return false;
    state->server = server, state->refused = refused, state->window = window, state->message = message;
    try {
        std::thread([state] {
            SntpSample sample;
            std::string address;
            const SntpStatus status = QueryTimeServer(state->server, state->cancel.Get(), sample, address, &state->refused);
            const std::lock_guard<std::mutex> hold(state->lock);
            state->status = status, state->sample = sample, state->address = address, state->done = true;
            if (!state->abandoned) PostMessageA(state->window, state->message, 0, 0);
        }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    m_state = state;
    return true;
}

void AsyncTimeQuery::Abandon() {
    if (!m_state) return;
    {
        const std::lock_guard<std::mutex> hold(m_state->lock);
        m_state->abandoned = true;
    }
    SetEvent(m_state->cancel.Get());
    m_state.reset();
}

void AsyncTimeQuery::Finish() {
    m_status = SntpStatus::kCancelled;  // no question: nothing came
    if (!m_state) return;
    {
        const std::lock_guard<std::mutex> hold(m_state->lock);
        m_status = m_state->done ? m_state->status : SntpStatus::kCancelled;
        m_sample = m_state->sample;
        m_address = m_state->address;
        m_state->abandoned = true;
    }
    m_state.reset();  // the thread keeps its own reference until it has ended
}

SntpStatus AsyncTimeQuery::Status() const { return m_status; }
const SntpSample& AsyncTimeQuery::Sample() const { return m_sample; }
const std::string& AsyncTimeQuery::Address() const { return m_address; }

}  // namespace quendel
