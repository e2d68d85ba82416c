// C_ConverterDlg: the main dialog. It shows one point in time, m_time, in every
// representation, the facts of the chosen time zone at that point and the year's
// holidays; the user sets the point by typing it in any of the input forms.
#pragma once

#include <windows.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/framework/c_dialog.h"
#include "app/timestamp_input.h"
#include "app/zone_names.h"
#include "app/zone_search.h"
#include "net/async_query.h"
#include "net/sntp.h"
#include "timelib/c_time.h"
#include "timelib/zone_registry.h"
#include "wintoolkit/c_link_wnd.h"

// The main template is chosen when the program is built: 0 the expert template 102,
// 1 the simple template 103 (the delivered one).
extern const int g_simpleVariant;
// Which input was edited last: 1 Filetime, 2 Unix time, 3 date and time, 4 OLE time,
// 5 the pasted timestamp.
extern int g_lastInput;
// The moment the main dialog initialised.
extern C_Time g_startTime;

// What an entry of the zone list stands for: its registry key (with the per-year records
// behind it), the key's "TZI" record, its names as shown, and the further words the
// type-ahead finds it by (say, the cities of the zone).
struct ZoneItem {
    TIME_ZONE_INFORMATION record;
    std::string key;
    ZoneNames names;
    std::vector<std::string> searchWords;
};

// The setting that keeps the zone chosen (its registry key name) from one start to the next,
// beside "Fenster" in HKCU\Software\Quendel.
constexpr char kZoneSetting[] = "Zeitzone";

// The end of a time server's question, posted by its thread; the pause between attempts.
constexpr UINT WM_APP_SYNC_DONE = WM_APP + 1;
constexpr UINT_PTR kSyncPauseTimer = 15;

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
    // A status of the time synchronisation in the clock display, standing until UpdateClock
    // (the sync calls it when it has ended and its box is closed).
    void ShowSyncStatus(const char* text);

    // The input forms (the handlers of the "Übernehmen" command and the zone list).
    void Convert();
    void ConvertFileTime();
    void ConvertUnixTime();
    void ConvertDate();
    void ConvertOleTime();
    // The pasted timestamp (converter_stamps.cpp): its readings listed as it is typed; Enter
    // takes a clear one (the only one, or the only one from 1990 to 2039), else the list
    // gets the focus; nothing read brings the complaint. Choosing a reading sets the point.
    void OnStampEdited();
    void ConvertStamp();
    void OnStampChosen();
    void ListStampReadings();
    // "Kopieren als": the point in every form the field reads, one to the clipboard.
    void OnCopyAs();
    bool CopyToClipboard(const std::string& text);
    void OnZoneChange();
    // The other occurrence of a repeated local reading typed last (the "2. zeigen" button).
    void ShowOtherOccurrence();
    // A new point from anything but a typed date: the note and the other occurrence belong to
    // the date typed before, and go.
    void SetPoint(const C_Time& point);
    // A letter typed into the zone list: selects the first zone whose name begins with the
    // letters typed so far.
    void OnZoneTyped(char typed);
    // Shows why the field's text was refused, selects it there and keeps everything else.
    bool Reject(int id, const std::string& message);
    // The "Internet-Sync " button: asks the time servers off the window's thread, pausing
    // between attempts on a timer; with an answer sets the PC clock and m_time. A click
    // while a sync runs does nothing.
    void OnInternetSync();
    bool SyncRunning() const { return m_sync != nullptr; }
    // The system menu's "Einstellungen ...".
    void OpenSettings();

    // Filled once at start-up from the registry's time-zone database; selects the zone stored
    // at the last end ("Zeitzone") where it still exists, else the machine's, and uses it.
    void FillZoneList();
    // The zone list's tool tip: whose IANA history the past years follow, and from when the
    // registry's rules apply.
    void UpdateZoneTip();
    // The holiday list of the point's year with the marks of m_state, and its legend.
    void BuildHolidayList(const C_Time& point);
    // Reads the Bundesland setting again and rebuilds the holiday list and its legend at once
    // (for the settings dialog, after it has stored a new choice).
    void ReloadHolidayState();
    // The context menu of the holiday list at a screen point; (-1, -1) from the keyboard
    // (Shift+F10, the context-menu key): at the list's current line.
    void OnHolidayContextMenu(int x, int y);
    // Writes the list's days as an iCalendar file. False, after a message naming the file and
    // the system's reason, when it cannot be written; nothing half-written is left then.
    bool ExportCalendar(const std::string& path);
    // The list's selected line, or all its lines, as text onto the clipboard.
    void CopyHolidayLines();

    // Members, shared by the display and the inputs.
    C_StaticLabel m_clockLabel;
    C_ComboBox m_zoneCombo;
    C_ListBox m_holidayList;
    std::string m_localText, m_utcText, m_seasonText, m_dayText, m_relDaysText, m_zoneText, m_dstStartText,
        m_dstEndText, m_dstStartHint, m_dstEndHint, m_biasText, m_dstBiasText, m_fileTimeText, m_unixTimeText, m_dateText, m_timeText,
        m_oleTimeText;
    // Under the local time: a typed reading that a change of the clocks skips or repeats, and
    // the repeated reading's other occurrence (invalid when there is none).
    std::string m_localNote;
    C_Time m_otherTime;
    HICON m_hIcon = NULL;  // shared icon resource: not destroyed
    bool m_syncStatusShown = false;  // the clock display shows a sync status, not the clock
    C_Time m_time;
    int m_state = 0;          // the Bundesland whose legal holidays the list marks
    int m_holidayYear = 0;    // the year the list shows (0: none)
    std::string m_legendText;
    C_ToolTip m_zoneTip{NULL};  // the zone list's (UpdateZoneTip)

protected:
    // The choice of the context menu at the screen point: a command, or 0 (virtual, so that
    // tests can choose).
    virtual int TrackMenu(HMENU menu, int x, int y);
    // The common Save dialog with .ics preselected; "" when the user cancels.
    virtual std::string ChooseCalendarFile(const std::string& suggestion);

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
    // Makes the entry's zone the user time zone (the point stays; the caller refreshes).
    void UseZone(const ZoneItem* item);
    const ZoneItem* m_zoneInUse = nullptr;  // an entry of the list, owned by it
    // Whether the user chose the zone in this session: only a choice is kept for the next start,
    // so that a machine whose zone changes is followed while the user never chose one.
    bool m_zoneChosen = false;
    C_TypeAhead m_typeAhead;
    std::string m_typedPlace;  // the place of the zone the type-ahead found by it, shown beside its name
    RECT m_place = {};  // the window's last place on screen, not minimised
    bool m_placeKnown = false;
    static constexpr UINT_PTR kZoneKeysSubclass = 1;
    static LRESULT CALLBACK ZoneKeysProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    // The sync: its plan while one runs, and the question in flight.
    void AskTimeServer();
    void OnTimeServerDone();
    void OnSyncPauseOver();
    void EndSync();
    std::unique_ptr<quendel::SyncAttempts> m_sync;
    quendel::AsyncTimeQuery m_syncQuery;

    std::vector<std::string> m_holidayLines;  // what the holiday list box shows
    std::vector<StampChoice> m_stampChoices;  // what the readings list shows
    // The zone database, read on a worker thread from the dialog's construction on: its
    // registry round trips overlap the creation of the dialog's windows. Empty (invalid)
    // once the zone list has taken it, or when no thread could be started.
    std::future<std::vector<ShownZone>> m_zoneDatabase;
    bool IsExpert() const { return TemplateId() == 102; }
};
