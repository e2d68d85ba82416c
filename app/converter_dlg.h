// C_ConverterDlg: the main dialog. It shows one point in time, m_time, in every
// representation, the facts of the chosen time zone at that point and the year's
// holidays; the user sets the point by typing it in any of the input forms.
#pragma once

#include <windows.h>

#include <future>
#include <string>
#include <vector>

#include "app/framework/c_dialog.h"
#include "app/zone_search.h"
#include "timelib/c_time.h"
#include "timelib/zone_registry.h"

// The main template is chosen when the program is built: 0 the expert template 102,
// 1 the simple template 103 (the delivered one).
extern const int g_simpleVariant;
// Which input was edited last: 1 Filetime, 2 Unix time, 3 date and time, 4 OLE time.
extern int g_lastInput;
// The moment the main dialog initialised.
extern C_Time g_startTime;

// What an entry of the zone list stands for: its registry key (with the per-year records
// behind it) and the key's "TZI" record.
struct ZoneItem {
    TIME_ZONE_INFORMATION record;
    std::string key;
};

class C_ConverterDlg : public C_Dialog {
public:
    explicit C_ConverterDlg(int templateId = 102 + g_simpleVariant);
    ~C_ConverterDlg() override;

    // The full refresh: every text from m_time and the user time zone, the holiday list,
    // the controls, the clock. Disables the "Übernehmen" button. Returns 0.
    int Refresh();
    // The light path, once a second: the clock label and the relative-days text.
    void UpdateClock();
    void UpdateRelativeDays();
    // A status of the time synchronisation in the clock display, standing until UpdateClock.
    void ShowSyncStatus(const char* text);

    // The input forms (the handlers of the "Übernehmen" command and the zone list).
    void Convert();
    void ConvertFileTime();
    void ConvertUnixTime();
    void ConvertDate();
    void ConvertOleTime();
    void OnZoneChange();
    // A letter typed into the zone list: selects the first zone whose name begins with the
    // letters typed so far.
    void OnZoneTyped(char typed);
    // Shows why the field's text was refused, selects it there and keeps everything else.
    bool Reject(int id, const std::string& message);
    // The "Internet-Sync " button: sets the PC clock and m_time from the time server.
    void OnInternetSync();

    // Filled once at start-up from the registry's time-zone database.
    void FillZoneList();
    void BuildHolidayList(const C_Time& point);

    // Members, shared by the display and the inputs.
    C_StaticLabel m_clockLabel;
    C_ComboBox m_zoneCombo;
    C_ListBox m_holidayList;
    std::string m_localText, m_utcText, m_seasonText, m_dayText, m_relDaysText, m_zoneText, m_dstStartText,
        m_dstEndText, m_dstStartHint, m_dstEndHint, m_biasText, m_dstBiasText, m_fileTimeText, m_unixTimeText, m_dateText, m_timeText,
        m_oleTimeText;
    HICON m_hIcon = NULL;  // shared icon resource: not destroyed
    bool m_syncStatusShown = false;  // the clock display shows a sync status, not the clock
    C_Time m_time;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(C_DataExchange& dx) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override { Convert(); }  // Enter never ends the dialog
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;

private:
    void OnSysCommand(UINT command, LPARAM parameter);
    bool OnPaintMinimized();
    void OnInput(int input, const char* buttonText);
    void OnHexadecimal() { Refresh(); }
    void FreeZoneRecords();
    // Selects the list entry of the zone in use (after a cancelled drop-down).
    void ShowZoneInUse();
    const ZoneItem* m_zoneInUse = nullptr;  // an entry of the list, owned by it
    C_TypeAhead m_typeAhead;
    RECT m_place = {};  // the window's last place on screen, not minimised
    bool m_placeKnown = false;
    static constexpr UINT_PTR kZoneKeysSubclass = 1;
    static LRESULT CALLBACK ZoneKeysProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    std::vector<std::string> m_holidayLines;  // what the holiday list box shows
    // The zone database, read on a worker thread from the dialog's construction on: its
    // registry round trips overlap the creation of the dialog's windows. Empty (invalid)
    // once the zone list has taken it, or when no thread could be started.
    std::future<std::vector<quendel::zone::NamedZone>> m_zoneDatabase;
    bool IsExpert() const { return TemplateId() == 102; }
};
