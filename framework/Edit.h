// Single-line text fields; their text lives in the native control.
#pragma once

#include "framework/Wnd.h"

class CEdit : public CWnd {};
