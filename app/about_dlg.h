// C_AboutDlg: the about box "Info über Quendel" (template 100). Its face is one picture;
// over it, made at run time, the version label at the top right and two links near the
// bottom left: the product's web page and a new mail to its address. The links are tab
// stops (Enter or Space opens them, Escape closes the box). Everything is drawn for the
// DPI the box is shown at, and the box opens centred over its owner.
#pragma once

#include "app/framework/c_dialog.h"
#include "wintoolkit/c_link_wnd.h"
#include "wintoolkit/handles.h"

// The product's addresses, kept in one place (a reserved example domain).
extern const char* const kQuendelWebAddress;
extern const char* const kQuendelMailAddress;
// "V<version> Build (00209)", the version from the project.
extern const char* const kQuendelVersionLabel;

class C_AboutDlg : public C_Dialog {
public:
    C_AboutDlg();
    ~C_AboutDlg() override;

private:
    // Owned drawings for a DPI other than 96; they outlive the controls that show them.
    quendel_toolkit::BitmapHandle m_picture;
    quendel_toolkit::CursorHandle m_cursor;

public:
    // Toolkit controls; their windows exist while the dialog does.
    C_LinkWnd m_webLink;
    C_LinkWnd m_mailLink;
    C_LabelWnd m_versionLabel;

protected:
    BOOL OnInitDialog() override;
    // The box takes the suggested rectangle and lays its picture, label and links out anew.
    bool OnDpiChanged(UINT dpi, const RECT& suggested) override;

private:
    // Places the controls for Dpi() in the client area, with fonts, picture and cursor for it.
    void Layout();
    void ShowPicture();
    void FitToPicture();
};
