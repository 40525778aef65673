#pragma once
// What a process started suspended has mapped as its program, read before it runs a single
// instruction: compared with the file that was checked, it tells whether the process that starts
// is that file, whatever a path named when the process was created (a folder flipped to another
// by a junction, a share that serves another file on the second open).
#include <windows.h>

#include <cstdint>
#include <vector>

// Whether `process` (suspended since its creation, with PROCESS_VM_READ and
// PROCESS_QUERY_INFORMATION access) maps `file`, every section of it, as the loader made it.
bool ProcessMapsFile(HANDLE process, const std::vector<uint8_t>& file);
