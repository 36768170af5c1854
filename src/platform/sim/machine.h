// The simulated Windows machine behind the platform seam, for host tests.
//
// Tests configure it (files, folders, architecture, faults, ...), run the code
// under test, then read back its state and the transcript of platform calls.
// Every backend operation locks the machine, so threads may call concurrently.
// Call Reset() between test cases.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/cursor.h"
#include "platform/devinst.h"
#include "platform/handle.h"
#include "platform/kernel.h"
#include "platform/sim/inf_store.h"
#include "platform/sim/services.h"
#include "platform/sim/spooler.h"
#include "platform/sim/threads.h"

namespace sim {

// One recorded platform call: the operation's Win32 name and its main arguments.
struct Call {
  std::string op;
  std::wstring detail;
  int process = 0;  // the calling process (ProcessId())
};

class Transcript {
 public:
  void Record(std::string op, std::wstring detail);
  std::vector<Call> Calls() const { return calls_; }
  // The operations in call order, restricted to `ops` when it is not empty.
  std::vector<std::string> Ops(const std::vector<std::string>& ops = {}) const;
  size_t Count(const std::string& op) const;
  void Clear() { calls_.clear(); }

 private:
  std::vector<Call> calls_;
};

// Makes chosen calls of an operation fail with a given last-error code.
class Faults {
 public:
  // The `nth` call of `op` from now on (1 = the next one) fails with `error`,
  // and so do the `times - 1` calls after it.
  void Fail(const std::string& op, uint32_t error, int nth = 1, int times = 1);
  // Counts the call; returns the error when this call is to fail.
  std::optional<uint32_t> Hit(const std::string& op);
  void Clear() { rules_.clear(); }

 private:
  struct Rule {
    uint32_t error;
    int skip;   // calls still to pass before failing
    int times;  // failures still to give
  };
  std::map<std::string, std::vector<Rule>> rules_;
};

// A virtual clock: Sleep advances it, nothing waits.
class Clock {
 public:
  uint64_t NowMs() const { return nowMs_; }
  void Advance(uint64_t ms) { nowMs_ += ms; }
  // The local time at NowMs() == 0.
  void SetLocalTime(const plat::SystemTime& t);
  plat::SystemTime LocalTime() const;
  // Total of all pauses made with Sleep, and each pause in order.
  const std::vector<uint32_t>& Sleeps() const { return sleeps_; }
  void RecordSleep(uint32_t ms) { sleeps_.push_back(ms); }
  // Sleep also lets other threads of a test run for a real moment; a test on
  // one thread may do without.
  bool realPauses = true;

 private:
  uint64_t nowMs_ = 0;
  int64_t baseEpochMs_ = 0;
  std::vector<uint32_t> sleeps_;
};

// An in-memory file system with Windows semantics: drive-letter paths,
// case-insensitive names that keep their case, attributes, share modes.
class FileSystem {
 public:
  struct Node {
    std::wstring path;  // full path as created, with its letter case
    bool directory = false;
    uint32_t attributes = 0;
    std::string data;
    std::vector<std::wstring> children;  // keys, in enumeration order
    std::wstring linkTarget;             // a junction: the key of the folder it leads to
    uint64_t lastWriteTime = 0;          // set by every creation and write, kept by CopyFileW
    bool administratorsOnly = false;     // created with a descriptor only Administrators and SYSTEM may write through
  };
  struct OpenFile {
    std::wstring key;
    uint32_t access = 0;
    uint32_t share = 0;
    uint64_t position = 0;
  };

  // Test set-up; parent folders are created as needed.
  void AddDirectory(const std::wstring& path);
  void AddFile(const std::wstring& path, const std::string& bytes, uint32_t attributes = 0x20);
  // A junction (a reparse point) at `path` that leads to the folder `target`;
  // paths through it resolve to paths below the target.
  void AddJunction(const std::wstring& path, const std::wstring& target);
  // Children named in `names` come first, in that order, the others after them.
  void SetEnumerationOrder(const std::wstring& directory, const std::vector<std::wstring>& names);

  bool Exists(const std::wstring& path) const;
  // Whether a standard user's process may write `path`: no folder on its way
  // was created for Administrators and SYSTEM only.
  bool UserCanWrite(const std::wstring& path) const;
  bool IsDirectory(const std::wstring& path) const;
  std::string Contents(const std::wstring& path) const;
  uint32_t Attributes(const std::wstring& path) const;
  // Names of a directory's children in enumeration order, with their case.
  std::vector<std::wstring> List(const std::wstring& directory) const;

  static std::wstring Key(const std::wstring& path);
  static std::wstring Parent(const std::wstring& key);
  static std::wstring LeafName(const std::wstring& path);
  // The key with every junction on its way replaced by its target; empty
  // after too many (Windows gives up after 63).
  std::wstring Resolve(const std::wstring& key) const;

