// QuillexInstall.exe: the installation without the wizard, for administrators
// and for the 32-bit wizard on 64-bit Windows. It takes the worker's road for
// one job, prints a line per step and, where the wizard would show a box, the
// code and its reason; its exit code is that code (error_codes.h).
#pragma once
#include <string>
#include <vector>

struct InstallCommand {
  bool usage = false;  // "/?": print the usage only
  std::wstring model;     // "/model": as the configuration names it, without the brand
  std::wstring port;      // "/port"
  std::wstring detected;  // "/detected": the connected printer's model
  bool detect = false;    // "/detect": detect it as the model page does
  std::wstring handoff;   // "/handoff": a wizard lends its lock (installation_lock.h)
  bool check = false;       // "/check": check the driver package, install nothing
  std::wstring checkFolder;  // the folder "/check" is given; empty: the program's own
  bool uninstall = false; // "/uninstall": remove the printers of "/model", or of "/all" models
  bool all = false;       // "/all"
  bool update = false;    // "/update": an install that brings our printer on that port up to date, no copy
  bool spoolerOptional = false;  // "/spooleroptional": an uninstall that keeps the printers while printing is off
};

// Parses the arguments after the program's name. Switches start with "/" or
// "-" and ignore case. False with the reason in `error` when they do not form
// "/?", "/check [folder]" alone, an install with a port and either a model
// or "/detect" (and maybe "/update"), or an uninstall of a model or of all
// (and maybe "/spooleroptional").
bool ParseInstallCommand(const std::vector<std::wstring>& arguments, InstallCommand& command, std::wstring& error);

// The program: checks the package in this process (it only reads files);
// forwards an install or uninstall to the 64-bit program under WoW64, else
// runs it in this process. Returns the exit code.
int RunInstallProgram(const std::vector<std::wstring>& arguments);
