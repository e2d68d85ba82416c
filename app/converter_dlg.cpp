// The main dialog's start-up, data exchange, message dispatch and window handlers.
#include "app/converter_dlg.h"

#include <commctrl.h>

#include "app/about_dlg.h"
#include "app/federal_states.h"
#include "app/settings_dlg.h"
#include "app/framework/app_instance.h"
#include "app/framework/text.h"
#include "app/resource_ids.h"
#include "app/settings_store.h"
#include "app/window_position.h"

#ifndef QUENDEL_SIMPLE_VARIANT
#define QUENDEL_SIMPLE_VARIANT 1
#endif

const int g_simpleVariant = QUENDEL_SIMPLE_VARIANT;
int g_lastInput = 1;
C_Time g_startTime;

namespace {
constexpr UINT_PTR kClockTimer = 14;
}  // namespace

C_ConverterDlg::C_ConverterDlg(int templateId) : C_Dialog(templateId) {
    m_hIcon = static_cast<HICON>(LoadImageA(g_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    try {
        m_zoneDatabase = std::async(std::launch::async, ReadShownZones);
    } catch (...) {
        // No thread to be had: the zone list reads the database itself.
    }
}

C_ConverterDlg::~C_ConverterDlg() { FreeZoneRecords(); }

void C_ConverterDlg::DoDataExchange(C_DataExchange& dx) {
    dx.Control(IDC_CLOCK, m_clockLabel);
    dx.Control(IDC_ZONES, m_zoneCombo);
    dx.Control(IDC_HOLIDAYS, m_holidayList);
    dx.Text(IDC_LOCAL, m_localText);
    dx.Text(IDC_UTC, m_utcText);
    dx.Text(IDC_SEASON, m_seasonText);
    dx.Text(IDC_DAY, m_dayText);
    dx.Text(IDC_ZONE, m_zoneText);
    dx.Text(IDC_DSTSTART, m_dstStartText);
    dx.Text(IDC_DSTEND, m_dstEndText);
    dx.Text(IDC_DSTSTART_HINT, m_dstStartHint);
    dx.Text(IDC_DSTEND_HINT, m_dstEndHint);
    dx.Text(IDC_HOLIDAY_LEGEND, m_legendText);
    dx.Text(IDC_LOCAL_NOTE, m_localNote);
    if (IsExpert()) {
        dx.Text(IDC_BIAS, m_biasText);
        dx.Text(IDC_DSTBIAS, m_dstBiasText);
        dx.Text(IDC_FILETIME, m_fileTimeText);
        dx.Text(IDC_UNIXTIME, m_unixTimeText);
        dx.Text(IDC_OLETIME, m_oleTimeText);
    } else {
        dx.Text(IDC_RELDAYS, m_relDaysText);
    }
    dx.Text(IDC_DATE, m_dateText);
    dx.Text(IDC_TIME, m_timeText);
}

BOOL C_ConverterDlg::OnInitDialog() {
    C_Dialog::OnInitDialog();
    if (HMENU menu = GetSystemMenu(Handle(), FALSE)) {  // borrowed: the window's own menu
        const std::string about = LoadResourceString(IDS_ABOUTBOX), settings = LoadResourceString(IDS_SETTINGS);
        if (!about.empty() && !settings.empty()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
            AppendMenuA(menu, MF_STRING, IDM_SETTINGS, settings.c_str());
            AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    // The small icon drawn at its own size for the DPI, not the big one shrunk (shared: a
    // resource of the program, never destroyed).
    const HANDLE smallIcon = LoadImageA(g_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon : m_hIcon));
    g_startTime.SetTime();
    m_fileTimeText = FormatText("%lld", static_cast<long long>(g_startTime.GetTimeUTC()));
    FillZoneList();
    UpdateZoneTip();
    m_typeAhead = C_TypeAhead();
    if (!SetWindowSubclass(m_zoneCombo.Handle(), ZoneKeysProc, kZoneKeysSubclass, reinterpret_cast<DWORD_PTR>(this)))
        OutputDebugStringA("Quendel: the zone list keeps its own type-ahead\n");
    m_state = ReadStateSetting();
    m_time = g_startTime;
    Refresh();
    SetTimer(Handle(), kClockTimer, 1000, NULL);
    PlaceMainWindow(Handle());
    m_placeKnown = GetWindowRect(Handle(), &m_place) != FALSE;
    return TRUE;
}

bool C_ConverterDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX || (wParam & 0xFFF0) == IDM_SETTINGS) {
            OnSysCommand(static_cast<UINT>(wParam & 0xFFF0), lParam);
            result = 0;
            return true;
        }
        return false;
    case WM_APP_SYNC_DONE:
        OnTimeServerDone();
        return true;
    case WM_PAINT:
        return OnPaintMinimized();
    case WM_CONTEXTMENU:
        // The list box passes its context menu (right click, Shift+F10, the menu key) on to us.
        if (reinterpret_cast<HWND>(wParam) != m_holidayList.Handle() || !m_holidayList.Handle()) return false;
        OnHolidayContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    case WM_WINDOWPOSCHANGED:
        // The place to remember is the last one shown, not the minimised window's.
        if (!IsIconic(Handle())) m_placeKnown = GetWindowRect(Handle(), &m_place) != FALSE;
        return false;
    case WM_DESTROY:
        // However the dialog ends (close box, Escape), its place is kept for the next start,
        // the zone records go with it, and the wrappers let go of controls about to vanish.
        if (m_placeKnown && !SaveWindowPosition(POINT{m_place.left, m_place.top}))
            OutputDebugStringA("Quendel: the window position could not be stored\n");
        if (m_zoneChosen && m_zoneInUse && !settings::Write(kZoneSetting, m_zoneInUse->key))
            OutputDebugStringA("Quendel: the time zone could not be stored\n");
        FreeZoneRecords();
        EndSync();  // a question in flight is abandoned and ends by itself
        m_clockLabel.Attach(NULL);
        m_zoneCombo.Attach(NULL);
        m_holidayList.Attach(NULL);
        return false;
    default:
        return false;
    }
}

