#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/services/MessageBox.h"

namespace {

TEST(SystemMessageBox, ShowsAnErrorWithASingleOkInFrontOfItsOwner) {
  QWidget owner;
  owner.show();
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title, text;
  qsizetype buttons = 0;
  QWidget* parent = nullptr;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    icon = box->icon();
    title = box->windowTitle();
    text = box->text();
    buttons = box->buttons().size();
    parent = box->parentWidget();
    box->button(QMessageBox::Ok)->click();
  });
  poll.start(10);
  platform::SystemMessageBox().ShowError(&owner, QStringLiteral("Fichier non trouvé."),
                                         QStringLiteral("Tavelmarque"));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(title, QStringLiteral("Tavelmarque"));
  EXPECT_EQ(text, QStringLiteral("Fichier non trouvé."));
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(parent, &owner);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&owner)) << "the keyboard goes back to the owner";
}

}  // namespace
