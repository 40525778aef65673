#pragma once
// UTF-8 in the core, UTF-16 at the Win32 boundary.
#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16, size_t length);
