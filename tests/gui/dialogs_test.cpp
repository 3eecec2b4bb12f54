// The login and restore dialogs over their models: the login dialog's layout, focus, keys and
// buttons and no close box (the program runs it through the Ui port in the first-run
// walk-through); the rows the restore dialog lists, choosing, and what choosing enables.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "app/login_dialog.h"
#include "gui/login_dialog.h"
#include "gui/restore_dialog.h"
#include "gui_fixture.h"

namespace oxlip::gui {
namespace {

using app::LoginForm;
using app::RestoreChoiceModel;
using launch::Credentials;

void Press(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST(LoginWindow, EveryGadgetWholeAtTwiceTheTextSizeAndNoCloseBox) {
  QFont usual = QApplication::font();
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    QFont font = usual;
    font.setPointSizeF(usual.pointSizeF() * scale);
    QApplication::setFont(font);
    LoginForm form(Credentials{"steve", "pw"});
    LoginWindow dialog(nullptr, form);
    dialog.show();
    test::ExpectUsable(&dialog, &dialog);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowTitleHint);
    EXPECT_EQ(dialog.password_field()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.password_field()->text(), "pw");
    EXPECT_EQ(dialog.focusWidget(), dialog.password_field());  // the form's choice
  }
  QApplication::setFont(usual);
}

// Return logs in wherever the focus is; Escape and a close request cancel; "Play offline" needs a
// name.
TEST(LoginWindow, KeysAndButtons) {
  struct Case {
    const char* name;
    std::function<void(LoginWindow&)> act;
    bool accepted, offline;
  };
  const Case cases[] = {
      {"Return on Cancel",
       [](LoginWindow& d) {
         d.cancel_button()->setFocus();
         Press(d.cancel_button(), Qt::Key_Return);
       },
       true, false},
      {"Escape", [](LoginWindow& d) { Press(d.password_field(), Qt::Key_Escape); }, false, false},
      {"close", [](LoginWindow& d) { d.close(); }, false, false},
      {"offline",
       [](LoginWindow& d) {
         d.name_field()->clear();
         EXPECT_FALSE(d.offline_button()->isEnabled());
         d.name_field()->setText("Alex");
         d.offline_button()->click();
       },
       true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoginForm form(Credentials{"steve", "old"});
    LoginWindow dialog(nullptr, form);
    dialog.show();
    dialog.password_field()->setText("typed");
    c.act(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(form.accepted() || form.offline(), c.accepted);
    EXPECT_EQ(form.offline(), c.offline);
    EXPECT_EQ(form.password(), c.accepted ? "typed" : "old");
  }
}

TEST(RestoreDialog, ListsTheModelsRowsAndChoosesThroughIt) {
  RestoreChoiceModel model("Survival",
                           {{"World1", "w.7z", 1321617600, 512}, {"", "i.7z", 1321610000, 4096}});
  RestoreDialog dialog(nullptr, model);
  EXPECT_EQ(dialog.windowTitle().toStdString(), model.WindowTitle());
  ASSERT_EQ(dialog.list()->topLevelItemCount(), model.rows());
  for (int row = 0; row < model.rows(); ++row)
    for (int column = 0; column < dialog.list()->columnCount(); ++column)
      EXPECT_EQ(dialog.list()->topLevelItem(row)->text(column).toStdString(),
                model.Cell(row, column));
  // The newest comes chosen.
  EXPECT_TRUE(dialog.list()->topLevelItem(0)->isSelected());
  EXPECT_TRUE(dialog.restore_button()->isEnabled());

  dialog.list()->setCurrentItem(dialog.list()->topLevelItem(1));
  EXPECT_EQ(model.selected(), 1);
  EXPECT_EQ(dialog.note()->text().toStdString(), model.Note());
  dialog.list()->clearSelection();
  EXPECT_EQ(model.chosen(), nullptr);
  EXPECT_FALSE(dialog.restore_button()->isEnabled());
  EXPECT_TRUE(dialog.note()->text().isEmpty());

  emit dialog.list()->itemActivated(dialog.list()->topLevelItem(0), 0);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);  // nothing chosen: no restore
  dialog.list()->setCurrentItem(dialog.list()->topLevelItem(0));
  emit dialog.list()->itemActivated(dialog.list()->topLevelItem(0), 0);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace oxlip::gui
