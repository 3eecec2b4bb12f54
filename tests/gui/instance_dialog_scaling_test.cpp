// The instance dialog stays usable when drawn larger: at twice the size (run again with
// QT_SCALE_FACTOR=2) and with twice the text size. Under Xvfb, its tabs are photographed.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>

#include "instance_dialog_fixture.h"

namespace oxlip::gui {
namespace {

using test::InstanceDialogFixture;

std::vector<QWidget*> Gadgets(QWidget* page) {
  std::vector<QWidget*> gadgets;
  for (QWidget* w : page->findChildren<QWidget*>())
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
        qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<ModDragList*>(w))
      gadgets.push_back(w);
  return gadgets;
}

QRect InDialog(QWidget* gadget, QWidget* dialog) {
  return QRect(gadget->mapTo(dialog, QPoint(0, 0)), gadget->size());
}

// Every gadget of every tab shown whole, inside the dialog and clear of the others.
void ExpectUsable(InstanceConfigDialog* dialog) {
  for (int tab = 0; tab < dialog->tabs()->count(); ++tab) {
    dialog->tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    std::vector<QWidget*> gadgets = Gadgets(dialog->tabs()->widget(tab));
    gadgets.push_back(dialog->ok_button());
    gadgets.push_back(dialog->cancel_button());
    ASSERT_GE(gadgets.size(), 4u);
    for (size_t i = 0; i < gadgets.size(); ++i) {
      QWidget* g = gadgets[i];
      std::string name = std::string(g->metaObject()->className()) + " '" +
                         g->property("text").toString().toStdString() + "' on tab " +
                         std::to_string(tab);
      EXPECT_TRUE(g->isVisible()) << name;
      QRect box = InDialog(g, dialog);
      EXPECT_TRUE(dialog->rect().contains(box)) << name;
      QSize needed = g->minimumSizeHint();
      EXPECT_GE(g->width(), needed.width()) << name;
      EXPECT_GE(g->height(), needed.height()) << name;
      for (size_t j = i + 1; j < gadgets.size(); ++j)
        EXPECT_FALSE(box.intersects(InDialog(gadgets[j], dialog)))
            << name << " overlaps " << gadgets[j]->metaObject()->className() << " '"
            << gadgets[j]->property("text").toString().toStdString() << "'";
    }
  }
}

using InstanceDialogScalingTest = InstanceDialogFixture;

TEST_F(InstanceDialogScalingTest, EveryGadgetWholeAndInsideTheDialog) {
  Open();
  ExpectUsable(dialog.get());
}

TEST_F(InstanceDialogScalingTest, LargerTextGrowsTheDialogRatherThanCuttingGadgets) {
  Open();
  QFont font = dialog->font();
  font.setPointSizeF(font.pointSizeF() * 2);
  dialog->setFont(font);
  QApplication::processEvents();
  EXPECT_GE(dialog->width(), 600);
  EXPECT_GE(dialog->height(), 400);
  ExpectUsable(dialog.get());
}

// Taken only under a real X server (see dialog_screenshots.sh), into OXLIP_SCREENSHOTS.
using InstanceDialogScreenshotTest = InstanceDialogFixture;

TEST_F(InstanceDialogScreenshotTest, EachTab) {
  const char* folder = std::getenv("OXLIP_SCREENSHOTS");
  if (!folder || QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "screenshots are taken under Xvfb by dialog_screenshots.sh";
  record.MineCraftFile = "minecraft - 1.1.jar";
  record.LoginCrypt = "stored";
  Open();
  QApplication::processEvents();
  QString suffix = dialog->devicePixelRatioF() > 1.5 ? "@2x" : "";
  ASSERT_TRUE(QDir().mkpath(folder));
  const char* names[] = {"general", "java", "modification"};
  for (int tab = 0; tab < 3; ++tab) {
    dialog->tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    QString file = QString(folder) + "/instance-dialog-" + names[tab] + suffix + ".png";
    EXPECT_TRUE(dialog->grab().save(file)) << file.toStdString();
  }
}

}  // namespace
}  // namespace oxlip::gui
