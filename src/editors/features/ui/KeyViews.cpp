// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/features/ui/KeyViews.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/ImageLayout.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/zones/ui/ZoneServices.h"
#include "frame/ui/Workspace.h"
#include "lang/TextTable.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using forms::ControlKind;
using forms::FieldDescriptor;
using forms::FormPage;

namespace {

// The caption's names of the two key tables.
constexpr int kMainTableEntry = 1309;
constexpr int kPassPortTableEntry = 1310;

FieldDescriptor Heading(int entry) {
  FieldDescriptor d;
  d.labelEntry = entry;
  d.kind = ControlKind::Caption;
  return d;
}

}  // namespace

// ---------------------------------------------------------------------------
// Front panel

CFrontPanel::CFrontPanel(RadioData& data, TextTable& text, QWidget* parent) : QWidget(parent), data_(data), text_(text) {
  setObjectName("frontPanel");
  // The drawing scales; a tiled window shows it smaller, never cut.
  setMinimumSize(sizeHint() / 2);
}

QSize CFrontPanel::sizeHint() const { return data_.model.IsPortable() ? QSize(300, 420) : QSize(560, 300); }

void CFrontPanel::SetSelectedKey(int key) {
  if (key == selected_) return;
  selected_ = key;
  update();
}

// Key places on a 0..1 grid of the drawing, scaled to the widget.
std::map<int, QRectF> CFrontPanel::Layout() const {
  std::map<int, QRectF> r;
  const double w = width(), h = height();
  auto at = [&](int key, double x, double y, double kw, double kh) {
    if (KeyPresent(data_, key)) r[key] = QRectF(x * w, y * h, kw * w, kh * h);
  };
  if (!data_.model.IsPortable()) {
    // Control head on the left, microphone on the right.
    at(0, 0.06, 0.30, 0.07, 0.12);   // up
    at(1, 0.06, 0.48, 0.07, 0.12);   // down
    for (int i = 0; i < 4; ++i) at(3 + i, 0.17 + 0.09 * i, 0.62, 0.07, 0.10);  // S A B C
    at(2, 0.50, 0.06, 0.08, 0.08);   // rear aux key, on the head's top edge
    at(7, 0.70, 0.10, 0.07, 0.08);   // mic PF key
    at(8, 0.79, 0.10, 0.07, 0.08);   // mic up
    at(9, 0.88, 0.10, 0.07, 0.08);   // mic down
    const int pad[4][4] = {{12, 13, 14, 21}, {15, 16, 17, 22}, {18, 19, 20, 23}, {25, 11, 26, 24}};
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 4; ++col) at(pad[row][col], 0.70 + 0.065 * col, 0.30 + 0.15 * row, 0.055, 0.11);
  } else {
    at(28, 0.42, 0.02, 0.16, 0.05);  // top key
    at(10, 0.64, 0.02, 0.14, 0.05);  // orange key
    at(2, 0.02, 0.20, 0.07, 0.10);   // side keys 1 to 3
    at(7, 0.02, 0.33, 0.07, 0.10);
    at(27, 0.02, 0.46, 0.07, 0.10);
    for (int i = 0; i < 4; ++i) at(3 + i, 0.20 + 0.16 * i, 0.38, 0.13, 0.06);
    const int pad[4][3] = {{12, 13, 14}, {15, 16, 17}, {18, 19, 20}, {25, 11, 26}};
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 3; ++col) at(pad[row][col], 0.24 + 0.19 * col, 0.50 + 0.11 * row, 0.15, 0.08);
  }
  return r;
}

QRectF CFrontPanel::KeyRect(int key) const {
  const auto l = Layout();
  const auto it = l.find(key);
  return it == l.end() ? QRectF() : it->second;
}

void CFrontPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = width(), h = height();
  p.fillRect(rect(), palette().window());
  p.setPen(QPen(QColor(40, 40, 40), 2));
  if (!data_.model.IsPortable()) {
    // Control head with its display, and the microphone with its cord.
    p.setBrush(QColor(60, 62, 66));
    p.drawRoundedRect(QRectF(0.03 * w, 0.12 * h, 0.58 * w, 0.66 * h), 12, 12);
    p.setBrush(QColor(150, 190, 150));
    p.drawRect(QRectF(0.17 * w, 0.24 * h, 0.36 * w, 0.28 * h));
    p.setBrush(QColor(70, 72, 78));
    p.drawRoundedRect(QRectF(0.67 * w, 0.04 * h, 0.30 * w, 0.92 * h), 18, 18);
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.drawLine(QPointF(0.61 * w, 0.70 * h), QPointF(0.67 * w, 0.85 * h));
  } else {
    // Body, antenna and display.
    p.setBrush(QColor(60, 62, 66));
    p.drawRect(QRectF(0.20 * w, 0.0, 0.06 * w, 0.10 * h));
    p.drawRoundedRect(QRectF(0.10 * w, 0.08 * h, 0.80 * w, 0.90 * h), 20, 20);
    p.setBrush(QColor(150, 190, 150));
    p.drawRect(QRectF(0.20 * w, 0.14 * h, 0.60 * w, 0.20 * h));
  }
  QFont f = font();
  f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.8));
  p.setFont(f);
  for (const auto& [key, r] : Layout()) {
    const bool lit = key == selected_;
    p.setPen(QPen(lit ? QColor(200, 120, 0) : QColor(20, 20, 20), lit ? 3 : 1));
    p.setBrush(lit ? QColor(255, 200, 40) : (key == 10 ? QColor(230, 120, 30) : QColor(200, 200, 205)));
    p.drawRoundedRect(r, 4, 4);
    std::string literal;
    KeyLabelEntry(data_, key, literal);
    // Keys with a printed legend show it; the others a symbol of their own
    // (their names are in the key window's rows).
    QString label = QString::fromStdString(literal).trimmed();
    const bool portable = data_.model.IsPortable();
    switch (key) {
      case 0: case 8: label = QString::fromUtf8("\u25B2"); break;
      case 1: case 9: label = QString::fromUtf8("\u25BC"); break;
      case 2: label = portable ? "1" : "AUX"; break;
      case 7: label = portable ? "2" : "PF"; break;
      case 27: label = "3"; break;
      default: break;
    }
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, label);
  }
}

// ---------------------------------------------------------------------------
// Key window

CKeyView::CKeyView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::Keys, parent) {
  setObjectName("keyView");
  StateKeyTablesInDirectory(ctx.ws.data);
  fctx_ = std::make_unique<forms::FormContext>(ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting);
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  panel_ = new QPushButton(QString::fromStdString(ctx.ws.text.Text(991)), this);
  panel_->setObjectName("frontPanelButton");
  panel_->setAutoDefault(false);
  row->addWidget(panel_);
  layout->addLayout(row);
  connect(panel_, &QPushButton::clicked, this, [this] {
    Context().frame.OpenEditor(EditorKind::KeyImage);
    SelectKey(selected_);
  });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!now || !isAncestorOf(now)) return;
    for (const KeyPage& p : pages_)
      for (int k : p.keys)
        for (int c = 0; c < 2; ++c)
          if (KeyControl(k, c) == now) SelectKey(k);
  });
  had34_ = KeyFunctionAssigned(ctx.ws.data, {UsesAlternateTable()}, 34);
  had51_ = KeyFunctionAssigned(ctx.ws.data, {UsesAlternateTable()}, 51);
  Rebuild();
}

CKeyView::~CKeyView() = default;

bool CKeyView::UsesAlternateTable() { return ZonesOf(Context()).ShownZoneType() == '5'; }

QString CKeyView::Title() const {
  // Which of the two tables the window edits.
  TextTable& text = const_cast<CKeyView*>(this)->Context().ws.text;
  return CEditorView::Title() + " - " +
         QString::fromStdString(text.Text(fctx_->cursor.zone == 1 ? kPassPortTableEntry : kMainTableEntry));
}

