// Scratch folders and files for Windows tests, and reading what the recorder program wrote.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace oltest {

// A fresh folder under the Windows temporary directory, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool CopyTestFile(const std::string& from, const std::string& to);

// The names of the files and folders in `directory`, sorted.
std::vector<std::string> FilesIn(const std::string& directory);

// A whole number from the environment (the soak runs set larger counts), or `fallback`.
unsigned long EnvNumber(const char* name, unsigned long fallback);

// The folder that holds the test programs (and recorder.exe).
std::string TestBinDirectory();
std::string RecorderPath();

struct RecordedStart {
  std::string commandLine;
  std::string workingDirectory;
};
// Waits (pumping messages) until the recorder has written `outFile`, up to `limit`.
std::optional<RecordedStart> WaitForRecording(const std::string& outFile,
                                              std::chrono::milliseconds limit = std::chrono::seconds(20));

// Runs the calling thread's messages for a while, so that posted work gets done.
void PumpMessagesFor(std::chrono::milliseconds duration);

}  // namespace oltest
