// C_SettingsDlg: "Einstellungen", opened from the system menu. It edits the user's
// settings under HKCU\Software\Quendel: the time servers ("Zeitserver") and the Bundesland
// whose legal holidays the list marks ("Bundesland"). OK checks every server entry first: a
// bad one is named in a message and nothing is stored.
#pragma once

#include <string>

#include "app/framework/c_dialog.h"

class C_SettingsDlg : public C_Dialog {
public:
    C_SettingsDlg();

    std::string m_serversText;  // as shown in the edit
    int m_state = 0;            // the Bundesland chosen (federal_states.h)

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(C_DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    // Checks and stores the servers; false (after saying why) when they stay unstored.
    bool SaveServers();
    // Stores the chosen Bundesland; false (after saying why) when the registry refused it.
    bool SaveState();
};