bool C_ConverterDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDOK:
        if (code == BN_CLICKED) Convert();
        return true;
    case IDC_FILETIME:
        if (code == EN_CHANGE) OnInput(1, "&Neue Filetime");
        return true;
    case IDC_UNIXTIME:
        if (code == EN_CHANGE) OnInput(2, "&Neue Unixzeit");
        return true;
    case IDC_DATE:
    case IDC_TIME:
        if (code == EN_CHANGE) OnInput(3, "&Neues Datum");
        return true;
    case IDC_OLETIME:
        if (code == EN_CHANGE) OnInput(4, "&New OleTime");
        return true;
    case IDC_STAMP:
        if (code == EN_CHANGE) OnStampEdited();
        return true;
    case IDC_STAMP_LIST:
        if (code == LBN_SELCHANGE) OnStampChosen();
        return true;
    case IDC_COPY_AS:
        if (code == BN_CLICKED) OnCopyAs();
        return true;
    case IDC_ZONES:
        // While the list is dropped down the selection only previews: the zone changes when
        // the choice is made, and a cancelled drop-down shows the zone in use again.
        if ((code == CBN_SELCHANGE && !m_zoneCombo.Send(CB_GETDROPPEDSTATE)) || code == CBN_SELENDOK) OnZoneChange();
        if (code == CBN_SELENDCANCEL || code == CBN_CLOSEUP) ShowZoneInUse();
        return true;  // CBN_EDITCHANGE: nothing to do
    case IDC_HEX:
        if (code == BN_CLICKED) OnHexadecimal();
        return true;
    case IDC_OTHER_TIME:
        if (code == BN_CLICKED) ShowOtherOccurrence();
        return true;
    case IDC_SYNC:
        if (code == BN_CLICKED) OnInternetSync();
        return true;
    default:
        return C_Dialog::OnCommand(id, code, control);
    }
}

void C_ConverterDlg::OnSysCommand(UINT command, LPARAM) {
    if (command == IDM_SETTINGS) return OpenSettings();
    C_AboutDlg about;
    about.DoModal(Handle());
}

void C_ConverterDlg::OpenSettings() {
    C_SettingsDlg settings;
    // A Bundesland chosen there marks its holidays at once.
    if (settings.DoModal(Handle()) == IDOK) ReloadHolidayState();
}

bool C_ConverterDlg::OnPaintMinimized() {
    if (!IsIconic(Handle())) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);  // borrowed until EndPaint
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(Handle(), &client);
    DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2, m_hIcon);
    EndPaint(Handle(), &ps);
    return true;
}

void C_ConverterDlg::FreeZoneRecords() {
    const int count = m_zoneCombo.GetCount();
    for (int i = 0; i < count; ++i) {
        delete static_cast<ZoneItem*>(m_zoneCombo.GetItemData(i));
        m_zoneCombo.SetItemData(i, nullptr);
    }
}

void C_ConverterDlg::ShowZoneInUse() {
    for (int i = 0, count = m_zoneCombo.GetCount(); i < count; ++i)
        if (m_zoneCombo.GetItemData(i) == m_zoneInUse && m_zoneCombo.GetCurSel() != i) m_zoneCombo.SetCurSel(i);
}

void C_ConverterDlg::OnCancel() {
    // Escape in a dropped-down zone list closes the list, and nothing else.
    if (m_zoneCombo.Handle() && m_zoneCombo.Send(CB_GETDROPPEDSTATE)) {
        m_zoneCombo.Send(CB_SHOWDROPDOWN, FALSE);
        ShowZoneInUse();
        return;
    }
    C_Dialog::OnCancel();
}
