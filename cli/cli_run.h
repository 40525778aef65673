#pragma once
// quendry-cli: the console companion of the wizard. Reads its arguments, runs the command and
// gives the exit code (exit_codes.h). Everything it judges comes from the wizard's own core.
#include <string>
#include <vector>

#include "app/system_api.h"
#include "bitness/file_probe.h"
#include "bitness/machine_facts.h"
#include "cli_host.h"
#include "event_log.h"
#include "registry/registry_api.h"
#include "repair/library_api.h"
#include "repair/provider_check.h"
#include "repair/registrar.h"
#include "repair/version_api.h"
#include "text/language.h"

struct CliPlatform {
    ISystem& System;
    IRegistryApi& Registry;
    IVersionApi& Versions;
    ILibraryApi& Libraries;
    IRegistrar& Registrar;
    IProviderChecker& Providers; // where the data providers' classes are created
    ICliHost& Host;
    IFileProbe& Files; // the data-access libraries and a named program, read as files
    IMachineFacts& Machine;
    IEventLog* EventLog = nullptr; // where --event-log writes; null: nowhere
};

// `args` without the program's name. Raises nothing: an error that would leave it is written to
// the error stream and ends in kExitAttention.
int RunCli(const std::vector<std::string>& args, CliPlatform& platform);

// The usage text in `lang`, preceded by the reason when `args` were wrong.
std::string UsageText(const std::vector<std::string>& args, Language lang);
