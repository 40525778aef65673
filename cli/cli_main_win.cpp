// quendry-cli.exe: the wizard's console companion. Reads the same system through the same
// adapters as the wizard and runs the command its arguments name (cli_run.h).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/registration_host_win.h"
#include "app/system_api_win.h"
#include "bitness/file_probe_win.h"
#include "bitness/machine_facts_win.h"
#include "cli/cli_host_win.h"
#include "cli/cli_run.h"
#include "cli/console_stop_win.h"
#include "cli/event_log_win.h"
#include "registry/registry_api_win.h"
#include "repair/com_api_win.h"
#include "repair/dll_search_win.h"
#include "repair/host_registrar_win.h"
#include "repair/library_api_win.h"
#include "repair/own_image_win.h"
#include "repair/version_api_win.h"
#include "text/win_text.h"

namespace {

// The same kind of registrar as the wizard's (app/main_win.cpp): registrations run in a host
// process, this program started again with the host switch, so that a broken library can't take
// the run down. Nothing to repaint while one waits: there is no window.
std::unique_ptr<OutOfProcessRegistrar>
MakeRegistrar(ILibraryApi& libraries, IProviderChecker& inProcessChecks, IRegistryApi& registry) {
    HostRegistrarOptions options;
    options.InProcessChecks = &inProcessChecks;
    options.ClassRegistry = &registry;
    return std::make_unique<OutOfProcessRegistrar>(libraries, options);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Before anything loads a library by name: never from the program's folder or the current
    // directory, where a planted copy would run with administrator rights.
    HardenDllSearch();
    // A registration host is started from this file alone: it can't be changed or renamed now.
    HoldOwnImage();
    if (argc == 3) {
        if (HANDLE pipe = RegistrationHostPipe((std::wstring(argv[1]) + L" " + argv[2]).c_str()))
            return RunRegistrationHost(pipe);
    }

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Narrow(argv[i]));

    WinSystem system;
    Win32RegistryApi registry;
    Win32VersionApi versions;
    Win32LibraryApi libraries;
    WinCliHost host;
    Win32ComApi objects;
    InProcessProviderChecker inProcessChecks(registry, objects);
    const std::unique_ptr<OutOfProcessRegistrar> registrar =
        MakeRegistrar(libraries, inProcessChecks, registry);
    WinFileProbe files;
    WinMachineFacts machine;
    WinEventLog eventLog;
    CliPlatform platform{system,     registry, versions, libraries, *registrar,
                         *registrar, host,     files,    machine,   &eventLog};
    const int exitCode = RunCli(args, platform);
    ConsoleWorkDone();
    return exitCode;
}
