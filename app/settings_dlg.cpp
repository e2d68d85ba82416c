#include "app/settings_dlg.h"

#include "app/resource_ids.h"
#include "app/settings_store.h"
#include "net/sntp.h"

namespace {
constexpr char kCaption[] = "Einstellungen";
}  // namespace

C_SettingsDlg::C_SettingsDlg() : C_Dialog(IDD_SETTINGS) {}

void C_SettingsDlg::DoDataExchange(C_DataExchange& dx) { dx.Text(IDC_SERVERS, m_serversText); }

BOOL C_SettingsDlg::OnInitDialog() {
    // What is stored, even when broken, so that the user sees it and can mend it.
    if (!settings::Read("Zeitserver", m_serversText)) m_serversText = quendel::kDefaultTimeServers;
    return C_Dialog::OnInitDialog();
}

bool C_SettingsDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_SERVERS_DEFAULT && code == BN_CLICKED) {
        SetItemText(IDC_SERVERS, quendel::kDefaultTimeServers);
        return true;
    }
    return C_Dialog::OnCommand(id, code, control);
}

void C_SettingsDlg::OnOK() {
    UpdateData(true);
    if (SaveServers()) EndDialog(IDOK);
}

bool C_SettingsDlg::SaveServers() {
    std::vector<quendel::TimeServer> servers;
    const std::string why = quendel::ParseTimeServers(m_serversText, servers);
    if (!why.empty()) {
        ShowMessage(why.c_str(), kCaption, MB_OK | MB_ICONWARNING);
        SetFocus(Item(IDC_SERVERS));
        SendMessageA(Item(IDC_SERVERS), EM_SETSEL, 0, -1);
        return false;
    }
    std::string text;  // one blank between entries
    for (const quendel::TimeServer& server : servers) text += (text.empty() ? "" : " ") + server.Text();
    unsigned long error = 0;
    if (!settings::Write("Zeitserver", text, &error)) {
        const std::string message = "Die Zeitserver konnten nicht gespeichert werden (Fehler " +
                                    std::to_string(error) + ").";
        ShowMessage(message.c_str(), kCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    m_serversText = text;
    return true;
}
