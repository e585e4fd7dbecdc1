// WineTest: checks and helpers of the Win32 tests, which run under Wine without Qt.
#pragma once

#include <cstdint>
#include <string>

namespace WineTest {

/// Prints a heading for the checks that follow.
void Group(const char *name);
/// Counts one check; a failed one is printed with its place.
void Check(bool ok, const char *what, const char *file, int line);
/// Counts one comparison; a failed one is printed with both values.
void CheckEqual(const std::string &actual, const std::string &expected, const char *what, const char *file, int line);
void CheckEqual(const std::wstring &actual, const std::wstring &expected, const char *what, const char *file, int line);
void CheckEqual(std::int64_t actual, std::int64_t expected, const char *what, const char *file, int line);

std::string Utf8(const std::wstring &text);

/// Copies this test program to path, making its folders.
bool CopyProgramTo(const std::wstring &path);
/// Makes the next copy of this program that starts record instead of testing; returns the record's file.
std::wstring BeginRecording();
/// What that copy recorded: its command line, its ProgramFile::Path() and ProgramFile::Folder(),
/// one a line; empty when nothing came within 20 s.
std::wstring AwaitRecord(const std::wstring &file);

} // namespace WineTest

#define CHECK(condition) WineTest::Check((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQUAL(actual, expected) WineTest::CheckEqual((actual), (expected), #actual, __FILE__, __LINE__)

// The groups of tests.
void TestWinamp();
void TestAssociation();
void TestFileStamp();
void TestProgramFileAndShell();
