// Win32 error values used by the installer, and the thread's last-error code.
// Names differ from the <windows.h> macros so both can live in one translation unit.
#pragma once
#include <cstdint>

namespace plat {

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorInvalidData = 13;
constexpr uint32_t kErrorNoMoreFiles = 18;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorDirectory = 267;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorCallNotImplemented = 120;
constexpr uint32_t kErrorProcNotFound = 127;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorNoMoreItems = 259;
constexpr uint32_t kErrorNotFound = 0x490;
constexpr uint32_t kErrorDependentServicesRunning = 1051;
constexpr uint32_t kErrorServiceAlreadyRunning = 1056;
constexpr uint32_t kErrorServiceDoesNotExist = 1060;
constexpr uint32_t kErrorServiceCannotAcceptCtrl = 1061;
constexpr uint32_t kErrorServiceNotActive = 1062;
constexpr uint32_t kErrorNoUnicodeTranslation = 1113;
constexpr uint32_t kErrorTimeout = 1460;
constexpr uint32_t kErrorPrintMonitorAlreadyInstalled = 3006;
constexpr uint32_t kErrorGeneralSyntax = 0xE0000003;  // SetupAPI: INF syntax error
constexpr uint32_t kErrorInvalidUserBuffer = 0x6F8;
// SetupAPI device installation.
constexpr uint32_t kErrorClassMismatch = 0xE0000201;
constexpr uint32_t kErrorDevinstAlreadyExists = 0xE0000207;
constexpr uint32_t kErrorInvalidClass = 0xE0000206;
constexpr uint32_t kErrorNoSuchDevinst = 0xE000020B;
constexpr uint32_t kErrorInWow64 = 0xE0000235;  // SetupAPI: a 32-bit process on 64-bit Windows may not install devices

// Per-thread last-error code, as GetLastError / SetLastError.
uint32_t GetLastError();
void SetLastError(uint32_t code);

}  // namespace plat
