// SPDX-License-Identifier: GPL-3.0-or-later
// A new programming takes the values of the radio-wide areas' single fields
// from the field tables: what a descriptor says a new programming holds is
// what every model's new programming holds, and it is a value the field's
// own window shows as valid.
#include <algorithm>
#include <set>

#include "FeatureTestSupport.h"
#include "data/AreaDefaults.h"

namespace vb420::test {
namespace {

using forms::Encoding;
using forms::FieldDescriptor;
using forms::FormContext;
using forms::FormEngine;

// A stored value the field's window shows without an empty box: one of its
// rows, inside its range, or its "none".
bool ShownAsValid(const FormContext& ctx, const FieldDescriptor& d, int v) {
  if (v == d.emptyValue) return true;
  const auto rows = FormEngine::Choices(ctx, d);
  if (std::any_of(rows.begin(), rows.end(), [&](const forms::Choice& c) { return c.value == v; })) return true;
  if (d.encoding == Encoding::Number || d.encoding == Encoding::Scaled)
    return v >= FormEngine::Minimum(ctx, d) && v <= FormEngine::Maximum(ctx, d);
  if (d.encoding == Encoding::SignMagnitude) return v == 0;
  // Custom fields show their own text: it must not be empty.
  return d.encoding == Encoding::Custom && !FormEngine::ShowText(ctx, d).empty();
}

class NewImageValues : public RadioFixture {};

TEST_F(NewImageValues, EveryModelHoldsWhatTheTablesSay) {
  ASSERT_TRUE(FieldTableDefaultsWriterSet());
  std::set<std::string> setsWithValues;
  for (int model = 0; model < 10; ++model) {
    NewModel(model);
    FormContext ctx(data, text);
    int checked = 0;
    for (const forms::FieldSet& s : forms::FieldSets()) {
      if (!s.fields) continue;
      for (const FieldDescriptor& d : *s.fields) {
        const forms::NewImageValue& n = d.newImage;
        if (!n.Set()) continue;
        const std::string where = "model " + std::to_string(model) + " " + s.name + "." + d.key;
        ASSERT_EQ(d.field.base, forms::RecordBase::None) << where << ": records have no new-programming value";
        const ByteArea a = d.field.area == forms::Area::Ext ? data.Ext() : data.Image();
        ++checked;
        setsWithValues.insert(s.name);
        if (n.emptyText) {
          EXPECT_EQ(FormEngine::ShowText(ctx, d), "") << where;
        } else if (n.fill > 0) {
          for (int i = 0; i < n.fill; ++i) EXPECT_EQ(a.u8(d.field.offset + static_cast<size_t>(i)), n.value) << where;
        } else {
          EXPECT_EQ(FormEngine::ReadValue(ctx, d.field), n.value) << where;
          EXPECT_TRUE(ShownAsValid(ctx, d, n.value)) << where << " holds " << n.value;
        }
      }
    }
    EXPECT_GT(checked, 70) << model;
  }
  for (const char* area : {"features", "scan", "scan-voting", "dtmf", "dtmf-own", "vantelix", "emergency", "optboard", "special"})
    EXPECT_TRUE(setsWithValues.count(area)) << area;
}

// The values are written, not left over from the cleared image: a new
// programming over a dirty one holds them just the same.
TEST_F(NewImageValues, AreWrittenOverWhateverWasThere) {
  data.Image().fill(img::kFeatureArea, img::kDisplayTexts + 0x30 - img::kFeatureArea, 0x5A);
  data.Ext().fill(ext::kPriority1, 4, 0x00);
  WriteEditorAreaDefaults(data);
  FormContext ctx(data, text);
  for (const char* set : {"features", "scan", "emergency", "vantelix"}) {
    for (const forms::FieldSet& s : forms::FieldSets()) {
      if (s.name != set) continue;
      for (const FieldDescriptor& d : *s.fields)
        if (d.newImage.Set() && !d.newImage.emptyText && d.newImage.fill == 0)
          EXPECT_EQ(FormEngine::ReadValue(ctx, d.field), d.newImage.value) << set << "." << d.key;
    }
  }
  EXPECT_EQ(data.Ext().u8(ext::kPriority1), 0xFF);
  EXPECT_EQ(data.Image().u8(layout::features::kPasswordLock), 0xFF);
  EXPECT_EQ(data.Image().u8(layout::features::kPasswordLock + 1), 0x00);
}

}  // namespace
}  // namespace vb420::test
