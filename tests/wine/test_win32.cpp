// test_win32: the Windows platform code against a real Win32 (Wine); prints "N passed, M failed".
#include "WineTest.h"

#include "ProgramFile.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int Passed = 0;
int Failed = 0;
constexpr wchar_t RecordVariable[] = L"KS_TEST_RECORD";
constexpr DWORD WatchdogMs = 180000;

void Fail(const char *what, const char *file, int line, const std::string &detail)
{
    ++Failed;
    std::printf("FAIL %s:%d: %s%s\n", file, line, what, detail.c_str());
    std::fflush(stdout);
}

// A copy started by a test: notes how it was started and where it runs, then ends.
int Record(const std::wstring &file)
{
    const std::wstring text
        = std::wstring(GetCommandLineW()) + L"\n" + ProgramFile::Path() + L"\n" + ProgramFile::Folder() + L"\n";
    const std::wstring part = file + L".part";
    FILE *out = _wfopen(part.c_str(), L"wb");
    if (!out)
        return 1;
    const bool written = std::fwrite(text.data(), sizeof(wchar_t), text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !written)
        return 1;
    return MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

DWORD WINAPI Watchdog(void *)
{
    Sleep(WatchdogMs);
    std::printf("FAIL watchdog: the tests did not end within %lu s\n", WatchdogMs / 1000);
    std::printf("%d passed, %d failed\n", Passed, Failed + 1);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

} // namespace

namespace WineTest {

void Group(const char *name)
{
    std::printf("-- %s\n", name);
    std::fflush(stdout);
}

void Check(bool ok, const char *what, const char *file, int line)
{
    if (ok)
        ++Passed;
    else
        Fail(what, file, line, {});
}

void CheckEqual(const std::string &actual, const std::string &expected, const char *what, const char *file, int line)
{
    if (actual == expected)
        ++Passed;
    else
        Fail(what, file, line, " is \"" + actual + "\", expected \"" + expected + "\"");
}

void CheckEqual(const std::wstring &actual, const std::wstring &expected, const char *what, const char *file, int line)
{
    CheckEqual(Utf8(actual), Utf8(expected), what, file, line);
}

void CheckEqual(std::int64_t actual, std::int64_t expected, const char *what, const char *file, int line)
{
    if (actual == expected)
        ++Passed;
    else
        Fail(what, file, line, " is " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

std::string Utf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

bool CopyProgramTo(const std::wstring &path)
{
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    return CopyFileW(ProgramFile::Path().c_str(), path.c_str(), FALSE);
}

std::wstring BeginRecording()
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t file[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"ks", 0, file))
        return {};
    DeleteFileW(file);
    SetEnvironmentVariableW(RecordVariable, file);
    return file;
}

std::wstring AwaitRecord(const std::wstring &file)
{
    std::wstring text;
    for (int i = 0; i < 200 && text.empty(); ++i) {
        if (FILE *in = _wfopen(file.c_str(), L"rb")) {
            wchar_t buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, sizeof(wchar_t), 4096, in)) > 0;)
                text.append(buffer, n);
            std::fclose(in);
        } else {
            Sleep(100);
        }
    }
    SetEnvironmentVariableW(RecordVariable, nullptr);
    DeleteFileW(file.c_str());
    return text;
}

} // namespace WineTest

int wmain()
{
    wchar_t record[MAX_PATH + 1];
    if (GetEnvironmentVariableW(RecordVariable, record, MAX_PATH + 1))
        return Record(record);

    // The tests rewrite HKEY_CLASSES_ROOT\.lst: only in a throwaway Wine prefix.
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        std::printf("These tests change the registry's file types; they run only under Wine.\n");
        return 2;
    }
    CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);

    TestWinamp();
    TestAssociation();
    TestFileStamp();
    TestProgramFileAndShell();

    std::printf("%d passed, %d failed\n", Passed, Failed);
    std::fflush(stdout);
    return Failed == 0 ? 0 : 1;
}
