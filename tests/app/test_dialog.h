// The main dialog as the tests drive it: message boxes are answered by the test and kept.
#pragma once

#include <string>
#include <vector>

#include "app/converter_dlg.h"

class TestDialog : public C_ConverterDlg {
public:
    using C_ConverterDlg::C_ConverterDlg;
    int ShowMessage(const char* text, const char* caption, UINT) const override {
        messages.push_back(std::string(caption) + ": " + text);
        return IDOK;
    }
    mutable std::vector<std::string> messages;  // "caption: text", in order
};
