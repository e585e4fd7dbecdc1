// test_files: the file stamp, the program's own path, and opening files through the shell.
#include "WineTest.h"

#include "FileStamp.h"
#include "ListAssociation_win.h"
#include "ProgramFile.h"
#include "ShellExecute.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <string>

namespace {

constexpr std::int64_t Dos(int year, int month, int day, int hour, int minute, int second)
{
    return std::int64_t((year - 1980) << 9 | month << 5 | day) << 16 | (hour << 11 | minute << 5 | second / 2);
}

// Makes a file of size bytes, last written at the given local time, with the given attributes.
bool MakeFile(const std::wstring &path, DWORD size, const SYSTEMTIME &localTime, DWORD attributes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string data(size, 'x');
    DWORD written = 0;
    FILETIME local, utc;
    const bool ok = WriteFile(file, data.data(), size, &written, nullptr) && written == size
        && SystemTimeToFileTime(&localTime, &local) && LocalFileTimeToFileTime(&local, &utc)
        && SetFileTime(file, nullptr, nullptr, &utc);
    return CloseHandle(file) && ok && SetFileAttributesW(path.c_str(), attributes);
}

// The index-th line of a record; "?" when it has fewer.
std::wstring Line(const std::wstring &text, int index)
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find(L'\n', start);
        if (start == std::wstring::npos)
            return L"?";
        ++start;
    }
    const std::size_t end = text.find(L'\n', start);
    return end == std::wstring::npos ? L"?" : text.substr(start, end - start);
}

bool StartProgram(const std::wstring &path)
{
    std::wstring command = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

void TestFileStamp()
{
    WineTest::Group("file stamp: size, local time and attributes");
    // Away from UTC, a stamp in UTC would not pass for local time.
    TIME_ZONE_INFORMATION zone;
    CHECK(GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID && zone.Bias != 0);
    const std::wstring folder = L"C:\\Пробная папка\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const struct
    {
        const wchar_t *name;
        DWORD size;
        SYSTEMTIME time; // year, month, day of week, day, hour, minute, second, ms
        DWORD attributes;
        std::int64_t age;
        int expected;
    } files[] = {
        { L"Первый снег.mp3", 1000, { 2003, 7, 0, 15, 13, 45, 26, 0 },
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, Dos(2003, 7, 15, 13, 45, 26),
            FileStamp::ReadOnly | FileStamp::Hidden | FileStamp::Archive },
        { L"empty.mp3", 0, { 2024, 2, 0, 29, 23, 59, 59, 0 }, FILE_ATTRIBUTE_ARCHIVE, Dos(2024, 2, 29, 23, 59, 59),
            FileStamp::Archive },
        { L"big.mp3", 5000000, { 1980, 1, 0, 1, 0, 0, 0, 0 }, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE,
            Dos(1980, 1, 1, 0, 0, 0), FileStamp::ReadOnly | FileStamp::Archive },
    };
    for (const auto &file : files) {
        const std::wstring path = folder + file.name;
        CHECK(MakeFile(path, file.size, file.time, file.attributes));
        const int descriptor = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
        CHECK(descriptor >= 0);
        const FileStamp::Info info = FileStamp::readDescriptor(descriptor, {});
        _close(descriptor);
        CHECK_EQUAL(info.size, file.size);
        CHECK_EQUAL(info.age, file.age);
        CHECK_EQUAL(info.attributes, file.expected);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }

    WineTest::Group("file stamp: no file");
    const FileStamp::Info none = FileStamp::readDescriptor(-1, {});
    CHECK_EQUAL(none.size, -1);
    CHECK_EQUAL(none.age, -1);
    CHECK_EQUAL(none.attributes, 0);
}

void TestProgramFileAndShell()
{
    WineTest::Group("program file: path and folder of the running executable");
    // The second one as long as a program's path can be: MAX_PATH less the closing zero.
    const std::wstring name = L"kestrune.exe";
    std::wstring deep = L"C:\\deep";
    while (deep.size() < 200)
        deep += L"\\папка с длинным именем";
    deep += L"\\" + std::wstring(MAX_PATH - 1 - name.size() - deep.size() - 2, L'я') + L"\\";
    const std::wstring folders[] = { L"C:\\Program Files\\Кестрюн тест\\", deep };
    CHECK_EQUAL(std::int64_t((deep + name).size()), MAX_PATH - 1);
    for (const std::wstring &folder : folders) {
        const std::wstring exe = folder + name;
        CHECK(WineTest::CopyProgramTo(exe));
        const std::wstring record = WineTest::BeginRecording();
        CHECK(StartProgram(exe));
        const std::wstring lines = WineTest::AwaitRecord(record);
        CHECK_EQUAL(Line(lines, 1), exe);
        CHECK_EQUAL(Line(lines, 2), folder);
    }

    WineTest::Group("shell open: a file with blanks and Cyrillic in its name, by its type's command");
    const std::wstring recorder = L"C:\\Program Files\\Кестрюн тест\\kestrune.exe";
    const std::wstring command = L"\"" + recorder + L"\" \"%1\"";
    RegSetKeyValueA(HKEY_CLASSES_ROOT, ".kstest", nullptr, REG_SZ, "kstestfile", 11);
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"kstestfile\\shell\\open\\command", nullptr, REG_SZ, command.c_str(),
        DWORD((command.size() + 1) * sizeof(wchar_t)));
    const std::wstring document = L"C:\\Пробная папка\\Первый снег.kstest";
    CHECK(MakeFile(document, 1, { 2020, 1, 0, 1, 0, 0, 0, 0 }, FILE_ATTRIBUTE_ARCHIVE));
    std::wstring record = WineTest::BeginRecording();
    CHECK(ShellExecuteDefault(document));
    CHECK_EQUAL(Line(WineTest::AwaitRecord(record), 0), L"\"" + recorder + L"\" \"" + document + L"\"");

    WineTest::Group("shell open: a missing file");
    CHECK(!ShellExecuteDefault(L"C:\\Пробная папка\\нет такого.kstest"));

    WineTest::Group("association: the shell starts the program from a folder with blanks");
    std::string error;
    CHECK(RegisterListAssociation(recorder, error));
    const std::wstring list = L"C:\\Пробная папка\\rock.lst";
    CHECK(MakeFile(list, 1, { 2020, 1, 0, 1, 0, 0, 0, 0 }, FILE_ATTRIBUTE_ARCHIVE));
    record = WineTest::BeginRecording();
    CHECK(ShellExecuteDefault(list));
    const std::wstring started = WineTest::AwaitRecord(record);
    CHECK_EQUAL(Line(started, 1), recorder);
    // How the shell writes the program's own name into the command line is its affair.
    const std::wstring argument = L" " + list;
    const std::wstring commandLine = Line(started, 0);
    CHECK(commandLine.size() > argument.size()
        && commandLine.compare(commandLine.size() - argument.size(), argument.size(), argument) == 0);
}
