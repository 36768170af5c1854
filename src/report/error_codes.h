// The codes of the installation-failed box, and the install program's exit
// codes: a failed installation ends with one box showing its code, and the
// install program returns the same number. The README's table lists them.
#pragma once

enum ErrorCode : int {
  kCodeConfiguration = 1,   // PrinterInfo.ini cannot be read
  kCodeFileCopy = 2,        // a driver file cannot be copied (or the package lacks one)
  kCodeInfStaging = 3,      // the package's INF cannot be staged (or, uninstalling, removed)
  kCodeDriver = 4,          // the printer driver cannot be registered (or deleted)
  kCodePrinter = 6,         // the printer queue cannot be created (or deleted)
  kCodeSpooler = 7,         // the Spooler service is unavailable, or cannot be stopped or started again
  kCodeMonitor = 8,         // the spooler refuses the language monitor (or its deletion)
  kCodeWrongPackage = 9,    // a library of the package is not built for this Windows (or lacks its entry point)
  kCodeProtectedPrint = 10, // Windows protected print mode admits no third-party driver
  kCodeNativeProgram = 11,  // the 64-bit install program is missing, damaged or cannot be started
  kCodeUnexpected = 12,     // the installation failed without a reason of its own (out of memory, a crash)
  kCodeNoDriverForProcessor = 13,  // Windows on ARM64: the package has no driver for this processor
};

// Exit codes of the install program besides success and the box codes.
constexpr int kExitSuccess = 0;
constexpr int kExitBadArguments = 87;        // ERROR_INVALID_PARAMETER
constexpr int kExitNotElevated = 740;        // ERROR_ELEVATION_REQUIRED
constexpr int kExitAnotherInstall = 1618;    // ERROR_INSTALL_ALREADY_RUNNING
// Exit codes of the package check ("/check").
constexpr int kExitCheckPassed = 0;
constexpr int kExitCheckFindings = 1;

// What a box code means, in the installer's language; empty for a number
// that is no box code.
const wchar_t* ErrorCodeMeaning(int code);
bool IsErrorCode(int code);
