#pragma once

#include <QColor>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

#include "calls/caller_pictures.h"
#include "contacts/contacts_import.h"
#include "inidb/ini_dbase.h"

// A program folder with "Default.BMP" and a caller database, for imports.
class ContactsFixture : public ::testing::Test {
 public:
  // A sample file of tests/contacts/data.
  static QString DataFile(const QString& name) {
    return QStringLiteral(QUORVEL_CONTACTS_DATA_DIR "/") + name;
  }
  // Its content; empty (and the test failed) when it cannot be read.
  static QByteArray DataBytes(const QString& name);

 protected:
  ContactsFixture();
  QString AppDirectory() const { return dir_.path() + "/"; }
  QString DatabaseFile() const { return AppDirectory() + "Callers.DB"; }

  // Writes "Callers.DB" holding `count` callers "Filler 1", ... before first use.
  void WriteFillerCallers(int count);
  contacts::TImportSummary Import(const QString& sample, bool replace = false);
  // Imports vCard text, step by step as the dialog does.
  contacts::TImportSummary ImportText(const QByteArray& cards);
  // The stored number of `name`, or "(none)" when there is no such caller.
  std::string Stored(const std::string& name);
  // The colour of the caller's picture file at a point given in parts of its size.
  QColor PictureColor(const QString& name, double x = 0.5, double y = 0.5) const;
  QColor DefaultPictureColor() const;

  QTemporaryDir dir_;
  TIniDBase db;
  TCallerPictures pictures;
};

// Colours compare within what JPEG compression changes.
bool NearColor(const QColor& a, const QColor& b);
