// Static controls: labels and the black picture areas.
#pragma once

#include "framework/Wnd.h"

class CStatic : public CWnd {};
