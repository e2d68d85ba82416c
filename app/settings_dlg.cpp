#include "app/framework/placement.h"
#include "app/settings_dlg.h"

#include "app/federal_states.h"
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
    const BOOL result = C_Dialog::OnInitDialog();
    // "Deutschland (bundesweit)", then the states alphabetically: the list keeps this order.
    m_state = ReadStateSetting();
    for (int state = 0; state < kStateCount; ++state)
        SendMessageA(Item(IDC_STATE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(StateListName(state)));
    SendMessageA(Item(IDC_STATE), CB_SETCURSEL, static_cast<WPARAM>(m_state), 0);
    CentreOverOwner(Handle());
    return result;
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
    if (SaveServers() && SaveState()) EndDialog(IDOK);
}

bool C_SettingsDlg::SaveState() {
    const LRESULT chosen = SendMessageA(Item(IDC_STATE), CB_GETCURSEL, 0, 0);
    const int state = chosen >= 0 && chosen < kStateCount ? static_cast<int>(chosen) : m_state;
    unsigned long error = 0;
    if (!WriteStateSetting(state, &error)) {
        const std::string message = "Das Bundesland konnte nicht gespeichert werden (Fehler " + std::to_string(error) + ").";
        ShowMessage(message.c_str(), kCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    m_state = state;
    return true;
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
    for (const quendel::TimeServer& server : servers) {
        if (!text.empty()) text += ' ';
        text += server.Text();
    }
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
