// The short road of an installation: when a present device's first hardware
// ID is listed in the package INF, let Windows install the package's driver on
// it through the Plug and Play update.
#pragma once
#include <string>

#include "catalog/pin_family.h"
#include "platform/devinst.h"

class CPnpDriverUpdater {
 public:
  // Releases the device set and forgets the INF path and the matched ID.
  void Reset();

  // The package INF of `pinFamily` for this machine's architecture, beside the
  // executable: "24Pin\i386\24Pin.inf", "24Pin\X64\24Pin.inf", "9Pin\...\9Pin.inf".
  static std::wstring GetPackageInfPath(PinFamily pinFamily);

  // True when a present device's first hardware ID matches a model of the INF
  // (the last such device in enumeration order); the object then holds the
  // INF path, that device's own text of the ID and the device set.
  bool FindMatchingDevice(const std::wstring& infPath);

  // Updates the matched device's driver from the INF, with the wait cursor
  // shown meanwhile.
  bool UpdateMatchedDevice();

 private:
  plat::DevInfoHandle m_hDevInfo;
  std::wstring m_strInfPath;
  std::wstring m_strHardwareId;
};
