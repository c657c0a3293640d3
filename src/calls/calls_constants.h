#pragma once

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

inline constexpr char kInvalidCallerID[] = "Invalid Caller ID";
inline constexpr const char* kInvalidCallerName = InvalidCallerNameText;
inline constexpr char kDeleteEntryFor[] = "Delete entry for ";
inline constexpr char kConfirmCaption[] = "Confirm";
inline constexpr char kNewNamePlaceholder[] = "(Name)";
inline constexpr char kNewNumberPlaceholder[] = "(CallerID)";
// Names beginning with this are placeholders and never stored.
inline constexpr char kPlaceholderStart = '(';

// A picture chosen by hand is kept no larger than this on either side: the
// window shows 197 x 200 pixels, and every call of the caller reads the file.
inline constexpr int kMaxStoredPictureSide = 400;
inline constexpr char kChoosePictureCaption[] = "Choose Picture";
// The kinds of picture offered; the file's content decides how it is read.
inline constexpr char kPictureFileFilter[] =
    "Pictures (*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP *.gif *.GIF)";

// The messages of a picture file that cannot be read or written; %1 is the path.
inline constexpr char kCannotOpenFile[] = "Datei %1 kann nicht geöffnet werden";
inline constexpr char kCannotCreateFile[] = "Datei %1 kann nicht erstellt werden";

}  // namespace calls
