#pragma once

#include <QString>
#include <string>
#include <vector>

#include "calls/caller_pictures.h"
#include "calls/caller_view.h"

class TIniDBase;

// Showing, creating, saving and deleting callers on the main window: the
// Record menu, the name box and the "Save to database" button. Errors of the
// database and of picture files are not caught here; they end the operation
// and reach the general error report, leaving done what was done before.
class TCallerEditor {
 public:
  TCallerEditor(TIniDBase& db, TCallerView& view, TCallerPictures& pictures);

  // Shows the stored caller `name` (looked up by its first 31 bytes) with the
  // picture of the full name, or the default picture when that cannot be
  // shown. An unknown name changes nothing. A picture file that cannot be
  // read is reported (once per file) after the caller is on display.
  void DisplayRecord(const QString& name);
  // The same without the report: returns it (empty when there is none).
  [[nodiscard]] QString ShowRecord(const QString& name);

  // Shows the first caller of the name box's list (nothing when it is empty).
  void DisplayFirstRecord();

  // Record > New: the default picture and the placeholder texts.
  void NewClick();
  // Record > Add/Save Current: stores the boxes' caller, adding its picture
  // file when the caller is new. The name is stored as the record keeps it
  // (see StoredCallerText), and the box shows it so.
  void AddCurrent1Click();
  // Stores a caller from elsewhere (the call log) by the same rules; a new
  // caller gets no picture file (it is shown with the default picture).
  // False when the name or number was refused (the user has been told).
  bool SaveCaller(const QString& name, const QString& number);
  // Record > Delete Current: asks, deletes record and picture, shows the first caller.
  void Delete1Click();
  // Record > Choose Picture: a picture file of the user's choice becomes the
  // picture of the stored caller in the name box, and is shown.
  void ChoosePicture1Click();
  // True when the name box holds a listed caller, whose picture can be chosen.
  bool CanChoosePicture() const;
  // The user changed the name box's text (typed, or chose an entry).
  void cbCallerNameChange();
  // The "Save to database" button.
  void bSaveToDatabaseClick();

  // Fills the name box's entries from the database's record list.
  void ReloadCallerNames();
  // The same, only when the list differs from the entries last filled in
  // (another program changed the database).
  void RefreshCallerNames();

 private:
  // `fromView`: the boxes' caller, whose name box shows the name as stored
  // and whose picture a new caller gets.
  bool StoreCaller(const QString& typedName, const QString& typedNumber, bool fromView);

  TIniDBase& db_;
  TCallerView& view_;
  TCallerPictures& pictures_;
  std::vector<std::string> shownKeys_;  // the list last put in the name box
};
