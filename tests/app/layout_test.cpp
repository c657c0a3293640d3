// The main window as it is built, before creation runs.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

#include "app/quorvel_form.h"

namespace {

QStringList Entries(const QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

}  // namespace

TEST(FormLayout, WindowIsFixedCentredAndCaptioned) {
  TQuorvelForm form;
  EXPECT_EQ(form.windowTitle(), "Calling...");
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.width(), 197);
  EXPECT_EQ(form.height() - form.menuBar()->heightForWidth(197), 246);
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_TRUE(form.windowFlags() & Qt::WindowContextHelpButtonHint);
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMinMaxButtonsHint);
  const QRect area = form.screen()->availableGeometry();
  EXPECT_LE(std::abs(form.geometry().center().x() - area.center().x()), 1);
  EXPECT_LE(std::abs(form.geometry().center().y() - area.center().y()), 1);
  EXPECT_FALSE(form.isVisible());  // created hidden
}

TEST(FormLayout, ClientAreaPartsAndInitialTexts) {
  TQuorvelForm form;
  EXPECT_EQ(form.Image->geometry(), QRect(0, 0, 197, 200));
  EXPECT_TRUE(form.Image->hasScaledContents());
  EXPECT_FALSE(form.Image->pixmap().isNull());  // the start-up picture

  EXPECT_EQ(form.bSaveToDatabase->text(), "Save to database");
  EXPECT_EQ(form.bSaveToDatabase->geometry(), QRect(16, 180, 163, 17));
  EXPECT_TRUE(form.bSaveToDatabase->isHidden());
  EXPECT_TRUE(form.lbModems->isHidden());
  EXPECT_EQ(form.lbModems->count(), 0);

  EXPECT_EQ(form.Panel1->geometry(), QRect(0, 200, 197, 46));
  EXPECT_EQ(form.Panel1->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(form.cbCallerName->parentWidget(), form.Panel1);
  EXPECT_EQ(form.cbCallerName->pos(), QPoint(0, 1));
  EXPECT_EQ(form.cbCallerName->width(), 198);
  EXPECT_TRUE(form.cbCallerName->isEditable());
  EXPECT_EQ(form.cbCallerName->currentText(), "(Unknown)");
  EXPECT_EQ(form.tbCallerID->parentWidget(), form.Panel1);
  EXPECT_EQ(form.tbCallerID->pos(), QPoint(0, 25));
  EXPECT_EQ(form.tbCallerID->width(), 198);
  EXPECT_EQ(form.tbCallerID->text(), "(Not transmitted)");
  EXPECT_EQ(form.tbCallerID->toolTip(), "Caller ID");
}

TEST(FormLayout, MenusWithTheirAccessKeys) {
  TQuorvelForm form;
  QStringList bar;
  for (QAction* a : form.menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{"&File", "&Mode", "&Record", "&Setup", "&?"}));
  EXPECT_EQ(Entries(form.File1),
            (QStringList{"&Select modem", "Call &Log...", "&Region...", "-", "&Exit"}));
  EXPECT_EQ(form.CallLog1->shortcut(), QKeySequence("Ctrl+L"));
  EXPECT_EQ(form.File1->actions().first()->menu(), form.Selectmodem1);
  EXPECT_EQ(Entries(form.Selectmodem1), (QStringList{"-", "Add &Network Line..."}));
  EXPECT_EQ(Entries(form.Mode1), (QStringList{"&Active", "&Passive", "-", "Desktop &Notifications"}));
  EXPECT_EQ(form.Mode1->actions().at(0), form.Active1);  // entry 0 is the mode test
  EXPECT_EQ(Entries(form.Record1), (QStringList{"&New", "&Add/Save Current", "&Delete Current",
                                                "Choose &Picture...", "-", "&Import Contacts..."}));
  EXPECT_EQ(form.Setup1->menu(), nullptr);  // a command, not a menu
  EXPECT_EQ(Entries(form.Help1), (QStringList{"&Help", "-", "&About"}));
  EXPECT_EQ(Entries(form.PopupMenu), (QStringList{"&Open", "Call &Log", "-", "&Exit"}));
}
