// The Program Compatibility Assistant ("PcaSvc"): stopped while the installer
// runs, started again at its end. Every failure just ends the routine quietly.
#pragma once
#include "platform/services.h"

// Stops the service if it runs and waits until it has stopped. Takes over
// `manager` (opened with GENERIC_EXECUTE by the caller) and closes it. True
// when the service accepted this stop request, however the wait ended.
bool StopCompatibilityAssistant(plat::ScManagerHandle manager);

// Starts the service if it is stopped and waits until it runs. Takes over
// `manager` and closes it.
void StartCompatibilityAssistant(plat::ScManagerHandle manager);