std::vector<FormPage> CKeyView::PageTable(const KeyPage& page) const {
  FormPage p;
  switch (page.kind) {
    case KeyPageKind::Settings:
      p.fields = KeySettingsFields();
      return {p};
    case KeyPageKind::QuickCall:
    case KeyPageKind::DirectChannel: {
      // Two columns under their headings (call type and number, zone and
      // channel); the direct-channel check boxes follow in a third.
      const bool quick = page.kind == KeyPageKind::QuickCall;
      const auto fields = quick ? QuickCallFields() : DirectChannelFields();
      const size_t rows = quick ? 6 : 5;
      p.fields.push_back(Heading(quick ? 905 : 918));
      p.fields.insert(p.fields.end(), fields.begin(), fields.begin() + static_cast<long>(rows));
      p.fields.push_back(Heading(quick ? 906 : 917));
      p.fields.insert(p.fields.end(), fields.begin() + static_cast<long>(rows), fields.end());
      return {p};
    }
    case KeyPageKind::Keys: break;
  }
  // Four columns headed by their captions: first function (labelled with
  // the key), second function, hold function, hold time.
  const int headings[4] = {889, 894, 982, 987};
  for (int column = 0; column < 4; ++column) {
    p.fields.push_back(Heading(headings[column]));
    for (int k : page.keys) {
      FieldDescriptor d = KeyRowFields(k)[static_cast<size_t>(column)];
      d.labelEntry = -1;
      if (column == 0) {
        std::string literal;
        d.labelEntry = KeyLabelEntry(fctx_->data, k, literal);
        d.labelText = literal;
      }
      p.fields.push_back(d);
    }
  }
  if (page.tabEntry == 885) p.fields.push_back(KeySelectorField());
  return {p};
}

void CKeyView::Rebuild() {
  RadioData& data = Context().ws.data;
  fctx_->cursor.zone = UsesAlternateTable() ? 1 : 0;
  const int current = tabs_->currentIndex();
  pages_ = KeyPages(data);
  kind_ = data.model.Kind();
  while (tabs_->count() > 0) {
    QWidget* w = tabs_->widget(0);
    tabs_->removeTab(0);
    w->deleteLater();
  }
  forms_.clear();
  for (const KeyPage& page : pages_) {
    int rows = 14;
    if (page.kind == KeyPageKind::Keys) rows = static_cast<int>(page.keys.size()) + 1;
    if (page.kind == KeyPageKind::Settings) rows = 3;
    if (page.kind == KeyPageKind::QuickCall) rows = 7;
    if (page.kind == KeyPageKind::DirectChannel) rows = 6;
    auto* form = new CFormRenderer(*fctx_, PageTable(page), nullptr, std::max(rows, 1));
    connect(form, &CFormRenderer::Stored, this, [this](int, int) { AfterStore(); });
    forms_.push_back(form);
    // A page keeps its rows at their own height and scrolls when the window
    // is smaller (sixteen keypad rows come and go with the accessories).
    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(form);
    tabs_->addTab(scroller, QString::fromStdString(Context().ws.text.Text(page.tabEntry)));
  }
  if (current >= 0 && current < tabs_->count()) tabs_->setCurrentIndex(current);
  Q_EMIT TitleChanged();
}

