// Quendry.exe: creates the main window, loads it and runs its messages until it is unloaded.
#include <windows.h>

#include "databases_window_open_win.h"
#include "form_win.h"
#include "frm_main.h"
#include "paint_pending_win.h"
#include "registration_host_win.h"
#include "registry/registry_api_win.h"
#include "repair/com_api_win.h"
#include "repair/dll_search_win.h"
#include "repair/host_registrar_win.h"
#include "repair/library_api_win.h"
#include "repair/own_image_win.h"
#include "repair/version_api_win.h"
#include "system_api_win.h"
#include "tooltips/tooltip_window_api_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int nCmdShow) {
    // Before anything loads a library by name: never from the program's folder or the current
    // directory, where a planted copy would run with administrator rights.
    HardenDllSearch();
    // From here on the program's file can be neither changed nor renamed while it runs: a
    // registration host is started from it alone.
    HoldOwnImage();
    // Started by the wizard itself to run registrations that a broken library can't take down.
    if (HANDLE pipe = RegistrationHostPipe(commandLine))
        return RunRegistrationHost(pipe);
    WinSystem system;
    Win32RegistryApi registry;
    Win32VersionApi versions;
    Win32LibraryApi libraries;
    WinForm form;
    // Registrations run in a host process; the window stays drawn while one takes long.
    // Where no host can be run at all, the data providers are checked here, as registrations are.
    Win32ComApi objects;
    InProcessProviderChecker inProcessChecks(registry, objects);
    HostRegistrarOptions hostOptions;
    hostOptions.InProcessChecks = &inProcessChecks;
    hostOptions.ClassRegistry = &registry;
    hostOptions.WhileWaiting = PaintPendingWindows;
    OutOfProcessRegistrar registrar(libraries, hostOptions);
    form.BeforeSessionEnds = [&registrar] { registrar.Stop(); };
    TooltipWindowApiWin tooltips;
    frmMain frm(form, system, registry, versions, libraries, registrar, registrar, tooltips,
                reinterpret_cast<uintptr_t>(instance));
    WinDatabasesWindow databases(registry, registrar, instance);
    frm.UseDatabasesWindow(&databases);
    frm.Form_Initialize();
    if (!form.Create(instance, frm, frm.View()))
        return 1;
    frm.Form_Load();
    form.Show(nCmdShow);
    return form.Run();
}
