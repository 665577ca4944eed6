// The application object: one instance per user, and the main window run modally.
#pragma once

#include "framework/WinApp.h"

class CTaviApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
