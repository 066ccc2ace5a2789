#pragma once
// The core's UTF-8 text as Windows' wide functions take it (UTF-16 wchar_t), and back.
// Windows only: elsewhere file names are UTF-8 bytes already.

#include <string>

std::wstring VersLarge(const std::string& utf8);
std::string DepuisLarge(const wchar_t* large);
