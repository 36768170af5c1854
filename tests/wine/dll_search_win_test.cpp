// DLLs from the system folder only: the lazily bound libraries and their
// failures, and planted DLLs beside a program on the installer's backends.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "platform/win32/system_library.h"
#include "wine_support.h"

namespace {

// The whole Windows-side suite runs under the installer's DLL search, so
// that the backends and Wine's spooler (which loads the driver's and the
// monitor's DLLs into this process) are exercised as the installer runs them.
class RestrictedDllSearch : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(plat::RestrictDllSearchToSystemFolder()); }
};
::testing::Environment* const kRestrictedDllSearch =
    ::testing::AddGlobalTestEnvironment(new RestrictedDllSearch);

TEST(SystemLibraryWinTest, AMissingDllFailsEveryUseWithModuleNotFound) {
  plat::SystemLibrary missing(L"qx-no-such-library.dll");
  plat::SystemProc<BOOL(WINAPI*)()> entry(missing, "Anything");
  for (int use = 0; use < 2; ++use) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(missing.Module(), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(entry.Get(), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  }
}

TEST(SystemLibraryWinTest, EntryPointsByNameAndOrdinalAndAMissingOne) {
  plat::SystemLibrary winspool(L"winspool.drv");
  plat::SystemProc<decltype(&::ClosePrinter)> byName(winspool, "ClosePrinter");
  plat::SystemProc<BOOL(WINAPI*)(LPCWSTR)> byOrdinal(winspool, 204);
  plat::SystemProc<BOOL(WINAPI*)()> missing(winspool, "QxNoSuchExport");
  EXPECT_EQ(reinterpret_cast<void*>(byName.Get()),
            reinterpret_cast<void*>(GetProcAddress(winspool.Module(), "ClosePrinter")));
  EXPECT_NE(byOrdinal.Get(), nullptr);
  for (int use = 0; use < 2; ++use) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(missing.Get(), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  }
  // A missing entry point leaves the others usable.
  EXPECT_NE(byName.Get(), nullptr);
}

// The probe program and, under each name the backends bind on first use, the
// planted DLL, in a folder of their own that goes away with the object.
class PlantedFolder {
  using Owned = std::unique_ptr<void, decltype(&CloseHandle)>;

 public:
  static constexpr const wchar_t* kNames[] = {L"winspool.drv", L"newdev.dll", L"msimg32.dll"};

  PlantedFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"qx-planted-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    std::filesystem::create_directories(m_folder);
    const std::wstring built = wine::ExeFolder();
    Copy(built + L"dll_search_probe.exe", m_folder + L"dll_search_probe.exe");
    for (const wchar_t* name : kNames) Copy(built + L"planted_dll.dll", m_folder + name);
  }
  ~PlantedFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  // Runs the probe in `mode`; its exit code, or -1 when it did not run.
  int Run(const std::wstring& mode) {
    std::wstring command = L"\"" + m_folder + L"dll_search_probe.exe\" " + mode;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(), &startup,
                        &process))
      return -1;
    Owned thread(process.hThread, &CloseHandle), child(process.hProcess, &CloseHandle);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(child.get(), 60000) != WAIT_OBJECT_0) {
      TerminateProcess(child.get(), code);
      return -1;
    }
    GetExitCodeProcess(child.get(), &code);
    return static_cast<int>(code);
  }

  bool Marked(const wchar_t* name) const { return std::filesystem::exists(m_folder + name + L".planted"); }

  void ClearMarks() const {
    for (const wchar_t* name : kNames) std::filesystem::remove(m_folder + name + L".planted");
  }

 private:
  static void Copy(const std::wstring& from, const std::wstring& to) {
    ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << "copy of " << std::filesystem::path(from).string();
  }

  std::wstring m_folder;
};

// Wine loads its own builtin DLL even where a planted file comes first in the
// search, and names it after that file. Overrides that put native DLLs first
// for the probe alone make Wine's loader go by the search order, as Windows
// does; the probe's default-search run checks that they took effect.
class NativeFirstForProbe {
 public:
  NativeFirstForProbe() {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const wchar_t* name : {L"winspool.drv", L"newdev", L"msimg32"}) {
      const wchar_t order[] = L"native,builtin";
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    }
    RegCloseKey(key);
  }
  ~NativeFirstForProbe() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\dll_search_probe.exe"); }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\dll_search_probe.exe\\DllOverrides";
};

std::string Narrow(const wchar_t* name) { return std::filesystem::path(name).string(); }

TEST(DllPlantingWinTest, NeitherTheBackendsNorTheRestrictedSearchTakeAPlantedDll) {
  NativeFirstForProbe overrides;
  PlantedFolder folder;

  // The control: under the default search the planted DLLs are the ones
  // loaded, as they would be for static imports. Without it, the runs below
  // could not fail.
  ASSERT_EQ(folder.Run(L"default"), static_cast<int>(std::size(PlantedFolder::kNames)));
  for (const wchar_t* name : PlantedFolder::kNames)
    ASSERT_TRUE(folder.Marked(name)) << "Wine's loader did not take the planted " << Narrow(name)
                                     << ": this test shows nothing here";

  for (const wchar_t* mode : {L"backends", L"restricted"}) {
    folder.ClearMarks();
    EXPECT_EQ(folder.Run(mode), 0) << Narrow(mode);
    for (const wchar_t* name : PlantedFolder::kNames)
      EXPECT_FALSE(folder.Marked(name)) << Narrow(mode) << ": " << Narrow(name) << " loaded from beside the program";
  }
}

// Bound to a DLL without their entry points (a planted one that got loaded
// before them), the backends fail their calls with ERROR_PROC_NOT_FOUND
// instead of crashing.
TEST(DllPlantingWinTest, BackendsBoundToAForeignDllFailTheirCallsCleanly) {
  NativeFirstForProbe overrides;
  PlantedFolder folder;
  EXPECT_EQ(folder.Run(L"stranded"), 0);
}

}  // namespace