  Node* Find(const std::wstring& path);
  const Node* Find(const std::wstring& path) const;
  // Creates the node; its parent must exist. Returns the new node.
  Node& Create(const std::wstring& path, bool directory, uint32_t attributes);
  void Remove(const std::wstring& path);
  // Win32 share-mode check against every open handle of the file.
  bool ShareAllows(const std::wstring& key, uint32_t access, uint32_t share) const;
  bool AnyOpen(const std::wstring& key) const;
  // A last-write time later than every one given before: no two writes share one.
  uint64_t NextWriteTime() { return ++lastWriteTime_; }

  std::map<std::wstring, Node> nodes;
  std::map<uintptr_t, OpenFile> open;
  struct Search {
    std::vector<std::pair<std::wstring, uint32_t>> entries;  // name, attributes
    size_t next = 0;
  };
  std::map<uintptr_t, Search> searches;

 private:
  uint64_t lastWriteTime_ = 0;
};

struct RegistryValue {
  bool isDword = false;
  uint32_t dword = 0;
  std::wstring text;
};

// A read-only registry: tests fill it, the seam only reads.
class Registry {
 public:
  // `key` is spelled from its root, e.g. L"HKLM\\SYSTEM\\CurrentControlSet\\...".
  void SetDword(const std::wstring& key, const std::wstring& name, uint32_t value);
  void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value);

  std::map<std::wstring, std::map<std::wstring, RegistryValue>> keys;  // upper-case key -> values
  std::map<uintptr_t, std::wstring> open;
};

struct KernelState {
  std::wstring moduleFileName;
  uint16_t nativeArchitecture = plat::kProcessorArchitectureAmd64;
  uint16_t processArchitecture = plat::kProcessorArchitectureAmd64;  // what GetSystemInfo tells the process
  bool nativeSystemInfoExported = true;
  bool wow64Process2Exported = true;  // IsWow64Process2: Windows 10 1511 and later
  plat::OsVersionInfo version{plat::kOsVersionInfoSize, 10, 0, 19045, plat::kPlatformWin32Nt};
  std::map<uint32_t, std::wstring> messages;  // FormatMessageW texts
  std::vector<std::wstring> debugOutput;
};

// The present devices as SetupAPI and the configuration manager see them, the
// setup classes that INF files name, what the Plug and Play update installed,
// and the device paths that CreateFileW opens.
class DeviceTree {
 public:
  struct Interface {
    plat::Guid classGuid;
    std::wstring path;
  };
  struct Device {
    std::wstring instanceId;
    plat::Guid classGuid;
    std::vector<std::wstring> hardwareIds;  // none: the property is absent (kErrorInvalidData)
    std::wstring driverInf;                 // the INF whose driver an update installed
    std::optional<std::wstring> friendlyName;
    std::vector<Interface> interfaces;
    std::wstring parent;  // instance ID of the parent node; empty for a top-level device
    // A child is present once its parent has been re-enumerated this often.
    int appearsAfterReenumerations = 0;
    int reenumerations = 0;  // CM_Reenumerate_DevNode calls on this node
    uint32_t devNode = 0;    // the node's handle, unique for the tree's lifetime
  };
  struct InfClass {
    std::wstring name;
    plat::Guid guid;
  };
  // One UpdateDriverForPlugAndPlayDevicesW call that got past its fault.
  struct Update {
    std::wstring hardwareId;
    std::wstring infPath;
    uint32_t flags = 0;
  };
  // What a device path answers: the reply bytes of the one control code it
  // knows, or a failing query.
  struct Endpoint {
    uint32_t ioctl = 0;
    std::string reply;
    std::optional<uint32_t> queryError;
    bool heldElsewhere = false;  // another program holds it without sharing
  };
  struct OpenEndpoint {
    std::wstring key;
    uint32_t share = 0;
  };

  // Test set-up. Devices enumerate in the order they were added.
  Device& AddDevice(const std::wstring& instanceId, const std::vector<std::wstring>& hardwareIds,
                    const plat::Guid& classGuid = {});
  // A child of `parent` that shows up after the parent's n-th re-enumeration (0: at once).
  Device& AddChild(const std::wstring& parent, const std::wstring& instanceId, int appearsAfterReenumerations = 0);
  void RemoveDevice(const std::wstring& instanceId);
  // The INF at `infPath` names setup class `name` / `guid` (SetupDiGetINFClassW).
  void SetInfClass(const std::wstring& infPath, const std::wstring& name, const plat::Guid& guid);
  // What CreateFileW on `path` ("\\?\usb#...", "\\.\LPT1") reaches.
  Endpoint& AddEndpoint(const std::wstring& path, uint32_t ioctl, const std::string& reply);

  Device* Find(const std::wstring& instanceId);
  const Device* Find(const std::wstring& instanceId) const;
  Device* FindNode(uint32_t devNode);
  // Top-level devices are present; a child once its parent is and has been re-enumerated enough.
  bool Present(const Device& device) const;
  uint32_t NewDevNode() { return nextDevNode_++; }
  // Instance and hardware IDs compare without regard to ASCII letter case.
  static std::wstring Fold(const std::wstring& id);

