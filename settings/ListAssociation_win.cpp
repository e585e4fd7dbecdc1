// ListAssociation_win: the two registry values that make the shell open .lst files with the program.
#include "ListAssociation_win.h"

#include <windows.h>

namespace {

// Sets the default (unnamed) string value of a key below HKEY_CLASSES_ROOT, creating the key.
bool SetDefaultValue(const char *key, const std::wstring &data, std::string &errorText)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(
            HKEY_CLASSES_ROOT, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &handle, nullptr)
        != ERROR_SUCCESS) {
        errorText = std::string("Failed to create key ") + key;
        return false;
    }
    const DWORD size = DWORD((data.size() + 1) * sizeof(wchar_t));
    const LONG result = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()), size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS) {
        errorText = "Failed to set data for ''";
        return false;
    }
    return true;
}

} // namespace

bool RegisterListAssociation(const std::wstring &exePath, std::string &errorText)
{
    return SetDefaultValue(".lst", L"lstfile", errorText)
        && SetDefaultValue("lstfile\\shell\\open\\command", exePath + L" %1", errorText);
}
