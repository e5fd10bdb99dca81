// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signalling/VantelixFields.h"

#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/signalling/SignalFieldKit.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;
using namespace sigfields;

namespace {

FieldRef Flag1(int bit) { return ImageWordBit(vxf::kFlags1, bit); }
FieldRef Flag2(int bit) { return ImageWordBit(vxf::kFlags2, bit); }
FieldRef GpsFlag(int bit) { return ImageWordBit(vxf::kGpsFlags, bit); }

bool GpsOn(const FormContext& c) { return FormEngine::ReadValue(c, GpsFlag(0)) == 0; }

FormPage Page0() {
  FormPage p{.tabEntry = kVantelixTabs[0]};
  p.fields = {
      WithNew(FleetBox("ownfleet", 999, ImageByte(vxf::kOwnFleet)), 0xFF),
      WithNew(IdBox("ownid", 1000, ImageWord(vxf::kOwnId)), 0xFFFF),
      WithNew(IdBox("groupidlow", 1001, ImageWord(vxf::kGroupIdLow), -1, ControlKind::EditCombo), 0xFFFF),
      WithNew(IdBox("groupidhigh", -1, ImageWord(vxf::kGroupIdHigh), -1, ControlKind::EditCombo), 0xFFFF),
      WithNew(ChoiceList("callmode", 1002, ImageByte(vxf::kCallMode), {{1017, '0'}, {1018, '1'}}), '0'),
      WithNew(ChoiceList("notify", 1003, ImageByte(vxf::kNotification), {{362, 0xFF}, {752, '0'}, {1012, '1'}}), 0xFF),
      ChoiceList("datach", 1004, Flag2(5), {{796, 0}, {1014, 1}}),
      WithNew(ChoiceList("baud", 1005, ImageByte(vxf::kBaudRate), {{1015, '0'}, {1016, '1'}}), '0'),
      BitCheck("callerid", 1006, Flag1(0)),
      BitCheck("transpond", 861, Flag1(1)),
      BitCheck("emerdecode", 1007, Flag1(2)),
      BitCheck("answerback", 754, Flag1(3)),
      BitCheck("busylockout", 1008, Flag1(8)),
      BitCheck("autoretry", 1009, Flag1(10)),
      BitCheck("msgreceive", 1010, Flag2(4)),
      BitCheck("calllog", 1011, Flag2(9)),
  };
  // The horn alert needs the accessory connector of a mobile.
  p.fields[5].offered = [](const FormContext& c, const Choice& ch) { return ch.textEntry != 1012 || c.IsMobile(); };
  // The two ends of the group range offer "none" as their list row.
  for (int i : {2, 3}) p.fields[static_cast<size_t>(i)].choices = {{-1, 0xFFFF, ""}};
  return p;
}

FormPage Page1() {
  // Thirteen rows: the call-alert group opens the second column.
  FormPage p{.tabEntry = kVantelixTabs[1], .rowsPerColumn = 13};
  FieldDescriptor autoReset = NumberBox("autoreset", 750, ImageWord(vxf::kAutoReset), 1, 300);
  autoReset.emptyValue = 0xFFFF;
  autoReset.emptyTextEntry = 371;
  autoReset.inputMode = 1;
  autoReset.maxLength = 12;
  autoReset.newImage.value = 0xFFFF;  // off
  p.fields = {
      Caption(749),
      autoReset,
      BitCheck("alerttone", 751, Flag1(4)),
      BitCheck("alertstatus", 1019, Flag1(5)),
      BitCheck("callreset", 753, Flag1(7)),
      BitCheck("callalert", 626, Flag1(6)),
      Caption(1020),
      WithNew(ByteCheck("autopos", 1021, ImageByte(vxf::kAutoPosition), '0', '1'), '1'),
      BitCheck("stspoweron", 1022, Flag1(14)),
      BitCheck("stspoweroff", 1023, Flag1(15)),
      BitCheck("stsignition", 1024, Flag2(0)),
      BitCheck("stsemergency", 1025, Flag2(7)),
      BitCheck("stschannel", 1026, Flag2(6)),
      Caption(626),
      WithNew(NumberBox("indcall", 1027, ImageByte(vxf::kIndividualRetries), 1, 8), 1),
      WithNew(NumberBox("grpcall", 1028, ImageByte(vxf::kGroupRetries), 1, 8), 1),
      WithNew(NumberBox("stscall", 1036, ImageByte(vxf::kStatusRetries), 1, 8), 1),
      WithNew(NumberBox("emercall", 1029, ImageByte(vxf::kEmergencyRetries), 1, 8), 1),
      WithNew(NumberBox("msgcall", 1030, ImageByte(vxf::kMessageRetries), 1, 8), 1),
      Caption(1031),
      BitCheck("showfleet", 1032, Flag2(1)),
      BitCheck("showid", 1033, Flag2(2)),
      BitCheck("showname", 1034, Flag2(3)),
      BitCheck("showstatus", 1035, Flag2(8)),
      Caption(1037),
      BitCheck("remotemon", 1104, Flag2(10)),
  };
  return p;
}

FormPage Page2() {
  FormPage p{.tabEntry = kVantelixTabs[2]};
  p.fields = {
      WithNew(NumberBox("retries", 1038, ImageByte(vxf::kRetryCount), 0, 5), 0),
      WithNew(NumberBox("slots", 1039, ImageByte(vxf::kAccessSlots), 0, 8), 0),
      WithNew(SecondsBox("ackwait", 1040, ImageWord(vxf::kAckWait), 500, 60000, 100), 500),
      WithNew(SecondsBox("retryinterval", 1041, ImageWord(vxf::kRetryInterval), 500, 60000, 100), 500),
      WithNew(NumberBox("txdelay", 1042, ImageWord(vxf::kTxDelay), 100, 60000, 100), 100),
      WithNew(SecondsBox("busywait", 1043, ImageWord(vxf::kBusyWait), 0, 25000, 100), 0),
      WithNew(NumberBox("carrierhold", 1044, ImageWord(vxf::kCarrierHold), 0, 6000), 0),
      BitCheck("txinvert", 1045, ImageByteBit(vxf::kDataInvert, 0)),
      BitCheck("rxinvert", 1046, Flag1(11)),
      BitCheck("longpreamble", 1047, Flag1(12)),
      BitCheck("collision", 1048, Flag1(13)),
      BitCheck("datapriority", 1049, Flag1(9)),
  };
  return p;
}

FormPage Page5() {
  FormPage p{.tabEntry = kVantelixTabs[5]};
  FieldDescriptor report = NumberBox("reportinterval", 1060, ExtWord(vxf::kReportInterval), 0, 3599);
  // The report interval stays below the moving and stopped intervals while
  // those are in force.
  report.dynamicMaximum = [](const FormContext& c) {
    int m = 3599;
    if (GpsOn(c)) {
      const ByteArea ext = c.data.buffers.Ext();
      for (uint32_t at : {vxf::kMovingInterval, vxf::kStoppedInterval}) {
        const int v = ext.u16le(at);
        if (v >= 1 && v <= 3600) m = std::min(m, v - 1);
      }
    }
    return m;
  };
  FieldDescriptor moving = NumberBox("movinginterval", 1063, ExtWord(vxf::kMovingInterval), 1, 3600);
  FieldDescriptor stopped = NumberBox("stoppedinterval", 1064, ExtWord(vxf::kStoppedInterval), 1, 3600);
  moving.enabled = GpsOn;
  stopped.enabled = GpsOn;
  // A shorter moving or stopped interval brings the report interval down with it.
  auto keepReportBelow = [](FormContext& c) {
    ByteArea ext = c.data.buffers.Ext();
    int m = 3599;
    for (uint32_t at : {vxf::kMovingInterval, vxf::kStoppedInterval}) {
      const int v = ext.u16le(at);
      if (v >= 1 && v <= 3600) m = std::min(m, v - 1);
    }
    const int r = ext.u16le(vxf::kReportInterval);
    if (r <= 3599 && r > m) ext.setU16le(vxf::kReportInterval, static_cast<uint16_t>(m));
  };
  moving.afterStore = keepReportBelow;
  stopped.afterStore = keepReportBelow;
  p.fields = {
      WithNew(FleetBox("gpsfleet", 1056, ImageByte(vxf::kGpsFleet)), 0xFF),
      WithNew(IdBox("gpsid", 1057, ImageWord(vxf::kGpsId)), 0xFFFF),
      WithNew(ChoiceList("reportmode", 1058, ImageByte(vxf::kReportMode), {{693, '0'}, {1013, '1'}}), '0'),
      WithNew(NumberBox("fixinterval", 1059, ImageByte(vxf::kFixInterval), 1, 60), 1),
      report,
      ChoiceList("preamble", 1078, GpsFlag(10), {{598, 1}, {599, 0}}),
      BitCheck("gpsenable", 1061, GpsFlag(0)),
      Caption(1062),
      moving,
      stopped,
      Caption(1065),
      BitCheck("reportptt", 1066, GpsFlag(7)),
      WithNew(ChoiceList("reporttiming", 1067, ImageByte(vxf::kReportTiming), {{441, '0'}, {442, '1'}, {1079, '2'}, {1080, '3'}, {443, '4'}}), '0'),
      BitCheck("reportstatus", 1068, GpsFlag(13)),
      WithNew(NumberBox("speedlow", 1069, ImageByte(vxf::kSpeedLow), 10, 80), 10),
      WithNew(NumberBox("speedhigh", -1, ImageByte(vxf::kSpeedHigh), 10, 80), 10),
      BitCheck("speedreport", 1070, GpsFlag(9)),
      Caption(1071),
      BitCheck("latlon", 1072, GpsFlag(1)),
      BitCheck("speed", 1073, GpsFlag(2)),
      BitCheck("heading", 1074, GpsFlag(3)),
      BitCheck("altitude", 1075, GpsFlag(4)),
      BitCheck("time", 1076, GpsFlag(5)),
      BitCheck("satellites", 1077, GpsFlag(6)),
  };
  return p;
}

FormPage Page6() {
  FormPage p{.tabEntry = kVantelixTabs[6]};
  p.fields = {
      WithNew(FleetBox("dispfleet", 1081, ImageByte(vxf::kDispatcherFleet)), 0xFF),
      WithNew(IdBox("dispid", 1082, ImageWord(vxf::kDispatcherId)), 0xFFFF),
  };
  return p;
}

std::vector<FormPage> BuildPages() {
  std::vector<FormPage> pages = {Page0(), Page1(), Page2(), FormPage{.tabEntry = kVantelixTabs[3]},
                                 FormPage{.tabEntry = kVantelixTabs[4]}, Page5(), Page6()};
  return pages;
}

// The page fields are radio-wide: one record, "vantelix".
class AreaRecord : public BoundRecord {
 public:
  AreaRecord(RadioData& data, TextTable& text) : ctx_(data, text, data.votingSwitch) {}
  FormContext& Context() override { return ctx_; }

 private:
  FormContext ctx_;
};

FieldSet MakeVantelixSet() {
  FieldSet s;
  s.name = "vantelix";
  s.recordKind = "area";
  s.keyPattern = "`vantelix.KEY`";
  s.fields = &VantelixFieldTable();
  s.records = [](RadioData&) { return std::vector<FieldSetRecord>{{"vantelix", {}}}; };
  s.parse = [](RadioData&, const std::string& prefix, RecordCursor& c) {
    c = {};
    return prefix == "vantelix";
  };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<AreaRecord>(data, text);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeVantelixSet());
}

}  // namespace

const std::vector<FormPage>& VantelixPages() {
  static const std::vector<FormPage> pages = BuildPages();
  return pages;
}

const std::vector<FieldDescriptor>& VantelixFieldTable() {
  static const std::vector<FieldDescriptor> table = [] {
    std::vector<FieldDescriptor> t;
    for (const FormPage& p : VantelixPages())
      for (const FieldDescriptor& d : p.fields)
        if (!d.key.empty()) t.push_back(d);  // captions are no settings
    return t;
  }();
  return table;
}

void RegisterVantelixFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
