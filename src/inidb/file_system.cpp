#include "inidb/file_system.h"

#include <atomic>

namespace {

std::atomic<TFileSystem*> Current{nullptr};

}  // namespace

TFileSystem& CurrentFileSystem() {
  TFileSystem* fs = Current.load();
  return fs != nullptr ? *fs : SystemFileSystem();
}

TScopedFileSystem::TScopedFileSystem(TFileSystem& fs) : Previous(Current.exchange(&fs)) {}

TScopedFileSystem::~TScopedFileSystem() { Current.store(Previous); }
