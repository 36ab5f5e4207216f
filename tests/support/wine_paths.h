#pragma once
// Paths the tests share with the Unix side of the harness.
#include <string>

namespace kestrin::test {

// A Unix path seen from inside Wine (the whole Unix tree is drive Z:).
std::string UnixToWindowsPath(const std::string& unixPath);

// Folder for screenshots and other artifacts of this build tree (created on demand).
std::string ArtifactDir();

// The current user's documents folder (where Kestrin keeps its ini file).
std::string DocumentsFolder();
// The current user's Startup folder and desktop (where its shortcuts go),
// made when missing.
std::string StartupFolder();
std::string DesktopFolder();

// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace kestrin::test
