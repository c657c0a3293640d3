#pragma once

#include <QCoreApplication>

#include "inidb/caller_record.h"

// Texts, names and waits of call handling and caller editing, named once.
namespace calls {

// Caller-ID event flags as the line monitor delivers them.
inline constexpr int kFlagBlocked = 0x1;
inline constexpr int kFlagOutOfArea = 0x2;
inline constexpr int kFlagName = 0x4;
inline constexpr int kFlagNumber = 0x8;

// Events of one call that arrive within this wait complete its data.
inline constexpr int kCollectionWaitMs = 1000;

// Numbers of exactly this many characters are shown as ddd-ddd-dddd.
inline constexpr int kFormattedNumberLength = 10;

inline constexpr char kBlockedNumber[] = "BLOCKED";
inline constexpr char kNoData[] = "NO DATA";
inline constexpr char kIdleState[] = "IDLE";

// Database widths: a record field holds 20 bytes, a key 31.
inline constexpr int kRecordFieldBytes = 20;
inline constexpr int kKeyBytes = 31;

inline constexpr char kDefaultPictureFile[] = "Default.BMP";
inline constexpr char kPictureExtension[] = ".BMP";
inline constexpr char kStartupPictureResource[] = ":/calls/startup.bmp";

inline constexpr char kInvalidCallerID[] = QT_TRANSLATE_NOOP("Calls", "Invalid Caller ID");
inline constexpr const char* kInvalidCallerName = InvalidCallerNameText;
inline constexpr char kDeleteEntryFor[] = QT_TRANSLATE_NOOP("Calls", "Delete entry for %1");
inline constexpr char kConfirmCaption[] = QT_TRANSLATE_NOOP("Calls", "Confirm");
inline constexpr char kNewNamePlaceholder[] = QT_TRANSLATE_NOOP("Calls", "(Name)");
inline constexpr char kNewNumberPlaceholder[] = QT_TRANSLATE_NOOP("Calls", "(CallerID)");
// Names beginning with this are placeholders and never stored.
inline constexpr char kPlaceholderStart = '(';

// A picture chosen by hand is kept no larger than this on either side: the
// window shows 197 x 200 pixels, and every call of the caller reads the file.
inline constexpr int kMaxStoredPictureSide = 400;
inline constexpr char kChoosePictureCaption[] = QT_TRANSLATE_NOOP("Calls", "Choose Picture");
// The kinds of picture offered; the file's content decides how it is read.
inline constexpr char kPictureFileFilter[] = QT_TRANSLATE_NOOP(
    "Calls", "Pictures (*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.gif *.GIF)");

// One of the texts above in the language shown (the caller database's
// kInvalidCallerName in its own context).
inline QString Tr(const char* text) { return QCoreApplication::translate("Calls", text); }
inline QString InvalidCallerNameShown() { return QCoreApplication::translate("TIniDBase", kInvalidCallerName); }

}  // namespace calls
