// The "Internet-Sync " button: the PC clock and the point shown from the time server.
#include "app/converter_dlg.h"
#include "net/sntp.h"

void C_ConverterDlg::OnInternetSync() {
    C_Time answer;
    const quendel::SyncOutcome outcome = quendel::InternetSync(
        quendel::CurrentSyncSettings(), [this](const char* text) { ShowSyncStatus(text); }, answer);
    // Failed: "Fehler!!" stays in the clock display until the next refresh. Busy: the
    // sync already running will refresh.
    if (outcome != quendel::SyncOutcome::kSet) return;
    m_time = answer;
    UpdateClock();
    Refresh();
}
