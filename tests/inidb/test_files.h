#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A fresh folder for one test, removed with everything in it afterwards.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return Dir; }
  std::string File(std::string_view name) const { return Dir + "/" + std::string(name); }

 private:
  std::string Dir;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view content);
bool FileExists(const std::string& path);
// Names in the folder, sorted.
std::string ListFolder(const std::string& dir);
// Sets the file's modification time this many seconds from now.
void DateFile(const std::string& path, int secondsFromNow);
// A caller database file holding these (name, number) pairs, as written by hand.
std::string CallersFile(const std::vector<std::pair<std::string, std::string>>& callers);
