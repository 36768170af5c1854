#include "platform/sim/machine.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <set>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/services.h"
#include "platform/shell.h"

namespace sim {

void Transcript::Record(std::string op, std::wstring detail) {
  calls_.push_back({std::move(op), std::move(detail), ProcessId()});
}

std::vector<std::string> Transcript::Ops(const std::vector<std::string>& ops) const {
  std::vector<std::string> out;
  for (const Call& c : calls_) {
    bool wanted = ops.empty();
    for (const std::string& o : ops) wanted = wanted || o == c.op;
    if (wanted) out.push_back(c.op);
  }
  return out;
}

size_t Transcript::Count(const std::string& op) const {
  size_t n = 0;
  for (const Call& c : calls_) n += c.op == op;
  return n;
}

void Faults::Fail(const std::string& op, uint32_t error, int nth, int times) {
  rules_[op].push_back({error, nth - 1, times});
}

std::optional<uint32_t> Faults::Hit(const std::string& op) {
  auto it = rules_.find(op);
  if (it == rules_.end()) return std::nullopt;
  std::optional<uint32_t> result;
  for (Rule& r : it->second) {
    if (r.skip > 0) {
      --r.skip;
    } else if (r.times > 0) {
      --r.times;
      if (!result) result = r.error;
    }
  }
  return result;
}

void Clock::SetLocalTime(const plat::SystemTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  baseEpochMs_ = static_cast<int64_t>(timegm(&tm)) * 1000 + t.milliseconds - static_cast<int64_t>(nowMs_);
}

plat::SystemTime Clock::LocalTime() const {
  int64_t ms = baseEpochMs_ + static_cast<int64_t>(nowMs_);
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  plat::SystemTime t;
  t.year = static_cast<uint16_t>(tm.tm_year + 1900);
  t.month = static_cast<uint16_t>(tm.tm_mon + 1);
  t.dayOfWeek = static_cast<uint16_t>(tm.tm_wday);
  t.day = static_cast<uint16_t>(tm.tm_mday);
  t.hour = static_cast<uint16_t>(tm.tm_hour);
  t.minute = static_cast<uint16_t>(tm.tm_min);
  t.second = static_cast<uint16_t>(tm.tm_sec);
  t.milliseconds = static_cast<uint16_t>(ms % 1000);
  return t;
}

void Registry::SetDword(const std::wstring& key, const std::wstring& name, uint32_t value) {
  RegistryValue& v = keys[FileSystem::Key(key)][FileSystem::Key(name)];
  v.isDword = true;
  v.dword = value;
}

void Registry::SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  RegistryValue& v = keys[FileSystem::Key(key)][FileSystem::Key(name)];
  v.isDword = false;
  v.text = value;
}

bool Deaths::IsDead(int process) const { return std::find(dead.begin(), dead.end(), process) != dead.end(); }

namespace {

// Windows' exit code for a process ended from outside (TerminateProcess).
constexpr uint32_t kErrorProcessAborted = 1067;

// The operations that handle owners call from their destructors.
const std::set<std::string> kReleases = {"CloseHandle", "FindClose",  "CloseServiceHandle",
                                         "ClosePrinter", "RegCloseKey", "SetupDiDestroyDeviceInfoList",
                                         "ReleaseMutex", "SetCursor", "ClosePrivateNamespace"};

thread_local int t_process = 1;
thread_local uint16_t t_architecture = 0;

}  // namespace

int ProcessId() { return t_process; }

void SetProcessId(int process) {
  t_process = process;
  t_architecture = 0;
}

void SetProcessArchitecture(uint16_t architecture) { t_architecture = architecture; }

uint16_t ProcessArchitecture() { return t_architecture ? t_architecture : machine().kernel.processArchitecture; }

bool Gone() { return machine().deaths.IsDead(t_process); }

Machine::Machine() { Reset(); }

plat::Handle Machine::NewHandle() {
  handleOwners_[nextHandle_] = ProcessId();
  return reinterpret_cast<plat::Handle>(nextHandle_++);
}

void Machine::KillAfter(int process, size_t calls) {
  deaths.victim = process;
  deaths.callsLeft = calls;
}

void Machine::CloseHandlesOf(int process) {
  for (auto it = handleOwners_.begin(); it != handleOwners_.end();) {
    if (it->second != process) {
      ++it;
      continue;
    }
    const uintptr_t h = it->first;
    fs.open.erase(h);
    fs.searches.erase(h);
    registry.open.erase(h);
    spooler.open.erase(h);
    services.open.erase(h);
    devices.sets.erase(h);
    devices.openEndpoints.erase(h);
    if (auto named = namedObjects.open.find(h); named != namedObjects.open.end()) {
      auto object = namedObjects.byName.find(named->second);
      if (--object->second.handles == 0) namedObjects.byName.erase(object);
      namedObjects.open.erase(named);
    }
    if (auto started = processes.open.find(h); started != processes.open.end()) {
      if (started->second->thread.joinable()) threads.running.push_back(std::move(started->second->thread));
      processes.open.erase(started);
    }
    it = handleOwners_.erase(it);
  }
  for (auto& [name, object] : namedObjects.byName)
    if (object.owner && object.ownerProcess == process) {
      object.owner.reset();
      object.recursion = 0;
      object.abandoned = true;
    }
}

