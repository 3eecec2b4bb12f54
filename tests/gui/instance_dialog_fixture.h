#pragma once
// The real instance dialog over a model of a record with mods and versions, and helpers to
// answer the modal windows it opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/instance_dialog_model.h"
#include "gui/instance_dialog.h"
#include "support/temp_folder.h"

namespace oxlip::gui::test {

class InstanceDialogFixture : public oxlip::test::InTempFolder {
 protected:
  InstanceDialogFixture() {
    library = {{"a\\", "1.2.5", "Airships", "1_a"},
               {"b\\", "1.2.5", "Balloons", "1_b"},
               {"c\\", "1.1", "Cannons", "2_c"},
               {"d\\", "1.1", "Dirigibles", "2_d"}};
    versions = {"minecraft - 1.2.5.jar", "minecraft - 1.1.jar"};
    record.Icon = instances::InstanceIcon(default_icon);
    record.Name = "Alpha";
    record.Mods = {"c\\", "a\\"};
    record.AltLauncher = "/games/magic.jar";
    record.JavaPath = "/opt/java/bin/";
    services.show_message = [this](const std::string& title, const std::string& text) {
      messages.push_back(title + "|" + text);
    };
    services.new_mod = [this] { return AddMod("n\\"); };
    services.import_mod = [this](const std::string& file) {
      imported.push_back(file);
      return AddMod("i\\");
    };
    services.scan_mods = [this] { return library; };
    services.login = [this](launch::Credentials&) {
      ++logins;
      return false;
    };
  }

  std::string AddMod(const std::string& dir) {
    library.insert(library.begin() + 1, {dir, "1.2.5", "New " + dir, "1_aa"});
    return dir;
  }

  void Open() {
    model = std::make_unique<app::InstanceDialogModel>(record, versions, library, services);
    dialog = std::make_unique<InstanceConfigDialog>(nullptr, *model);
    dialog->show();
    QApplication::processEvents();
  }

  static std::vector<std::string> Rows(const QTreeWidget* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      rows.push_back(list->topLevelItem(i)->text(0).toStdString());
    return rows;
  }

  // Calls `answer` once a modal window of type T other than the dialog is up, from inside
  // its own event loop.
  template <typename T>
  static void WhenModal(std::function<void(T*)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
      T* window = qobject_cast<T*>(QApplication::activeModalWidget());
      if (!window) window = qobject_cast<T*>(QApplication::activePopupWidget());
      if (!window) return;
      poll->stop();
      poll->deleteLater();
      answer(window);
    });
    poll->start(10);
  }

  // Types the path into the requester's file name field and confirms, as a person would; the
  // requester checks that the file exists.
  static void Choose(QFileDialog* requester, const std::string& path) {
    auto* name = requester->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(requester)->accept();
  }

  instances::DefaultIcon default_icon{image::Image{1, 1, {200, 0, 0, 255}}};
  Instance record;
  std::vector<std::string> versions;
  ModList library;
  app::InstanceDialogModel::Services services;
  std::unique_ptr<app::InstanceDialogModel> model;
  std::unique_ptr<InstanceConfigDialog> dialog;
  std::vector<std::string> messages;
  std::vector<std::string> imported;
  int logins = 0;
};

}  // namespace oxlip::gui::test
