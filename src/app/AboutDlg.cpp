// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/TextTable.h"

namespace vb420 {

namespace {
constexpr int kLicenceEntry = 1294;  // the licence statement, with a link
}  // namespace

QIcon ProgramIcon() {
  static QIcon icon = [] {
    QIcon ic;
    for (int size : {16, 32, 48, 64}) {
      QPixmap pm(size, size);
      pm.fill(Qt::transparent);
      QPainter p(&pm);
      p.setRenderHint(QPainter::Antialiasing);
      const qreal s = size / 64.0;
      p.scale(s, s);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 30, 30));
      p.drawRoundedRect(QRectF(18, 2, 6, 22), 3, 3);
      p.setBrush(QColor(24, 40, 68));
      p.drawRoundedRect(QRectF(14, 18, 32, 44), 7, 7);
      p.setBrush(QColor(150, 200, 160));
      p.drawRoundedRect(QRectF(19, 24, 22, 10), 2, 2);
      p.setBrush(QColor(232, 120, 30));
      p.drawRect(QRectF(18, 38, 24, 3));
      p.setBrush(QColor(200, 205, 215));
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) p.drawRoundedRect(QRectF(19 + c * 8, 45 + r * 7, 6, 4), 1, 1);
      p.setPen(QPen(QColor(232, 120, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(34, 2, 26, 26), -30 * 16, 90 * 16);
      p.drawArc(QRectF(40, 8, 14, 14), -30 * 16, 90 * 16);
      p.end();
      ic.addPixmap(pm);
    }
    return ic;
  }();
  return icon;
}

CAboutDlg::CAboutDlg(TextTable& text, QWidget* parent) : QDialog(parent) {
  auto T = [&text](int n) { return QString::fromStdString(text.Text(n)); };
  setWindowTitle(T(8));
  auto* outer = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignTop);
  row->addWidget(icon);
  auto* texts = new QVBoxLayout;
  for (int entry = 1; entry <= 7; ++entry) {
    auto* l = new QLabel(T(entry), this);
    l->setObjectName(QStringLiteral("aboutText%1").arg(entry));
    l->setWordWrap(entry == 2);
    if (entry == 1) {
      QFont f = l->font();
      f.setBold(true);
      f.setPointSizeF(f.pointSizeF() * 1.2);
      l->setFont(f);
    }
    texts->addWidget(l);
    if (entry == 2 || entry == 4) texts->addSpacing(8);
  }
  // The licence in full words, with the address of the licence texts.
  auto* licence = new QLabel(T(kLicenceEntry), this);
  licence->setObjectName(QStringLiteral("aboutLicence"));
  licence->setWordWrap(true);
  licence->setTextFormat(Qt::RichText);
  licence->setOpenExternalLinks(true);
  licence->setTextInteractionFlags(Qt::TextBrowserInteraction);
  texts->addSpacing(8);
  texts->addWidget(licence);
  row->addLayout(texts, 1);
  outer->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(T(13), QDialogButtonBox::AcceptRole)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  outer->addWidget(buttons);
  setMinimumWidth(460);
}

}  // namespace vb420
