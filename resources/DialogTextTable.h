// The texts of a settings dialog, set from the catalogue when the dialog opens: a fixed table
// of rows, applied in order.
#pragma once

#include <cstdint>
#include <span>

#include "framework/Dialog.h"

struct DialogTextRow {
    int kind;           // 1 the dialog's caption, 2 a label or group box, 4 a button; others skipped
    UINT controlId;     // the control's id; for the caption, the dialog template's id
    uint32_t message;   // catalogue message; 0 gives an empty text
};

void ApplyTextTable(CDialog& dialog, std::span<const DialogTextRow> rows);
