#include "app/about_dlg.h"

#include <string>

#include "app/framework/app_instance.h"
#include "app/resource_ids.h"
#include "app_version.h"

const char* const kQuendelWebAddress = "https://www.example.org/quendel";
const char* const kQuendelMailAddress = "quendel@example.org";
const char* const kQuendelVersionLabel = "V" QUENDEL_VERSION_STRING " Build (00209)";

namespace {
constexpr int kLabelWidth = 160;
constexpr int kLabelTop = 10;
constexpr int kRowHeight = 20;
constexpr int kLinkLeft = 10;
constexpr int kLinkWidth = 230;
constexpr int kLinkAboveBottom = 50;  // the web link's top, above the client bottom
constexpr int kLinkFontHeight = -16;
constexpr int kLabelFontHeight = -10;

// Near-white links that stay legible on the dark picture; red under the mouse.
void SetAboutLinkLook() {
    C_LinkWnd::SetLinkColors(RGB(0xFA, 0xFA, 0xFA), RGB(0, 0, 0), RGB(0xFA, 0xFA, 0xFF), RGB(0xFF, 0, 0));
    // A shared cursor resource: loaded again, never destroyed.
    C_LinkWnd::SetLinkCursor(LoadCursorA(g_hInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
}
}  // namespace

C_AboutDlg::C_AboutDlg() : C_Dialog(IDD_ABOUT) {}

// The controls' own destructors destroy their windows and delete their fonts and tool tips.
C_AboutDlg::~C_AboutDlg() = default;

BOOL C_AboutDlg::OnInitDialog() {
    C_Dialog::OnInitDialog();
    RECT client = {};
    GetClientRect(Handle(), &client);
    const RECT label = {client.right - kLabelWidth, kLabelTop, client.right, kLabelTop + kRowHeight};
    m_versionLabel.SetFont(MakeArialFont(kLabelFontHeight));
    m_versionLabel.Create(0, NULL, kQuendelVersionLabel, WS_CHILD | WS_VISIBLE, label.left,
                          label.top, kLabelWidth, kRowHeight, Handle(), NULL);

    GetClientRect(Handle(), &client);
    RECT link = {kLinkLeft, client.bottom - kLinkAboveBottom, kLinkLeft + kLinkWidth,
                 client.bottom - kLinkAboveBottom + kRowHeight};
    m_webLink.Create(Handle(), kQuendelWebAddress, link, kLinkFontHeight);
    m_webLink.SetLink(kQuendelWebAddress);
    SetAboutLinkLook();

    link.top += kRowHeight;
    link.bottom = link.top + kRowHeight;
    const std::string mailTarget = std::string("mailto:") + kQuendelMailAddress;
    m_mailLink.Create(Handle(), kQuendelMailAddress, link, kLinkFontHeight);
    m_mailLink.SetLink(mailTarget.c_str());
    SetAboutLinkLook();
    return TRUE;
}
