#pragma once

#include <QMetaObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "calls/call_handler.h"
#include "calls/caller_editor.h"
#include "calls/caller_pictures.h"
#include "calls/caller_view_widgets.h"
#include "platform/app_folders.h"

class QAction;
class TIniDBase;
class TLineMonitor;

// Call handling and caller editing as the main window holds them: the view
// over the window's widgets, the caller pictures, the record
// editing and the call handler, connected to the window's menu, widgets and
// line monitor. Errors of the user's actions are shown by the general error
// report where they are connected.
class TCallerDesk {
 public:
  // What the main window lends; all of it outlives the desk.
  struct Parts {
    TCallerViewWidgets::Widgets widgets;
    QAction* newRecord = nullptr;      // Record > "&New"
    QAction* addCurrent = nullptr;     // Record > "&Add/Save Current"
    QAction* deleteCurrent = nullptr;  // Record > "&Delete Current"
    TLineMonitor* lineMonitor = nullptr;
    std::function<bool()> isActiveMode;
    QAction* choosePicture = nullptr;  // Record > "Choose &Picture..." (may be absent)
  };

  // The pictures are read from both folders and written to the data folder.
  TCallerDesk(TIniDBase& db, const platform::TAppFolders& folders, const Parts& parts);
  // Cuts the connections: the window's parts may outlive the desk.
  ~TCallerDesk();
  TCallerDesk(const TCallerDesk&) = delete;
  TCallerDesk& operator=(const TCallerDesk&) = delete;

  TCallerEditor& Editor() { return editor_; }
  // Makes the window visible and brings it to the front.
  void ShowWindow() { view_.ShowAndRaise(); }
  TCallHandler& Handler() { return handler_; }

 private:
  class TListOpening;

  TCallerViewWidgets view_;
  TCallerPictures pictures_;
  TCallerEditor editor_;
  TCallHandler handler_;
  std::vector<QMetaObject::Connection> connections_;
  std::unique_ptr<TListOpening> listOpening_;
};
