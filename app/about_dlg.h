// C_AboutDlg: the about box "Info über Quendel" (template 100). Its face is one picture;
// over it, made at run time, the version label at the top right and two links near the
// bottom left: the product's web page and a new mail to its address.
#pragma once

#include "app/framework/c_dialog.h"
#include "wintoolkit/c_link_wnd.h"

// The product's addresses, kept in one place (a reserved example domain).
extern const char* const kQuendelWebAddress;
extern const char* const kQuendelMailAddress;
// "V<version> Build (00209)", the version from the project.
extern const char* const kQuendelVersionLabel;

class C_AboutDlg : public C_Dialog {
public:
    C_AboutDlg();
    ~C_AboutDlg() override;

    // Toolkit controls; their windows exist while the dialog does.
    C_LinkWnd m_webLink;
    C_LinkWnd m_mailLink;
    C_LabelWnd m_versionLabel;

protected:
    BOOL OnInitDialog() override;
};