void Machine::JoinThreads() {
  for (;;) {
    std::vector<std::thread> started;
    {
      auto lock = Lock();
      started.swap(threads.running);
      for (auto& [handle, process] : processes.open)
        if (process->thread.joinable()) started.push_back(std::move(process->thread));
    }
    if (started.empty()) return;
    for (std::thread& t : started) t.join();  // without the lock: the threads need it
  }
}

void Machine::Reset() {
  JoinThreads();
  auto lock = Lock();
  transcript = Transcript();
  faults = Faults();
  onCall = nullptr;
  clock = Clock();
  clock.SetLocalTime({2026, 12, 3, 9, 9, 5, 3, 12});
  fs = FileSystem();
  registry = Registry();
  devices = DeviceTree();
  devices.classNames[L"PORTS"] = {{0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}}};
  cursor = CursorState();
  kernel = KernelState();
  kernel.moduleFileName = L"C:\\Setup\\QuillexSetup.exe";
  kernel.messages = {
      {plat::kErrorSuccess, L"The operation completed successfully.\r\n"},
      {plat::kErrorFileNotFound, L"The system cannot find the file specified.\r\n"},
      {plat::kErrorPathNotFound, L"The system cannot find the path specified.\r\n"},
      {plat::kErrorAccessDenied, L"Access is denied.\r\n"},
      {plat::kErrorSharingViolation,
       L"The process cannot access the file because it is being used by another process.\r\n"},
      {plat::kErrorServiceAlreadyRunning, L"An instance of the service is already running.\r\n"},
      {plat::kErrorServiceDoesNotExist, L"The specified service does not exist as an installed service.\r\n"},
      {plat::kErrorServiceCannotAcceptCtrl, L"The service cannot accept control messages at this time.\r\n"},
      {plat::kErrorServiceNotActive, L"The service has not been started.\r\n"},
      {plat::kErrorTimeout, L"This operation returned because the timeout period expired.\r\n"},
      {plat::kErrorNotFound, L"Element not found.\r\n"},
  };
  specialFolders = {
      {plat::kCsidlPersonal, L"C:\\users\\Quillex\\Documents"},
      {plat::kCsidlFonts, L"C:\\windows\\Fonts"},
      {plat::kCsidlWindows, L"C:\\windows"},
      {plat::kCsidlProgramFiles, L"C:\\Program Files"},
      {plat::kCsidlProgramFilesX86, L"C:\\Program Files (x86)"},
  };
  fs.AddDirectory(L"C:\\windows\\Temp");
  fs.AddDirectory(L"C:\\Setup");
  for (const auto& [csidl, path] : specialFolders) fs.AddDirectory(path);
  services = ServiceManager();
  services.Add(L"Spooler", plat::kServiceRunning);
  services.Add(L"PcaSvc", plat::kServiceRunning);
  spooler = Spooler();
  spooler.driverDirectory = L"C:\\windows\\system32\\spool\\drivers\\x64";
  fs.AddDirectory(spooler.driverDirectory);
  infStore = InfStore();
  windows = Windows();
  processes = Processes();
  namedObjects = NamedObjects();
  console = Console();
  deaths = Deaths();
  handleOwners_.clear();
  SetProcessId(1);
}

bool Machine::SpoolerHolds(const std::wstring& path) {
  uint32_t state = services.StateAt(L"Spooler", clock.NowMs());
  if (state == 0 || state == plat::kServiceStopped) return false;
  const FileSystem::Node* node = fs.Find(path);
  if (!node || node->directory) return false;
  std::wstring key = FileSystem::Key(path), folder = FileSystem::Key(spooler.driverDirectory) + L"\\";
  return key.compare(0, folder.size(), folder) == 0;
}

Machine& machine() {
  static Machine m;
  return m;
}

bool Enter(const char* op, std::wstring detail) {
  Machine& m = machine();
  const int process = ProcessId();
  if (m.deaths.victim == process) {
    if (m.deaths.callsLeft > 0) {
      --m.deaths.callsLeft;
    } else {
      m.deaths.victim = 0;
      m.deaths.dead.push_back(process);
      m.CloseHandlesOf(process);
    }
  }
  if (m.deaths.IsDead(process)) {
    // The calls that destructors make (closing, releasing, the cursor back)
    // and every call while the kill unwinds the thread fail without effect:
    // a destructor cannot let the kill pass.
    if (std::uncaught_exceptions() > 0 || kReleases.count(op)) {
      plat::SetLastError(kErrorProcessAborted);
      return true;
    }
    throw ProcessKilled{};
  }
  m.transcript.Record(op, detail);
  if (m.onCall) m.onCall({op, std::move(detail)});
  if (auto error = m.faults.Hit(op)) {
    plat::SetLastError(*error);
    return true;
  }
  return false;
}

}  // namespace sim
