// test_association: the .lst association as the registry holds it afterwards.
#include "WineTest.h"

#include "ListAssociation_win.h"

#include <windows.h>

#include <aclapi.h>

#include <string>

namespace {

constexpr char CommandKey[] = "lstfile\\shell\\open\\command";

// The default value of a key below HKEY_CLASSES_ROOT, read as the system's ANSI text; "?" when
// it is missing or not a plain string.
std::string DefaultValue(const char *key)
{
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return "?";
    const LONG result = RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data) : "?";
}

std::wstring DefaultValueW(const char *key)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return L"?";
    const LONG result = RegQueryValueExW(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::wstring(data) : L"?";
}

void SetDefaultValue(const char *key, const char *data)
{
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, data, DWORD(strlen(data) + 1));
}

// How many values and subkeys a key holds, as "values/subkeys".
std::string Contents(const char *key)
{
    HKEY handle;
    DWORD subkeys = 0, values = 0;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "?";
    RegQueryInfoKeyA(
        handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    return std::to_string(values) + "/" + std::to_string(subkeys);
}

// Lets everyone read a key and nobody write it, as long as it lives.
class TReadOnlyKey
{
public:
    explicit TReadOnlyKey(const char *key)
    {
        RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_READ | WRITE_DAC, nullptr, &m_key, nullptr);
        EXPLICIT_ACCESSA readOnly = {};
        readOnly.grfAccessPermissions = KEY_READ;
        readOnly.grfAccessMode = SET_ACCESS;
        readOnly.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        readOnly.Trustee.ptstrName = const_cast<char *>("EVERYONE");
        PACL acl = nullptr;
        m_denied = SetEntriesInAclA(1, &readOnly, nullptr, &acl) == ERROR_SUCCESS
            && SetSecurityInfo(m_key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                   nullptr, nullptr, acl, nullptr)
                == ERROR_SUCCESS;
        LocalFree(acl);
    }
    ~TReadOnlyKey()
    {
        // No list at all: full access again.
        SetSecurityInfo(m_key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(m_key);
    }
    bool Denied() const { return m_denied; }

private:
    HKEY m_key = nullptr;
    bool m_denied = false;
};

} // namespace

void TestAssociation()
{
    WineTest::Group("association: replaces another program's, twice the same");
    SetDefaultValue(".lst", "otherlist");
    SetDefaultValue(CommandKey, "C:\\Other\\other.exe \"%1\"");
    const char *paths[] = { "C:\\Program Files\\Kestrune\\kestrune.exe", "C:\\ks\\ks.exe" };
    for (const char *path : paths) {
        const std::wstring exe(path, path + strlen(path));
        for (int time = 0; time < 2; ++time) {
            std::string error;
            CHECK(RegisterListAssociation(exe, error));
            CHECK_EQUAL(error, "");
            CHECK_EQUAL(DefaultValue(".lst"), "lstfile");
            // Neither the path nor %1 is quoted, blanks or not.
            CHECK_EQUAL(DefaultValue(CommandKey), std::string(path) + " %1");
            // Nothing but the two default values and the keys leading to the second.
            CHECK_EQUAL(Contents(".lst"), "1/0");
            CHECK_EQUAL(Contents("lstfile"), "0/1");
            CHECK_EQUAL(Contents("lstfile\\shell"), "0/1");
            CHECK_EQUAL(Contents("lstfile\\shell\\open"), "0/1");
            CHECK_EQUAL(Contents(CommandKey), "1/0");
        }
    }

    WineTest::Group("association: a path beyond the ANSI code page");
    const std::wstring cyrillic = L"C:\\Музыка\\Кестрюн\\kestrune.exe";
    std::string error;
    CHECK(RegisterListAssociation(cyrillic, error));
    CHECK_EQUAL(DefaultValueW(CommandKey), cyrillic + L" %1");

    WineTest::Group("association: a key that cannot be written");
    const struct
    {
        const char *deniedKey, *error, *lst, *command;
    } failures[] = {
        // The first step fails: nothing is written.
        { ".lst", "Failed to create key .lst", "marker", "marker" },
        // The second step fails: the first one's value stays.
        { CommandKey, "Failed to create key lstfile\\shell\\open\\command", "lstfile", "marker" },
    };
    for (const auto &failure : failures) {
        SetDefaultValue(".lst", "marker");
        SetDefaultValue(CommandKey, "marker");
        TReadOnlyKey denied(failure.deniedKey);
        CHECK(denied.Denied());
        std::string text;
        CHECK(!RegisterListAssociation(L"C:\\ks\\ks.exe", text));
        CHECK_EQUAL(text, failure.error);
        CHECK_EQUAL(DefaultValue(".lst"), failure.lst);
        CHECK_EQUAL(DefaultValue(CommandKey), failure.command);
    }
}
