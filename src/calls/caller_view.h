#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// What call handling and caller editing need from the main window. The
// window implements it over its widgets (see TCallerViewWidgets); the logic
// never touches a widget itself.
class TCallerView {
 public:
  virtual ~TCallerView() = default;

  // The caller-name box: its editable text (as the user gave it, without a
  // completion offered but not accepted) and its list of entries.
  virtual QString CallerNameText() const = 0;
  virtual void SetCallerNameText(const QString& text) = 0;
  virtual QStringList CallerNameEntries() const = 0;
  // Replaces the entries; the box's text stays as it was.
  virtual void SetCallerNameEntries(const QStringList& entries) = 0;

  // The caller-number box.
  virtual QString CallerIDText() const = 0;
  virtual void SetCallerIDText(const QString& text) = 0;

  // The picture area: the picture as loaded (shown stretched to the area).
  virtual QImage Picture() const = 0;
  virtual void SetPicture(const QImage& picture) = 0;

  // The "Save to database" button.
  virtual void SetSaveButtonVisible(bool visible) = 0;

  // Asks the user for a picture file (PNG, JPEG, BMP, GIF); empty when none
  // was chosen.
  virtual QString ChoosePictureFile() = 0;

  // Makes the window visible and brings it to the front.
  virtual void ShowAndRaise() = 0;
  // The system's default message beep.
  virtual void Beep() = 0;
  // True exactly when the Mode menu's "&Active" entry is checked.
  virtual bool IsActiveMode() const = 0;
};
