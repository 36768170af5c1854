// Windows protected print mode: with its policy on, the spooler admits only
// Windows' own print drivers, so no installation of ours can succeed.
#pragma once

// The policy's key under HKLM and its value, 1 when the mode is on.
extern const wchar_t kProtectedPrintPolicyKey[];    // "Software\Policies\Microsoft\Windows NT\Printers\WPP"
extern const wchar_t kProtectedPrintPolicyValue[];  // "WindowsProtectedPrintGroupPolicyState"

// True when the policy is on; a missing or unreadable value counts as off.
bool ProtectedPrintModeOn();