void CKeyView::AfterStore() {
  RadioData& data = Context().ws.data;
  const KeyTableChoice table{fctx_->cursor.zone == 1};
  const bool has34 = KeyFunctionAssigned(data, table, 34), has51 = KeyFunctionAssigned(data, table, 51);
  const bool others = has34 != had34_ || has51 != had51_;
  had34_ = has34;
  had51_ = has51;
  // Accessory settings add or remove key rows: the pages are built again
  // once the current event is done (the list that stored is still in use).
  const auto now = KeyPages(data);
  bool same = now.size() == pages_.size();
  for (size_t i = 0; same && i < now.size(); ++i) same = now[i].keys == pages_[i].keys;
  if (!same) QMetaObject::invokeMethod(this, [this] { Rebuild(); }, Qt::QueuedConnection);
  else
    for (CFormRenderer* f : forms_) f->Refresh();
  if (others) Context().frame.RefreshAllEditors(this);
  if (auto* image = dynamic_cast<CKeyImageView*>(Context().frame.FindEditor(EditorKind::KeyImage))) image->Refresh();
}

void CKeyView::Refresh() {
  RadioData& data = Context().ws.data;
  const int table = UsesAlternateTable() ? 1 : 0;
  const auto now = KeyPages(data);
  bool same = now.size() == pages_.size() && kind_ == data.model.Kind() && table == fctx_->cursor.zone;
  for (size_t i = 0; same && i < now.size(); ++i) same = now[i].keys == pages_[i].keys && now[i].tabEntry == pages_[i].tabEntry;
  if (!same) {
    Rebuild();
  } else {
    for (CFormRenderer* f : forms_) f->Refresh();
  }
  had34_ = KeyFunctionAssigned(data, {table == 1}, 34);
  had51_ = KeyFunctionAssigned(data, {table == 1}, 51);
}

bool CKeyView::CommitPendingEdit() {
  for (CFormRenderer* f : forms_) f->CommitPending();
  return true;
}

QSize CKeyView::sizeHint() const {
  QSize page;
  for (CFormRenderer* f : forms_) page = page.expandedTo(f->sizeHint());
  const int chrome = tabs_->tabBar()->sizeHint().height() + panel_->sizeHint().height() + 40;
  return CEditorView::sizeHint().expandedTo(QSize(page.width() + 30, page.height() + chrome));
}

CFormRenderer* CKeyView::PageForm(int tab) const {
  return tab >= 0 && tab < static_cast<int>(forms_.size()) ? forms_[static_cast<size_t>(tab)] : nullptr;
}

QWidget* CKeyView::KeyControl(int key, int column) const {
  for (size_t t = 0; t < pages_.size(); ++t) {
    const auto& keysOnPage = pages_[t].keys;
    const auto it = std::find(keysOnPage.begin(), keysOnPage.end(), key);
    if (it == keysOnPage.end()) continue;
    const int row = static_cast<int>(it - keysOnPage.begin());
    const int n = static_cast<int>(keysOnPage.size()) + 1;
    return forms_[t]->Control(0, column * n + 1 + row);
  }
  return nullptr;
}

void CKeyView::SelectKey(int key) {
  selected_ = key;
  if (auto* image = dynamic_cast<CKeyImageView*>(Context().frame.FindEditor(EditorKind::KeyImage)))
    image->Panel()->SetSelectedKey(key);
}

// ---------------------------------------------------------------------------

CKeyImageView::CKeyImageView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::KeyImage, parent) {
  setObjectName("keyImageView");
  auto* layout = new QVBoxLayout(this);
  panel_ = new CFrontPanel(ctx.ws.data, ctx.ws.text, this);
  layout->addWidget(panel_);
  if (auto* keys = dynamic_cast<CKeyView*>(ctx.frame.FindEditor(EditorKind::Keys))) panel_->SetSelectedKey(keys->SelectedKey());
}

QString CKeyImageView::Title() const {
  TextTable& text = const_cast<CKeyImageView*>(this)->Context().ws.text;
  return QString::fromStdString(text.Text(339) + " - " + text.Text(991));
}

void CKeyImageView::Refresh() {
  panel_->setMinimumSize(panel_->sizeHint() / 2);
  panel_->update();
}

void RegisterKeyWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::Keys, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CKeyView(c, p); });
  reg.RegisterEditor(EditorKind::KeyImage, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CKeyImageView(c, p);
  });
}

}  // namespace vb420
