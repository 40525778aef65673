/* Stands in for the browser in end-to-end tests: registered as the shell's handler for http and
 * https, it appends the address it was given as one line to a file and ends.
 * Command line: url_recorder.exe RECORD-FILE ADDRESS */
#include <windows.h>

#include <shellapi.h>

static BOOL AppendLine(const wchar_t* file, const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    if (n <= 0)
        return FALSE;
    char* line = (char*)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)n + 1);
    if (!line)
        return FALSE;
    WideCharToMultiByte(CP_UTF8, 0, text, -1, line, n, NULL, NULL);
    line[n - 1] = '\n';
    BOOL ok = FALSE;
    /* Two openings at nearly the same moment must both be recorded: wait while the other one
     * holds the file. */
    for (int attempt = 0; attempt < 100 && !ok; ++attempt) {
        HANDLE h = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
        if (h == INVALID_HANDLE_VALUE) {
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        ok = WriteFile(h, line, (DWORD)n, &written, NULL) && written == (DWORD)n;
        CloseHandle(h);
    }
    HeapFree(GetProcessHeap(), 0, line);
    return ok;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR cmdLine, int show) {
    (void)instance;
    (void)previous;
    (void)cmdLine;
    (void)show;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    /* Without an address the opening is still recorded, as an empty line. */
    const BOOL ok = AppendLine(argv[1], argc >= 3 ? argv[2] : L"");
    LocalFree(argv);
    return ok ? 0 : 1;
}
