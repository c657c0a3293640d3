#pragma once

// Marks a text the program shows its user, in code that is plain C++ and
// shows nothing itself (the caller database, the forwarding's text rules).
// The program's translation tools read this marker as they read Qt's
// QT_TRANSLATE_NOOP (lupdate's -tr-function-alias, set in
// translations/CMakeLists.txt), and the program translates the text, in the
// context given, where it shows it. The code keeps the English text.
#define TRANSLATABLE_TEXT(context, text) text
