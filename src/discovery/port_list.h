// The port page's list: the spooler's ports, with the maker's USB port (or
// else the first parallel port) preselected.
#pragma once
#include <string>
#include <vector>

#include "platform/handle.h"

// What the port list shows after a pass.
struct PortListRows {
  std::vector<std::wstring> rows;  // row i is the spooler's port i
  int selected = -1;               // the row to select; -1 for none
  // False when the ports could not be listed, or when no USB port of the
  // maker's printer was found and a parallel port was preselected instead.
  bool result = true;
};

// Lists the spooler's ports and picks the row holding "USB%03d" of the maker's
// USB port number, or else the first holding "LPT". The boxes of a failed
// enumeration are owned by `wizard`.
PortListRows FillPortList(plat::Handle wizard);
