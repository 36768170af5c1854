// CSetupApp: the process frame of QuillexSetup.exe. Common controls, restart
// registration, the error box as the engine's presenter, the fonts, the
// start-up service thread, the modal wizard, and the compatibility assistant
// started again at the end if the service thread stopped it, once that
// thread has finished (waited for within a bound). Before anything else,
// DLLs come from the system folder only; then the installation lock, held
// until exit: a second wizard brings the first to the front and leaves, or
// says that another installation runs where it finds no window of it.
#include <windows.h>
#include <commctrl.h>

#include "app/setup_app.h"
#include "engine/installation_lock.h"
#include "platform/dll_search.h"
#include "report/app_title.h"
#include "report/error_report.h"
#include "ui/dlg_mes_error.h"
#include "ui/setup_dlg.h"

namespace {

class CSetupApp {
 public:
  // Runs the installer to its end; no message loop follows the wizard.
  void InitInstance() {
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    ::InitCommonControlsEx(&controls);
    // The restart manager may restart the installer; no recovery.
    ::RegisterApplicationRestart(nullptr, 0);
    SetErrorPresenter(&PresentInstallError);
    InstallFonts();
    StartServiceThread(m_services);
    {
      CSetupDlg wizard;
      wizard.DoModal(nullptr);
      RestoreServicesAtExit(m_services);
    }
  }

 private:
  // Static: a service thread the exit gave up waiting for may still write it.
  static inline ServiceThreadRecord m_services;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The installer runs elevated from wherever it was downloaded to: no DLL
  // loaded from here on, by this program or by a system DLL on its behalf,
  // may come from that folder.
  plat::RestrictDllSearchToSystemFolder();
  CInstallationLock lock;
  if (!lock.Acquire()) {
    AnswerAnotherInstallation();
    return 0;
  }
  CSetupApp app;
  app.InitInstance();
  return 0;
}
