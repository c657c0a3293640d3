#pragma once

#include "inidb/file_system.h"

// The caller database's file system with failures on demand and a count of
// what reached the disk, put in place for the object's lifetime.
class TFaultyFileSystem : public TFileSystem {
 public:
  TFaultyFileSystem() : Scope(*this) {}

  bool FailReplace = false;
  bool FailLock = false;
  bool FailRead = false;
  int Replacements = 0;
  int Reads = 0;

  TFileStatus Stat(const std::string& path, TFileStamp& stamp) override {
    return SystemFileSystem().Stat(path, stamp);
  }
  TFileStatus ReadFile(const std::string& path, std::string& content, TFileStamp& stamp,
                       std::unique_ptr<TFilePin>& pin) override {
    if (FailRead) return TFileStatus::Failed;
    ++Reads;
    return SystemFileSystem().ReadFile(path, content, stamp, pin);
  }
  bool ReplaceFile(const std::string& path, std::string_view content, TFileStamp& stamp,
                   std::unique_ptr<TFilePin>& pin) override {
    if (FailReplace) return false;
    ++Replacements;
    return SystemFileSystem().ReplaceFile(path, content, stamp, pin);
  }
  std::unique_ptr<TFileLock> LockFile(const std::string& path) override {
    if (FailLock) return nullptr;
    return SystemFileSystem().LockFile(path);
  }

 private:
  TScopedFileSystem Scope;
};
