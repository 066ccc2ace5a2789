#include "util/TexteWindows.h"

#include "util/Utf16.h"

// wchar_t is a UTF-16 code unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring VersLarge(const std::string& utf8) {
    const std::u16string u = Utf8VersUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::string DepuisLarge(const wchar_t* large) {
    const std::wstring w(large);
    return Utf16VersUtf8(std::u16string(w.begin(), w.end()));
}
