// Stopping and starting Windows services by name, and restarting the print
// spooler. Failures of the service manager are written to the install log.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// True when the service was already stopped or accepted the stop request;
// the stop itself is not waited for.
bool StopServiceByName(const std::wstring& name);

// True when the service runs, or is in a pending state other than stopping,
// or its status cannot be read. A service still stopping is waited for and
// then started. False when the manager, the service or the start failed, or
// when the service did not stop or start within the polling bound.
bool StartServiceAndWait(const std::wstring& name);

// Windows refuses to stop a service while a service that depends on it runs
// (1051; Fax depends on the spooler). StopSpooler stops the spooler's running
// dependents first, each waited for, then the spooler itself, without
// waiting; `dependents` receives those it stopped. StartSpooler starts the
// spooler and waits, then starts those dependents again: a dependent that
// will not start is logged, the result is the spooler's own.
bool StopSpooler(std::vector<std::wstring>& dependents);
bool StartSpooler(const std::vector<std::wstring>& dependents);

// Stops "Spooler", pauses kSpoolerPauseMs, starts it again and pauses as
// long; true when both worked.
constexpr uint32_t kSpoolerPauseMs = 2000;
bool RestartSpooler();

// Makes sure "Spooler" runs, starting it up to kSpoolerStartTries times a
// pause apart: an installation begins only with it running and never ends
// with it stopped. False, logged, when it will not run (disabled, say).
constexpr int kSpoolerStartTries = 3;
bool EnsureSpoolerRunning();
