#include "base/utf8.h"
#include "forms/backend.h"
#include "forms/win32/gdi.h"

#include <windows.h>

#include <cstring>

namespace tovrik {

namespace {

// HKCU\Software\Tovrik, the key's words but the last as subkeys: "line/air/length" is the value
// length of HKCU\Software\Tovrik\line\air.
std::wstring keyPath(const std::string &place, const std::vector<std::string> &words)
{
    std::wstring path = L"Software\\" + toWide(place);
    for (std::size_t i = 0; i + 1 < words.size(); ++i)
        path += L"\\" + toWide(words[i]);
    return path;
}

// UTF-16 without a lone surrogate, which has no UTF-8.
bool wellFormed(std::wstring_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            return false;
    }
    return true;
}

} // namespace

// Text is a REG_SZ of whole UTF-16 characters ending in its one NUL; any other type, or a string
// cut short of its NUL, is damaged.
Setting readStoredSetting(const std::string &place, const std::vector<std::string> &words)
{
    OwnedKey key;
    const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(place, words).c_str(), 0,
                                         KEY_QUERY_VALUE, key.out());
    if (opened == ERROR_FILE_NOT_FOUND)
        return {};
    if (opened != ERROR_SUCCESS)
        return {Setting::Damaged, {}};
    const std::wstring name = toWide(words.back());
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS got = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    while (got == ERROR_SUCCESS || got == ERROR_MORE_DATA) {
        data.resize(size);
        got = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (got == ERROR_SUCCESS) {
            data.resize(size);
            break;
        }
    }
    if (got == ERROR_FILE_NOT_FOUND)
        return {};
    if (got != ERROR_SUCCESS || type != REG_SZ || data.size() < sizeof(wchar_t)
        || data.size() % sizeof(wchar_t) != 0)
        return {Setting::Damaged, {}};
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), data.size());
    if (text.back() != L'\0')
        return {Setting::Damaged, {}};
    text.pop_back();
    if (text.find(L'\0') != std::wstring::npos || !wellFormed(text))
        return {Setting::Damaged, {}};
    return {Setting::Present, toUtf8(text)};
}

bool writeStoredSetting(const std::string &place, const std::vector<std::string> &words,
                        std::string_view value)
{
    OwnedKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(place, words).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, key.out(), nullptr)
        != ERROR_SUCCESS)
        return false;
    const std::wstring text = toWide(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), toWide(words.back()).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE *>(text.c_str()), bytes)
        == ERROR_SUCCESS;
}

bool clearStoredSettings(const std::string &place)
{
    const std::wstring path = L"Software\\" + toWide(place);
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    OwnedKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.out())
        == ERROR_FILE_NOT_FOUND;
}

} // namespace tovrik
