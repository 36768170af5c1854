// The installer's process frame around the wizard: what runs before the first
// window and after the wizard has closed. The Windows entry (app/setup_wwinmain)
// calls these in order: InstallFonts, StartServiceThread, the wizard,
// RestoreServicesAtExit.
#pragma once

#include "engine/service_thread.h"

// A second start while another installation holds the lock: the running
// wizard (or its readme) comes to the front; where there is none to find
// (an install program holds the lock, or a process without a window), a box
// says that another installation is running, so that the start never ends
// without a word.
void AnswerAnotherInstallation();

// Copies every file below the folder "字体\" beside the executable flat into
// the system fonts folder. Nothing is registered with the running system, the
// spooler is left alone and no box is shown. A missing folder or a failed
// copy (logged) does not stop the start; the result is ignored by the caller.
bool InstallFonts();

// Starts ServiceThreadProc on a thread of its own, recording into `record`;
// a thread that cannot be started is recorded as finished.
bool StartServiceThread(ServiceThreadRecord& record);

// After the wizard: once the service thread has finished (waited for within
// its bound), starts the program compatibility assistant again under the
// ServiceSequence, only when the thread stopped it and the service manager
// can be opened. A thread still running at the bound leaves it alone.
void RestoreServicesAtExit(ServiceThreadRecord& record);
