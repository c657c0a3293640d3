#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "inidb-test-XXXXXX").string();
  const char* made = ::mkdtemp(pattern.data());
  if (made == nullptr) throw std::runtime_error("cannot create a temporary folder");
  Dir = made;
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Dir, ignored);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::string ListFolder(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

void DateFile(const std::string& path, int secondsFromNow) {
  std::filesystem::last_write_time(
      path, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(secondsFromNow));
}

std::string CallersFile(const std::vector<std::pair<std::string, std::string>>& callers) {
  std::string index = "[Index]\r\n", sections;
  for (const auto& [name, number] : callers) {
    index += name + "=#\r\n";
    sections += "[" + name + "]\r\nCallerID=" + number + "\r\n";
  }
  return index + "[Defaults]\r\n_Entries=" + std::to_string(callers.size()) + "\r\n" + sections;
}
