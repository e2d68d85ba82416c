// The "Internet-Sync " button: the PC clock and the point shown from the time servers.
#include "app/converter_dlg.h"
#include "app/sync_report.h"
#include "app/sync_session.h"

namespace {
constexpr UINT kPauseMs = 400;  // between attempts
}  // namespace

void C_ConverterDlg::OnInternetSync() {
    if (SyncRunning()) return;
    m_sync = std::make_unique<quendel::SyncAttempts>(sync_session::ServersToAsk());
    AskTimeServer();
}

void C_ConverterDlg::AskTimeServer() {
    ShowSyncStatus("warten ...");
    if (m_syncQuery.Start(m_sync->Server(), Handle(), WM_APP_SYNC_DONE, m_sync->RefusedAddresses())) return;
    // No thread to be had: the attempt counts as unanswered.
    PostMessageA(Handle(), WM_APP_SYNC_DONE, 0, 0);
}

void C_ConverterDlg::OnTimeServerDone() {
    if (!SyncRunning()) return;  // a late message of an ended sync
    m_syncQuery.Finish();
    const quendel::SntpStatus status = m_syncQuery.Status();
    if (status == quendel::SntpStatus::kAnswer) {
        const quendel::TimeServer server = m_sync->Server();
        EndSync();
        const sync_session::Conclusion done = sync_session::Conclude(
            sync_session::Mode::kDialog, m_syncQuery.Sample(), server, m_syncQuery.Address(),
            [this](const std::string& text, UINT type) { return ShowMessage(text.c_str(), sync_text::kCaption, type); });
        UpdateClock();
        if (done.declined) return;  // the clock and the point stay
        SetPoint(done.time);
        Refresh();
        return;
    }
    // "Fehler!!" stands through the pause and while the box tells why; then the clock ticks again.
    ShowSyncStatus("Fehler!!");
    const bool again = m_sync->Record(status == quendel::SntpStatus::kCancelled ? quendel::SntpStatus::kNoAnswer
                                                                                : status,
                                    m_syncQuery.Address());
    if (again && SetTimer(Handle(), kSyncPauseTimer, kPauseMs, NULL) != 0) return;
    const std::string failure = sync_text::Failure(m_sync->LastServer(), m_sync->Last(), m_sync->Made());
    EndSync();
    ShowMessage(failure.c_str(), sync_text::kCaption, MB_OK | MB_ICONWARNING);
    UpdateClock();
}

void C_ConverterDlg::OnSyncPauseOver() {
    KillTimer(Handle(), kSyncPauseTimer);
    if (SyncRunning()) AskTimeServer();
}

void C_ConverterDlg::EndSync() {
    KillTimer(Handle(), kSyncPauseTimer);
    m_syncQuery.Abandon();
    m_sync.reset();
}
