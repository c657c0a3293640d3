#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "calls/call_handler.h"
#include "calls/caller_editor.h"
#include "calls/caller_pictures.h"
#include "calls/caller_view_widgets.h"
#include "inidb/caller_database_config.h"
#include "inidb/ini_dbase.h"

// The view over real widgets, counting what cannot be read back from them.
class CountingView : public TCallerViewWidgets {
 public:
  using TCallerViewWidgets::TCallerViewWidgets;
  void ShowAndRaise() override {
    ++shows;
    TCallerViewWidgets::ShowAndRaise();
  }
  void Beep() override { ++beeps; }
  void SetPicture(const QImage& picture) override {
    ++pictureChanges;
    TCallerViewWidgets::SetPicture(picture);
  }
  // The file dialog's answer.
  QString ChoosePictureFile() override { return chosenFile; }
  QString chosenFile;
  int shows = 0;
  int beeps = 0;
  int pictureChanges = 0;
};

// A program folder in a temporary directory with "Default.BMP" and an empty
// "Callers.DB", the window's widgets, and the call and editing logic on them.
class CallsFixture : public ::testing::Test {
 protected:
  CallsFixture();
  ~CallsFixture() override;

  QString AppDirectory() const { return dir_.path() + "/"; }
  QString DatabaseFile() const { return AppDirectory() + "Callers.DB"; }
  QString PictureFile(const QString& name) const { return AppDirectory() + name + ".BMP"; }

  // Stores a caller and, unless `color` is invalid, a one-colour picture for it.
  void AddCaller(const QString& name, const QString& number, QColor color = QColor());
  static void WriteBitmap(const QString& path, QColor color);
  static void WriteBytes(const QString& path, const QByteArray& bytes);
  // The colour of the picture in the picture area.
  QColor ShownColor() const;
  QColor DefaultPictureColor() const;
  QByteArray DatabaseBytes() const;
  // Writes the database file by hand; only before the database's first use.
  void WriteDatabaseFile(const QByteArray& content);
  std::string StoredNumber(const QString& name);
  // Another program (quorveldb, an editor) adds a caller to the file.
  void AddElsewhere(const std::string& name, const std::string& number);
  // Delivers a caller-ID event as the line monitor does.
  void CallerID(const QString& number, const QString& name, int flags) {
    handler.LineMonitorCallerID(nullptr, number, name, flags);
  }

  QTemporaryDir dir_;
  TIniDBase db;
  QWidget window;
  QLabel* image;
  QComboBox* callerName;
  QLineEdit* callerID;
  QPushButton* saveButton;
  bool activeMode = true;
  CountingView view;
  TCallerPictures pictures;
  TCallerEditor editor;
  TCallHandler handler;
};
