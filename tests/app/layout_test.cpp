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

#include "form_parts.h"

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
  const FormParts ui(form);
  EXPECT_EQ(ui.Image->geometry(), QRect(0, 0, 197, 200));
  EXPECT_TRUE(ui.Image->hasScaledContents());
  EXPECT_FALSE(ui.Image->pixmap().isNull());  // the start-up picture

  EXPECT_EQ(ui.bSaveToDatabase->text(), "Save to database");
  EXPECT_EQ(ui.bSaveToDatabase->geometry(), QRect(16, 180, 163, 17));
  EXPECT_TRUE(ui.bSaveToDatabase->isHidden());
  EXPECT_TRUE(ui.lbModems->isHidden());
  EXPECT_EQ(ui.lbModems->count(), 0);

  EXPECT_EQ(ui.Panel1->geometry(), QRect(0, 200, 197, 46));
  EXPECT_EQ(ui.Panel1->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(ui.cbCallerName->parentWidget(), ui.Panel1);
  EXPECT_EQ(ui.cbCallerName->pos(), QPoint(0, 1));
  EXPECT_EQ(ui.cbCallerName->width(), 198);
  EXPECT_TRUE(ui.cbCallerName->isEditable());
  EXPECT_EQ(ui.cbCallerName->currentText(), "(Unknown)");
  EXPECT_EQ(ui.tbCallerID->parentWidget(), ui.Panel1);
  EXPECT_EQ(ui.tbCallerID->pos(), QPoint(0, 25));
  EXPECT_EQ(ui.tbCallerID->width(), 198);
  EXPECT_EQ(ui.tbCallerID->text(), "(Not transmitted)");
  EXPECT_EQ(ui.tbCallerID->toolTip(), "Caller ID");
}

TEST(FormLayout, MenusWithTheirAccessKeys) {
  TQuorvelForm form;
  const FormParts ui(form);
  QStringList bar;
  for (QAction* a : form.menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{"&File", "&Mode", "&Record", "&Setup", "&?"}));
  EXPECT_EQ(Entries(ui.File1),
            (QStringList{"&Select modem", "Call &Log...", "&Region...", "-", "&Exit"}));
  EXPECT_EQ(ui.CallLog1->shortcut(), QKeySequence("Ctrl+L"));
  EXPECT_EQ(ui.File1->actions().first()->menu(), ui.Selectmodem1);
  EXPECT_EQ(Entries(ui.Selectmodem1), (QStringList{"-", "Add &Network Line..."}));
  EXPECT_EQ(Entries(ui.Mode1), (QStringList{"&Active", "&Passive", "-", "Desktop &Notifications"}));
  EXPECT_EQ(ui.Mode1->actions().at(0), ui.Active1);  // entry 0 is the mode test
  EXPECT_EQ(Entries(ui.Record1), (QStringList{"&New", "&Add/Save Current", "&Delete Current",
                                                "Choose &Picture...", "-", "&Import Contacts..."}));
  EXPECT_EQ(ui.Setup1->menu(), nullptr);  // a command, not a menu
  EXPECT_EQ(Entries(ui.Help1), (QStringList{"&Help", "-", "&About"}));
  EXPECT_EQ(Entries(ui.PopupMenu), (QStringList{"&Open", "Call &Log", "-", "&Exit"}));
}
