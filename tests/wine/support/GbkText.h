// The tests' texts are GBK, as the programs' are, whatever the machine's language for programs that
// are not Unicode: they reach the system through the wide functions, converted with code page 936,
// so that the tests run alike under any locale.
#pragma once
#include <windows.h>

#include <string>

// GBK to UTF-16.
std::wstring Wide(const std::string& gbk);
// UTF-16 to GBK; a character GBK lacks becomes '?'.
std::string Gbk(const std::wstring& wide);
std::string Gbk(const wchar_t* wide);
