// Installs a driver package's INF on the devices of one hardware ID: on the
// present devices through the Plug and Play update, or on a new root device.
#pragma once
#include <string>

class CDriverSetupHelper {
 public:
  virtual ~CDriverSetupHelper() = default;

  // True when the INF's driver was installed for `hardwareId`. False at once
  // when no file is at `infPath`. `rebootRequired` may be null.
  static bool UpdateDeviceDriver(const std::wstring& infPath, const std::wstring& hardwareId,
                                 bool* rebootRequired);
  // True when some present device lists `hardwareId` (exact, case-sensitive).
  static bool IsDevicePresent(const std::wstring& hardwareId);
  // Creates and registers a root device whose only hardware ID is `hardwareId`
  // and updates its driver; the device is removed again when the update fails.
  // False, with the failing step's last error, when any step fails.
  static bool CreateRootDeviceAndUpdate(const std::wstring& hardwareId, const std::wstring& infPath,
                                        bool* rebootRequired);
};
