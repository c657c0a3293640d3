#include "temp_dir.h"

TempConfigHome::TempConfigHome() {
  hadPrevious_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  previous_ = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
  hadPreviousData_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  previousData_ = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toLocal8Bit());
}

TempConfigHome::~TempConfigHome() {
  if (hadPrevious_) qputenv("XDG_CONFIG_HOME", previous_);
  else qunsetenv("XDG_CONFIG_HOME");
  if (hadPreviousData_) qputenv("XDG_DATA_HOME", previousData_);
  else qunsetenv("XDG_DATA_HOME");
}
