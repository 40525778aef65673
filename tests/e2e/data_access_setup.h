#pragma once
// What a case of the answer on databases puts on the machine: fixture providers and drivers of
// both architectures, each registered in the view it belongs to, and files it writes; all removed
// again when the case ends.
#include <windows.h>

#include <string>
#include <vector>

#include "driver.h"
#include "fixtures/layout.h"

inline constexpr const wchar_t* kAceClsid = L"{3BE786A2-0366-4F5C-9434-25CF162E475E}";
inline constexpr const wchar_t* kJetClsid = L"{DEE35070-506B-11CF-B1AA-00AA00B8DE95}";
inline constexpr const wchar_t* kJetDriver = L"Microsoft Access Driver (*.mdb)";
inline constexpr const wchar_t* kAceDriver = L"Microsoft Access Driver (*.mdb, *.accdb)";
inline constexpr const wchar_t* kExcelDriver =
    L"Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)";
inline constexpr const wchar_t* kTestFolder = L"C:\\QuendryTest";
inline constexpr const wchar_t* kAce64Folder =
    L"C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16";

// What a case puts on the machine: registry values, each in its view, and copies of the fixture
// libraries under C:\QuendryTest. Keys are made level by level, so that only the keys it made are
// removed again, with the values it set and the files it copied, when the case ends.
class DataAccessSetup {
public:
    ~DataAccessSetup() {
        for (auto it = m_values.rbegin(); it != m_values.rend(); ++it) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(it->Root, it->Path.c_str(), 0, KEY_SET_VALUE | it->View, &key) ==
                ERROR_SUCCESS) {
                RegDeleteValueW(key, it->Name.c_str());
                RegCloseKey(key);
            }
        }
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
            RegDeleteKeyExW(it->Root, it->Path.c_str(), it->View, 0);
        for (auto it = m_files.rbegin(); it != m_files.rend(); ++it)
            DeleteFileW(it->c_str());
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
            RemoveDirectoryW(it->c_str());
    }

    void Value(HKEY root, REGSAM view, const std::wstring& path, const std::wstring& name,
               const std::wstring& data, DWORD type = REG_SZ) {
        HKEY key = nullptr;
        for (size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
            const std::wstring level = path.substr(0, end);
            if (key != nullptr)
                RegCloseKey(key);
            DWORD disposition = 0;
            if (RegCreateKeyExW(root, level.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                                &key, &disposition) != ERROR_SUCCESS) {
                Ok = false;
                return;
            }
            if (disposition == REG_CREATED_NEW_KEY)
                m_made.push_back({root, view, level, {}});
            if (end == std::wstring::npos)
                break;
        }
        Ok &= RegSetValueExW(
                  key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(key);
        m_values.push_back({root, view, path, name});
    }

    // The folder, every level of it that is missing made (and removed again at the end).
    std::wstring Folder(const std::wstring& path) {
        for (size_t end = path.find(L'\\', 3);; end = path.find(L'\\', end + 1)) {
            const std::wstring level = path.substr(0, end);
            if (CreateDirectoryW(level.c_str(), nullptr))
                m_folders.push_back(level);
            if (end == std::wstring::npos)
                return path;
        }
    }
    static std::wstring TestFolder(const wchar_t* name) {
        return std::wstring(kTestFolder) + L"\\" + name;
    }

    // A copy of the fixture library as <folder>\<name>; its path.
    std::wstring Library(const char* fixture, const std::wstring& folder, const wchar_t* name) {
        const std::wstring path = Folder(folder) + L"\\" + name;
        if (CopyFileW(Wide(fixtures::FixturesDirectory() + "\\" + fixture).c_str(), path.c_str(),
                      TRUE))
            m_files.push_back(path);
        else
            Ok = false;
        return path;
    }

    // The two libraries nobody loads: one of each architecture.
    std::wstring Library32(const wchar_t* name) {
        return Library(sizeof(void*) == 4 ? "fixture_library.dll" : "fixture_otherarch.dll",
                       TestFolder(L"32"), name);
    }
    std::wstring Library64(const wchar_t* name) {
        return Library(sizeof(void*) == 8 ? "fixture_library.dll" : "fixture_otherarch.dll",
                       TestFolder(L"64"), name);
    }

    void Provider(REGSAM view, const wchar_t* progId, const wchar_t* clsid,
                  const std::wstring& file, DWORD type = REG_SZ) {
        const std::wstring classes = L"Software\\Classes\\";
        Value(HKEY_LOCAL_MACHINE, view, classes + progId + L"\\CLSID", L"", clsid);
        Value(HKEY_LOCAL_MACHINE, view, classes + L"CLSID\\" + clsid + L"\\InprocServer32", L"",
              file, type);
        Value(HKEY_LOCAL_MACHINE, view, classes + L"CLSID\\" + clsid + L"\\InprocServer32",
              L"ThreadingModel", L"Both");
    }
    void Driver(REGSAM view, const wchar_t* name, const std::wstring& file,
                const wchar_t* extensions) {
        const std::wstring odbcinst = L"Software\\ODBC\\ODBCINST.INI";
        Value(HKEY_LOCAL_MACHINE, view, odbcinst + L"\\ODBC Drivers", name, L"Installed");
        Value(HKEY_LOCAL_MACHINE, view, odbcinst + L"\\" + name, L"Driver", file);
        Value(HKEY_LOCAL_MACHINE, view, odbcinst + L"\\" + name, L"FileExtns", extensions);
    }
    void Source(HKEY root, REGSAM view, const wchar_t* name, const wchar_t* driver) {
        Value(root, view, L"Software\\ODBC\\ODBC.INI\\ODBC Data Sources", name, driver);
    }

    // Jet as Windows brings it, for 32-bit programs: its provider serves its class.
    void Jet32() {
        Provider(KEY_WOW64_32KEY, L"Microsoft.Jet.OLEDB.4.0", kJetClsid,
                 Library("fixture_jetprovider.dll", TestFolder(L"32"), L"msjetoledb40.dll"));
        Driver(KEY_WOW64_32KEY, kJetDriver, Library32(L"ODBCJT32.DLL"), L"*.mdb");
    }
    // The engine where its installer puts it, named as it names it: %CommonProgramFiles% means
    // the 64-bit folder here, not this 32-bit process's "(x86)" one.
    void Ace64() {
        Library(sizeof(void*) == 8 ? "fixture_library.dll" : "fixture_otherarch.dll", kAce64Folder,
                L"ACEOLEDB.DLL");
        Provider(KEY_WOW64_64KEY, L"Microsoft.ACE.OLEDB.16.0", kAceClsid,
                 L"%CommonProgramFiles%\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL", REG_EXPAND_SZ);
        const std::wstring odbc = Library64(L"ACEODBC.DLL");
        Driver(KEY_WOW64_64KEY, kAceDriver, odbc, L"*.mdb,*.accdb");
        Driver(KEY_WOW64_64KEY, kExcelDriver, odbc, L"*.xls,*.xlsx,*.xlsm,*.xlsb");
    }

    // A file of these bytes as C:\QuendryTest\<folder>\<name>; its path.
    std::wstring File(const wchar_t* folder, const wchar_t* name,
                      const std::vector<uint8_t>& bytes) {
        const std::wstring path = Folder(TestFolder(folder)) + L"\\" + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        Ok &= file != INVALID_HANDLE_VALUE &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            m_files.push_back(path);
        }
        return path;
    }

    bool Ok = true;

private:
    struct Made {
        HKEY Root;
        REGSAM View;
        std::wstring Path;
        std::wstring Name;
    };
    std::vector<Made> m_made, m_values;
    std::vector<std::wstring> m_files, m_folders;
};
