// SPDX-License-Identifier: GPL-3.0-or-later
// The settings listing (what `vb420cli settings` prints) against the
// windows: for a filled zone, every text the Zone Information grids, the
// channel editor and the conventional zone editor show is the text the
// listing gives for the same field.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <map>

#include "UiTestSupport.h"
#include "editors/forms/FieldSets.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ui/ChEditView.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class SettingsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZnInfoView* view = nullptr;

  std::map<std::string, forms::SettingLine> Listing() {
    std::vector<forms::SettingLine> lines;
    [&] { QCOMPARE(forms::ListSettings(app->Ws().data, app->Ws().text, "", lines), forms::SettingStatus::Ok); }();
    std::map<std::string, forms::SettingLine> byKey;
    for (const auto& l : lines) byKey[l.key] = l;
    return byKey;
  }
  void Set(const std::string& key, const std::string& value) {
    forms::SettingLine out;
    int message = 0;
    QCOMPARE(forms::SetSetting(app->Ws().data, app->Ws().text, key, value, out, message), forms::SettingStatus::Ok);
  }
  // The text a form control shows; check boxes as their row texts.
  QString ControlText(CFormRenderer* form, int index, const forms::FieldDescriptor& d) {
    QWidget* w = form->Control(0, index);
    if (auto* c = qobject_cast<QCheckBox*>(w)) return app->Ws().text.Text(c->isChecked() ? d.choices[0].textEntry : d.choices[1].textEntry).c_str();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return QString("?");
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(view);
  }
  void cleanup() { app.reset(); }

  void listingMatchesTheGridAndTheEditors() {
    // A conventional zone 2 with two channels, filled through the listing's own setter.
    Set("zone.2.ch.3.rxf", "151.625");
    Set("zone.2.ch.3.txf", "156.1");
    Set("zone.2.ch.3.rxtone", "100.0");
    Set("zone.2.ch.3.name", "Yard");
    Set("zone.2.ch.3.power", app->Ws().text.Text(1085));
    Set("zone.2.ch.3.optsig", app->Ws().text.Text(407));
    Set("zone.2.ch.3.scanadd", app->Ws().text.Text(373));
    Set("zone.2.ch.7.rxf", "160.2");
    Set("zone.2.header.7", "300");
    Set("zone.2.header.1", "12");
    Set("zone.2.header.0", "North");
    // An LTR zone 4 with one group.
    CZoneMemory& zm = ZonesOf(app->Frame().Context()).zones;
    QCOMPARE(zm.CreateZone(3, '0'), 1);
    Set("zone.4.group.2.encode", "17");
    Set("zone.4.group.2.decode", "200");
    Set("zone.4.group.2.name", "Trunk");
    const auto listing = Listing();

    // Zone Information, conventional grid: columns 1 to 9 are these keys.
    view->SetZone(1);
    Settle();
    const char* convColumns[] = {"rxf", "txf", "rxtone", "txtone", "name", "power", "bandwidth", "scanadd", "optsig"};
    CEditGrid* grid = view->CurrentGridWidget();
    for (int ch : {3, 7}) {
      for (int col = 1; col <= 9; ++col) {
        const std::string key = "zone.2.ch." + std::to_string(ch) + "." + convColumns[col - 1];
        QVERIFY2(listing.count(key), key.c_str());
        QCOMPARE(grid->Text(ch, col), QString::fromStdString(listing.at(key).text));
      }
    }
    QCOMPARE(grid->Text(3, 1), QString("151.62500"));

    // The channel editor on channel 3: every table control.
    view->SetCurrentRecord(2);
    view->RunCommand(kCmdChannelEditCmd);
    Settle();
    auto* ch = dynamic_cast<CChEditView*>(app->Frame().FindEditor(EditorKind::ChannelEdit));
    QVERIFY(ch);
    QCOMPARE(ch->Channel(), 2);
    const auto& channelFields = zonefields::Fields(ZoneTable::Channel);
    for (size_t i = 0; i < channelFields.size(); ++i) {
      const auto& d = channelFields[i];
      const std::string key = "zone.2.ch.3." + d.key;
      QVERIFY2(listing.count(key), key.c_str());
      QCOMPARE(ControlText(ch->Form(), CChEditView::kRxFreq + static_cast<int>(i), d),
               QString::fromStdString(listing.at(key).text));
      QCOMPARE(ch->Form()->Control(0, CChEditView::kRxFreq + static_cast<int>(i))->isEnabled(), listing.at(key).enabled);
    }

    // The conventional zone editor on zone 2.
    view->RunCommand(kCmdZoneEditCmd);
    Settle();
    auto* zoneEd = dynamic_cast<CConvEditView*>(app->Frame().FindEditor(EditorKind::ConvZoneEdit));
    QVERIFY(zoneEd);
    QCOMPARE(zoneEd->Zone(), 1);
    const auto& headerFields = zonefields::Fields(ZoneTable::ConvHeader);
    for (size_t i = 0; i < headerFields.size(); ++i) {
      const auto& d = headerFields[i];
      const std::string key = "zone.2.header." + d.key;
      QVERIFY2(listing.count(key), key.c_str());
      QCOMPARE(ControlText(zoneEd->Form(), 1 + static_cast<int>(i), d), QString::fromStdString(listing.at(key).text));
    }
    QCOMPARE(QString::fromStdString(listing.at("zone.2.header.timeout").text), QString("300"));

    // Zone Information, LTR grid: columns 1 to 9 are group fields.
    view->SetZone(3);
    Settle();
    grid = view->CurrentGridWidget();
    const char* ltrColumns[] = {"encode", "decode", "name", "transmit", "power", "pttid", "scan", "optsig", "compander"};
    for (int col = 1; col <= 9; ++col) {
      const std::string key = std::string("zone.4.group.2.") + ltrColumns[col - 1];
      QVERIFY2(listing.count(key), key.c_str());
      QCOMPARE(grid->Text(2, col), QString::fromStdString(listing.at(key).text));
    }
    QCOMPARE(grid->Text(2, 1), QString("17"));
  }

  void typingInTheLtrGridStoresThroughTheCore() {
    CZoneMemory& zm = ZonesOf(app->Frame().Context()).zones;
    QCOMPARE(zm.CreateZone(0, '0'), 1);
    view->SetZone(0);
    Settle();
    CEditGrid* grid = view->CurrentGridWidget();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClicks(grid, "2");
    QWidget* ed = QApplication::focusWidget();
    QVERIFY(ed && ed != grid);
    QTest::keyClicks(ed, "60");
    QTest::keyClick(ed, Qt::Key_Return);
    // Group 2 exists with the typed ID clamped to 250.
    const int rec = zm.FindRecord(0, 1);
    QVERIFY(rec > 0);
    QCOMPARE(int(app->Ws().data.Image().u8(static_cast<size_t>(rec) + 2)), 250);
    const auto listing = Listing();
    QCOMPARE(QString::fromStdString(listing.at("zone.1.group.2.encode").text), QString("250"));
  }
};

VB420_QTEST(SettingsTest)
#include "settings_test.moc"
