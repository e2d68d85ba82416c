// C_SettingsDlg: "Einstellungen", opened from the system menu. It edits the user's
// settings under HKCU\Software\Quendel: the time servers ("Zeitserver"). OK checks every
// entry first: a bad one is named in a message and nothing is stored.
#pragma once

#include <string>

#include "app/framework/c_dialog.h"

class C_SettingsDlg : public C_Dialog {
public:
    C_SettingsDlg();

    std::string m_serversText;  // as shown in the edit

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(C_DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    // Checks and stores the servers; false (after saying why) when they stay unstored.
    bool SaveServers();
};
