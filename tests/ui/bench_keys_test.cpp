// SPDX-License-Identifier: GPL-3.0-or-later
// The bench windows and `settings` keys store through one rule: typing into
// the test-frequency grid or a message line leaves exactly the bytes that
// setting the field's key on a copy of the same programming leaves.
#include <QLineEdit>
#include <QTest>

#include "UiTestSupport.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/messages/MessageFields.h"
#include "editors/messages/ui/MessageViews.h"
#include "editors/testfreq/ui/TestFreqView.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class BenchKeysTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void gridAndKeysStoreTheSameBytes();
  void messageLinesAndKeysStoreTheSameBytes();

 private:
  template <class V>
  V* Open(int command, EditorKind kind) { return OpenEditor<V>(*f_, command, kind); }
  // A copy of the window's programming, changed by key.
  void CopyData() {
    copy_ = std::make_unique<RadioData>(&f_->Ws().text);
    copy_->model.SetBytes(f_->Ws().data.model.Bytes());
    copy_->SyncCodecs();
    copy_->Image().write(0, f_->Ws().data.buffers.ImageBytes().data(), f_->Ws().data.buffers.ImageBytes().size());
    copy_->Ext().write(0, f_->Ws().data.buffers.ExtBytes().data(), f_->Ws().data.buffers.ExtBytes().size());
  }
  forms::SettingStatus Set(const std::string& key, const std::string& value, int* message = nullptr) {
    forms::SettingLine l;
    int m = 0;
    const forms::SettingStatus st = forms::SetSetting(*copy_, f_->Ws().text, key, value, l, m);
    if (message) *message = m;
    return st;
  }
  void Same() {
    QVERIFY(f_->Ws().data.buffers.ImageBytes() == copy_->buffers.ImageBytes());
    QVERIFY(f_->Ws().data.buffers.ExtBytes() == copy_->buffers.ExtBytes());
  }

  std::unique_ptr<AppFixture> f_;
  std::unique_ptr<RadioData> copy_;
};

void BenchKeysTest::init() {
  f_ = std::make_unique<AppFixture>();
  QVERIFY(f_->Start());
}

void BenchKeysTest::cleanup() {
  copy_.reset();
  f_.reset();
}

void BenchKeysTest::gridAndKeysStoreTheSameBytes() {
  auto* v = Open<CTestFreqView>(kCmdTestFreq, EditorKind::TestFreq);
  QVERIFY(v);
  CopyData();
  auto type = [&](int row, int col, const QString& text) {
    v->Grid()->SetCurrent(row, col);
    QTest::keyClick(v->Grid(), text.isEmpty() ? Qt::Key_Backspace : Qt::Key(text.at(0).unicode()), Qt::NoModifier);
    v->CellEdit()->setText(text);
    QTest::keyClick(v->CellEdit(), Qt::Key_Return);
    Settle();
  };
  type(3, 1, "150.1");
  QCOMPARE(Set("testfreq.3.rx", "150.1"), forms::SettingStatus::Ok);
  Same();
  type(12, 1, "151.0125");
  QCOMPARE(Set("testfreq.12.rx", "151.0125"), forms::SettingStatus::Ok);
  Same();
  // Out of range: the window's warning is the key's message.
  const int before = f_->prompter.MessageTexts().size();
  type(12, 2, "470");
  int message = 0;
  QCOMPARE(Set("testfreq.12.tx", "470", &message), forms::SettingStatus::Ok);
  QCOMPARE(message, 284);
  QVERIFY(f_->prompter.MessageTexts().size() > before);
  QVERIFY(f_->prompter.MessageTexts().last().contains("284"));
  Same();
  type(12, 2, "");
  QCOMPARE(Set("testfreq.12.tx", ""), forms::SettingStatus::Ok);
  Same();
  QCOMPARE(v->Grid()->Text(3, 1).toStdString(), forms::SettingText(
      forms::FormContext(*copy_, f_->Ws().text, false, {-1, 2}), TestFreqFieldTable()[0]));
}

void BenchKeysTest::messageLinesAndKeysStoreTheSameBytes() {
  auto* v = Open<CEmbView>(kCmdEmbMessage, EditorKind::EmbMessage);
  QVERIFY(v);
  CopyData();
  const QString typed = QString::fromUtf8("Se\xC3\xB1or \xE2\x82\xAC 0123456789ABCDEFGHIJKLMNOPQRSTUV");
  v->Line(0)->setText(typed);
  Q_EMIT v->Line(0)->editingFinished();
  QCOMPARE(Set("message.1", typed.toStdString()), forms::SettingStatus::Ok);
  Same();
  QCOMPARE(v->Line(0)->text().size(), 32);
  // A pasted control character: the window keeps the stored line, the key is refused.
  v->Line(1)->setText("A\tB");
  Q_EMIT v->Line(1)->editingFinished();
  QCOMPARE(Set("message.2", "A\tB"), forms::SettingStatus::Refused);
  Same();
  QCOMPARE(v->Line(1)->text().toStdString(), MessageLineText(f_->Ws().data.Image(), 0x9C0));
}

VB420_QTEST(BenchKeysTest)
#include "bench_keys_test.moc"
