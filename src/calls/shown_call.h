#pragma once

#include <QString>

// What one call put on the main window in Active mode.
struct TShownCall {
  QString name;         // the caller's name as shown; may be empty
  QString number;       // the number as shown
  QString line;         // the line the call came on
  QString pictureFile;  // the picture file shown; empty for the built-in picture
  bool known = false;   // a caller from the database
};
