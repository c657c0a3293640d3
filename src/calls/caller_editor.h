#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "calls/caller_pictures.h"
#include "calls/caller_view.h"

class TIniDBase;

// Showing, creating, saving and deleting callers on the main window: the
// Record menu, the name box and the "Save to database" button. Errors of the
// database and of picture files are not caught here; they end the operation
// and reach the general error report, leaving done what was done before.
class TCallerEditor {
 public:
  TCallerEditor(TIniDBase& db, TCallerView& view, const TCallerPictures& pictures);

  // Shows the stored caller `name` (looked up by its first 31 bytes) with the
  // picture of the full name. An unknown name changes nothing. The picture is
  // loaded before the texts are set, so a picture that cannot be read leaves
  // the window as it was.
  void DisplayRecord(const QString& name);

  // Shows the first caller of the name box's list (nothing when it is empty).
  void DisplayFirstRecord();

  // Record > New: the default picture and the placeholder texts.
  void NewClick();
  // Record > Add/Save Current: stores the boxes' caller, adding its picture
  // file when the caller is new.
  void AddCurrent1Click();
  // Stores a caller from elsewhere (the call log) by the same rules; a new
  // caller gets the default picture. False when the name or number was
  // refused (the user has been told).
  bool SaveCaller(const QString& name, const QString& number);
  // Record > Delete Current: asks, deletes record and picture, shows the first caller.
  void Delete1Click();
  // The user changed the name box's text (typed, or chose an entry).
  void cbCallerNameChange();
  // The "Save to database" button.
  void bSaveToDatabaseClick();

  // Fills the name box's entries from the database's record list.
  void ReloadCallerNames();

 private:
  bool StoreCaller(const QString& name, const QString& number,
                   const std::function<QImage()>& newCallerPicture);

  TIniDBase& db_;
  TCallerView& view_;
  const TCallerPictures& pictures_;
};
