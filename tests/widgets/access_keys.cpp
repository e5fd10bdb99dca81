// SPDX-License-Identifier: GPL-3.0-or-later
// How a text with access-key marks reads in menus, window titles, the tree
// bar and the names a screen reader announces: all of them take it from one
// function.
#include <QTest>

#include "editors/grid/AccessibleNames.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;

class AccessKeysTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void singleMarksGoAndDoubledOnesStayAsOne() {
    QCOMPARE(WithoutAccessKeys("&Zone Information"), QString("Zone Information"));
    QCOMPARE(WithoutAccessKeys("Save &As..."), QString("Save As..."));
    QCOMPARE(WithoutAccessKeys("Scan && Priority"), QString("Scan & Priority"));
    QCOMPARE(WithoutAccessKeys("&Tx && &Rx"), QString("Tx & Rx"));
    QCOMPARE(WithoutAccessKeys("Trailing&"), QString("Trailing"));
    QCOMPARE(WithoutAccessKeys(QString()), QString());
    // Other characters, Spanish ones among them, pass untouched.
    QCOMPARE(WithoutAccessKeys(QString::fromUtf8("Informaci\xC3\xB3n de &Zona\tCtrl+Z")),
             QString::fromUtf8("Informaci\xC3\xB3n de Zona\tCtrl+Z"));
  }
};

VB420_QTEST(AccessKeysTest)
#include "access_keys.moc"
