#pragma once

#include <QImage>

// The picture the main window shows from start until the first caller is
// displayed: the bitmap built into the program, or a plain drawn stand-in
// when the program was built without it.
QImage StartupPicture();

// Where the built-in bitmap lives among the program's resources.
inline constexpr char kStartupPictureResource[] = ":/quorvel/startup.bmp";