  std::vector<Device> devices;                  // the tree, in enumeration order
  std::map<std::wstring, InfClass> infClasses;  // by file-system key of the INF path
  // SetupDiClassGuidsFromNameW: setup class GUIDs by folded class name.
  std::map<std::wstring, std::vector<plat::Guid>> classNames;
  std::optional<uint32_t> updateError;          // every update fails with it
  bool updateNeedsReboot = false;
  std::function<void()> duringUpdate;  // runs inside every update call (observe the machine, throw, ...)
  std::vector<Update> updates;
  std::map<std::wstring, Endpoint> endpoints;  // by folded path
  std::map<uintptr_t, OpenEndpoint> openEndpoints;

  // Open device information sets: members by instance ID; created elements
  // stay in `unregistered` until DIF_REGISTERDEVICE puts them into the tree.
  struct Set {
    std::optional<plat::Guid> classGuid;
    std::vector<std::wstring> members;
    std::map<std::wstring, Device> unregistered;
  };
  std::map<uintptr_t, Set> sets;

 private:
  uint32_t nextDevNode_ = 1;
};

// The cursor on the screen. System cursors have fixed handles.
struct CursorState {
  static constexpr uintptr_t kSystemBase = 0x20000;
  static plat::Handle System(uint32_t cursorId) { return reinterpret_cast<plat::Handle>(kSystemBase + cursorId); }
  // The system cursor id of `cursor` as text ("32514"), "none" for no cursor.
  static std::wstring Name(plat::Handle cursor);

  plat::Handle shown = System(plat::kIdcArrow);
};

// What a killed process's thread meets at its next platform call: the
// process is gone, as after Task Manager, a log-off or a power loss.
struct ProcessKilled {};

// Processes that die at a chosen moment. A dead process's later calls take no
// effect; the calls its destructors make while the kill unwinds them fail
// quietly, so no cleanup of its own reaches the machine.
struct Deaths {
  int victim = 0;          // the process to kill; 0: none
  size_t callsLeft = 0;    // its calls that still take effect
  std::vector<int> dead;
  bool IsDead(int process) const;
};

class Machine {
 public:
  Machine();
  // Back to a fresh machine: 64-bit Windows 10, a 64-bit process (the
  // install program as it runs there), the executable in C:\Setup,
  // the documents and fonts folders and the spooler's driver folder present,
  // the "Spooler" and "PcaSvc" services running, nothing staged.
  void Reset();
  std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock<std::recursive_mutex>(mutex_); }

  // Waits until every thread started through CreateThread, and every
  // program started through CreateProcessW, has ended.
  void JoinThreads();

  // A new handle value, unique for the machine's lifetime, owned by the
  // calling process.
  plat::Handle NewHandle();

  // The process `process` dies right after its next `calls` platform calls.
  void KillAfter(int process, size_t calls);
  // Ends `process` as the system does when it dies: every handle it owns
  // closes, a mutex it holds is abandoned, a program it started runs on.
  void CloseHandlesOf(int process);

  // True when the running spooler holds `path` open: an existing file below
  // its driver folder while the "Spooler" service is not stopped. It reads
  // them shared, so writing, deleting or an unshared open fails with a
  // sharing violation.
  bool SpoolerHolds(const std::wstring& path);

  Transcript transcript;
  // Called at the start of every simulated operation, after it is recorded,
  // under the machine's lock: a test acts at a chosen moment of a road.
  std::function<void(const Call&)> onCall;
  Faults faults;
  Clock clock;
  FileSystem fs;
  Registry registry;
  KernelState kernel;
  std::map<int, std::wstring> specialFolders;
  DeviceTree devices;
  CursorState cursor;
  ServiceManager services;
  Spooler spooler;
  InfStore infStore;
  Threads threads;
  Windows windows;
  Processes processes;
  NamedObjects namedObjects;
  Console console;
  Deaths deaths;

 private:
  std::map<uintptr_t, int> handleOwners_;
  std::recursive_mutex mutex_;
  uintptr_t nextHandle_ = 0x1000;
};

Machine& machine();

// How the transcript shows a folder created for Administrators and SYSTEM only.
inline constexpr wchar_t kAdministratorsOnly[] = L"(administrators only)";

// The start of every simulated operation, made while holding the machine's lock:
// records the call and applies an injected fault. When the call is to fail,
// sets the thread's last error and returns true.
bool Enter(const char* op, std::wstring detail = {});

// The process of the calling thread: 1 for the test's own threads, a new
// number for each program that CreateProcessW starts; a thread that
// CreateThread starts belongs to its creator's process.
int ProcessId();
void SetProcessId(int process);
// The calling process's own bitness where it differs from the machine's
// default (kernel.processArchitecture), e.g. a 64-bit program that a 32-bit
// one started; 0 for the default.
void SetProcessArchitecture(uint16_t architecture);
uint16_t ProcessArchitecture();
// True when the calling process is dead: an operation whose failure Enter
// cannot report must then take no effect either.
bool Gone();

inline uintptr_t Id(plat::Handle h) { return reinterpret_cast<uintptr_t>(h); }

}  // namespace sim
