#include "registry_snapshot.h"

#include <algorithm>
#include <deque>

namespace {
struct Pending {
    HKEY Root;
    REGSAM View;
    std::wstring Label, Path;
    int Depth;
};

// Every key is a trip to Wine's server per call, and a trip mostly waits: one walker took half a
// minute over the 76,000 values of a fresh prefix, so several walkers share a queue of keys.
class Walk {
public:
    Walk() { InitializeCriticalSection(&m_lock); }
    ~Walk() { DeleteCriticalSection(&m_lock); }

    void Add(HKEY root, REGSAM view, const wchar_t* label) {
        m_queue.push_back({root, view, label, L"", 0});
        ++m_outstanding;
    }

    RegistrySnapshot Run() {
        constexpr int kWalkers = 8;
        HANDLE threads[kWalkers] = {};
        int started = 0;
        for (; started < kWalkers; ++started)
            if (!(threads[started] = CreateThread(nullptr, 0, &Walk::Walker, this, 0, nullptr)))
                break;
        if (started == 0)
            Walker(this);
        WaitForMultipleObjects(started, threads, TRUE, INFINITE);
        for (int i = 0; i < started; ++i)
            CloseHandle(threads[i]);
        return std::move(m_out);
    }

private:
    static DWORD WINAPI Walker(LPVOID self) {
        static_cast<Walk*>(self)->Work();
        return 0;
    }

    void Work() {
        for (;;) {
            EnterCriticalSection(&m_lock);
            if (m_outstanding == 0) {
                LeaveCriticalSection(&m_lock);
                return;
            }
            if (m_queue.empty()) { // others are still reading keys that may have subkeys
                LeaveCriticalSection(&m_lock);
                Sleep(1);
                continue;
            }
            Pending key = std::move(m_queue.front());
            m_queue.pop_front();
            LeaveCriticalSection(&m_lock);

            RegistrySnapshot found;
            std::vector<Pending> subkeys;
            Read(key, found, subkeys);

            EnterCriticalSection(&m_lock);
            m_out.merge(found);
            for (auto& sub : subkeys)
                m_queue.push_back(std::move(sub));
            m_outstanding += subkeys.size();
            --m_outstanding;
            LeaveCriticalSection(&m_lock);
        }
    }

    static void Read(const Pending& at, RegistrySnapshot& out, std::vector<Pending>& subkeys) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(at.Root, at.Path.empty() ? nullptr : at.Path.c_str(), 0,
                          KEY_READ | at.View, &key) != ERROR_SUCCESS)
            return;
        const std::wstring here = at.Label + (at.Path.empty() ? L"" : L"\\" + at.Path);
        out[here + L"\\\\"] = {}; // the key itself
        DWORD subCount = 0, maxSubName = 0, valueCount = 0, maxValueName = 0, maxData = 0;
        if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subCount, &maxSubName, nullptr,
                             &valueCount, &maxValueName, &maxData, nullptr,
                             nullptr) != ERROR_SUCCESS) {
            RegCloseKey(key);
            return;
        }
        std::vector<wchar_t> name(std::max(maxSubName, maxValueName) + 1);
        std::vector<BYTE> data(maxData + 1);
        for (DWORD i = 0; i < valueCount; ++i) {
            DWORD nameLen = static_cast<DWORD>(name.size()), type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            LONG rc =
                RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &size);
            if (rc == ERROR_MORE_DATA) { // written since the key was asked about
                data.resize(size);
                nameLen = static_cast<DWORD>(name.size());
                rc = RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(),
                                   &size);
            }
            if (rc != ERROR_SUCCESS)
                break;
            out[here + L"\\\\" + std::wstring(name.data(), nameLen)] = {
                type, std::vector<BYTE>(data.begin(), data.begin() + size)};
        }
        // Links (CurrentControlSet and the like) can make the tree a cycle.
        for (DWORD i = 0; at.Depth < 40 && i < subCount; ++i) {
            DWORD nameLen = static_cast<DWORD>(name.size());
            if (RegEnumKeyExW(key, i, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            const std::wstring sub(name.data(), nameLen);
            subkeys.push_back({at.Root, at.View, at.Label,
                               at.Path.empty() ? sub : at.Path + L"\\" + sub, at.Depth + 1});
        }
        RegCloseKey(key);
    }

    CRITICAL_SECTION m_lock;
    std::deque<Pending> m_queue;
    size_t m_outstanding = 0;
    RegistrySnapshot m_out;
};
} // namespace

RegistrySnapshot TakeRegistrySnapshot() {
    Walk walk;
    walk.Add(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"HKLM64");
    walk.Add(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"HKLM32");
    walk.Add(HKEY_CURRENT_USER, 0, L"HKCU");
    return walk.Run();
}

std::vector<std::wstring> RegistryChanges(const RegistrySnapshot& before,
                                          const RegistrySnapshot& after) {
    std::vector<std::wstring> changes;
    for (const auto& [name, value] : before) {
        auto it = after.find(name);
        if (it == after.end())
            changes.push_back(L"removed " + name);
        else if (!(it->second == value))
            changes.push_back(L"changed " + name);
    }
    for (const auto& [name, value] : after)
        if (!before.count(name))
            changes.push_back(L"added " + name);
    return changes;
}
