// The program's own window messages and timers.
#pragma once

#include "framework/Afx.h"

// Posted by the control bar to its owner when it is asked to close: the main window ends with IDCLOSE.
inline constexpr UINT WM_CONTROLBAR_CLOSE = WM_USER + 1;
// Sent by the buttons of the main window and the control bar; wParam is one of the commands below.
inline constexpr UINT WM_CONTROL_COMMAND = WM_USER + 2;
// Posted by the frame grabber from the streaming thread: a requested frame was copied.
inline constexpr UINT WM_FRAME_READY = WM_APP + 1;
// Posted from the thread that saw the recording graph fail while it ran (a file that can no
// longer be written, a device gone); lParam is the number of the recording it belongs to.
inline constexpr UINT WM_RECORDING_FAILED = WM_APP + 2;

// Commands of WM_CONTROL_COMMAND.
inline constexpr WPARAM CONTROL_OPEN_FOLDER = 1;
inline constexpr WPARAM CONTROL_RECORD_START = 2;
inline constexpr WPARAM CONTROL_RECORD_STOP = 3;
inline constexpr WPARAM CONTROL_SNAPSHOT = 4;

// The name of the single-instance lock and of the message a second start announces itself with.
inline constexpr const wchar_t* kInstanceName = L"VISTREL";

// Timers: id and period.
inline constexpr UINT_PTR TIMER_RECORD = 101;  // recording clock and free-space check
inline constexpr UINT TIMER_RECORD_PERIOD = 500;
inline constexpr UINT_PTR TIMER_CAPTURED = 103;  // clears the "Captured" notice (main window and control bar)
inline constexpr UINT TIMER_CAPTURED_PERIOD = 1000;
inline constexpr UINT_PTR TIMER_SNAPSHOT_WAIT = 104;  // drops a snapshot request no frame answered
inline constexpr UINT_PTR TIMER_RESUME_RETRY = 105;  // the next try to bring the preview back after a sleep
inline constexpr UINT TIMER_RESUME_RETRY_PERIOD = 1000;
inline constexpr UINT_PTR TIMER_SCREENSAVER_NOTICE = 1681;  // hides the screen-saver notice after a minute
inline constexpr UINT TIMER_SCREENSAVER_NOTICE_PERIOD = 60000;
