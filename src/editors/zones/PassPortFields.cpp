// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/PassPortFields.h"

#include <algorithm>
#include <map>
#include <utility>

#include "data/FieldCodec.h"
#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets; every other member keeps its
// default on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420::passport {

using namespace forms;

namespace {

using namespace rec::pp;
constexpr uint16_t kNoChannelBits = 0xFFE0;  // bits 5 to 15: the channel, all ones for none

const ZoneRecordLocator* Loc(const FormContext& c) { return dynamic_cast<const ZoneRecordLocator*>(c.locator); }

long Header(const FormContext& c) { return c.locator ? c.locator->Locate(c, RecordBase::ZoneHeader) : -1; }

// The cursor's zone is a PassPort zone whose header can be changed.
bool Usable(const FormContext& c) {
  const ZoneRecordLocator* l = Loc(c);
  if (!l || c.cursor.zone < 0 || c.cursor.zone >= zones::kZoneCount) return false;
  const ZoneLayout z = l->Zones().ZoneInfo(c.cursor.zone);
  return z.exists && z.cls == kClassPassPort && !z.damaged && z.size >= zones::kPassPortHeader;
}

FieldRef H(size_t offset, int width = 1, int bit = -1, int bits = 1) {
  return {.area = Area::Image, .offset = static_cast<uint32_t>(offset), .width = width, .bit = bit, .bits = bits,
          .base = RecordBase::ZoneHeader};
}

int Digits(int hi) { return hi >= 10000 ? 5 : hi >= 1000 ? 4 : hi >= 100 ? 3 : hi >= 10 ? 2 : 1; }

FieldDescriptor Number(std::string key, FieldRef ref, int lo, int hi) {
  return {.key = std::move(key), .kind = ControlKind::EditSpin, .field = ref, .encoding = Encoding::Number,
          .minimum = lo, .maximum = hi, .enabled = Usable, .inputMode = 2, .maxLength = Digits(hi)};
}

// A number whose stored value is read through a rule (0xFF taken as a
// default, a stray value shown as 0). Typing clamps to the range; an empty
// box keeps the value unless the field has an empty value of its own
// (`emptyRaw`, shown as an empty box). A spin starts from the value shown.
FieldDescriptor Mapped(std::string key, FieldRef ref, int lo, int hi, std::function<int(int)> shown,
                       int emptyRaw = -1) {
  FieldDescriptor d{.key = std::move(key), .kind = ControlKind::EditSpin, .encoding = Encoding::Custom,
                    .minimum = lo, .maximum = hi, .enabled = Usable, .inputMode = 2, .maxLength = Digits(hi)};
  d.customShow = [ref, shown, emptyRaw](const FormContext& c) {
    const int raw = FormEngine::ReadValue(c, ref);
    if (raw < 0 || (emptyRaw >= 0 && raw == emptyRaw)) return std::string();
    return std::to_string(shown(raw));
  };
  d.customStore = [ref, lo, hi, emptyRaw](FormContext& c, std::string& text) {
    if (FormEngine::ReadValue(c, ref) < 0) return;
    if (text.find_first_not_of(" \t") == std::string::npos) {
      if (emptyRaw >= 0) FormEngine::WriteValue(c, ref, emptyRaw);
      return;
    }
    std::string t = text;
    FormEngine::WriteValue(c, ref, CFieldCodec::ClampIntText(t, hi, lo, 1));
  };
  d.customSpin = [ref, lo, hi, shown, emptyRaw](FormContext& c, int direction) {
    const int raw = FormEngine::ReadValue(c, ref);
    if (raw < 0) return;
    const int from = emptyRaw >= 0 && raw == emptyRaw ? lo - 1 : shown(raw);
    FormEngine::WriteValue(c, ref, CFieldCodec::Spin(from, hi, lo, 1, direction));
  };
  return d;
}

// 0xFF (or 0xFFFF) in the field is taken as `value`.
std::function<int(int)> NoneTakenAs(int none, int value) {
  return [none, value](int raw) { return raw == none ? value : raw; };
}

FieldDescriptor Flag(std::string key, size_t offset, int bit, bool clearTicked = false, Rule enabled = Usable) {
  return {.key = std::move(key), .kind = ControlKind::Check, .field = H(offset, 1, bit),
          .encoding = Encoding::Value, .choices = {{372, clearTicked ? 0 : 1}, {373, clearTicked ? 1 : 0}},
          .checkedValue = clearTicked ? 0 : 1, .uncheckedValue = clearTicked ? 1 : 0, .enabled = std::move(enabled)};
}

// A DFA channel: bits 5 to 15 of a word; all ones is no channel.
FieldRef Channel(size_t offset) { return H(offset, 2, 5, 11); }

struct Label {
  std::string en;
  std::string es;
};

std::map<std::pair<int, std::string>, Label>& Labels() {
  static std::map<std::pair<int, std::string>, Label> labels;
  return labels;
}

// Builds a table and its fixed labels side by side, numbering the fields.
struct Table {
  ZoneTable table;
  std::vector<FieldDescriptor> fields;
  void Add(FieldDescriptor d, const char* en, const char* es) {
    d.number = static_cast<int>(fields.size()) + 1;
    Labels()[{static_cast<int>(table), d.key}] = {en, es};
    fields.push_back(std::move(d));
  }
};

int DfaBand(const FormContext& c) {
  const long h = Header(c);
  return h < 0 ? -1 : (c.data.Image().u16le(static_cast<size_t>(h) + kDfaBandWord) >> 1) & 0x0F;
}

long ZoneHeaderOffset(RadioData& data, int zone) {
  const CZoneMemory zones(data);
  if (zone < 0 || zone >= zones::kZoneCount) return -1;
  const ZoneLayout z = zones.ZoneInfo(zone);
  if (!z.exists || z.cls != kClassPassPort || z.damaged || z.size < zones::kPassPortHeader) return -1;
  return z.offset;
}

}  // namespace

std::vector<FieldDescriptor> MakeSystemTable() {
  Table t{ZoneTable::PassPortSystem, {}};
  t.Add({.key = "name", .kind = ControlKind::Text, .field = H(rec::ltr::kName), .encoding = Encoding::Name,
         .textWidth = static_cast<int>(rec::kNameBytes), .textWidthGen2 = 8, .enabled = Usable, .maxLength = 12},
        "System Name", "Nombre del sistema");
  t.Add(Number("txdelay", H(kTxDataDelay), 15, 150), "Tx Data Delay Time [ms]", "Retardo de datos TX [ms]");
  {
    // Custom only because its rows are the zone's groups: the stored byte is
    // the chosen group's number, 0xFF for "Off".
    FieldDescriptor d{.key = "datatg", .kind = ControlKind::Combo, .field = H(kDataTalkgroup),
                      .encoding = Encoding::Custom, .format = "", .enabled = Usable};
    d.customValue = [](const FormContext& c) { return FormEngine::ReadValue(c, H(kDataTalkgroup)); };
    d.customStoreValue = [](FormContext& c, int v) { FormEngine::WriteValue(c, H(kDataTalkgroup), v); };
    // "Off" and then every group of the zone by its number.
    d.dynamicChoices = [](const FormContext& c) {
      std::vector<Choice> rows{{362, 0xFF, {}}};
      const ZoneRecordLocator* l = Loc(c);
      if (!l) return rows;
      for (int n : l->Zones().RecordNumbers(c.cursor.zone)) {
        if (rows.size() > static_cast<size_t>(zones::kMaxRecords)) break;
        rows.push_back({-1, n + 1, std::to_string(n + 1)});
      }
      return rows;
    };
    t.Add(std::move(d), "Data Talkgroup", "Grupo de datos");
  }
  t.Add(Mapped("dispatchtot", H(kDispatchTimeout, 2), 15, 1200, NoneTakenAs(0xFFFF, 15)), "Dispatch Time-out Timer [s]",
        "Tiempo límite de despacho [s]");
  t.Add(Mapped("interconnecttot", H(kInterconnectTimeout, 2), 15, 1200, NoneTakenAs(0xFFFF, 15)), "Interconnect Time-out Timer [s]",
        "Tiempo límite de interconexión [s]");
  t.Add(Mapped("selcalltot", H(kSelCallTimeout, 2), 15, 1200, NoneTakenAs(0xFFFF, 15)), "Selective Call Time-out Timer [s]",
        "Tiempo límite de llamada selectiva [s]");
  t.Add(Mapped("asid", H(kAsid), 1, 127, NoneTakenAs(0xFF, 1)), "ASID", "ASID");
  t.Add(Number("min", H(kMin, 2), 1, 65500), "MIN", "MIN");
  t.Add(Number("ptg", H(rec::pp::kPrimaryGroupId, 2), 1, 65530), "Primary Grp ID", "ID de grupo primario");
  t.Add(Number("ctt", H(kClearToTalkDelay, 2), 0, 5000), "Clear To Talk Tone Delay [ms]", "Retardo del tono de permiso [ms]");
  t.Add(Mapped("optout", H(kAlertOptOut), 0, 254, NoneTakenAs(0xFF, 0)), "Alert Group Opt Out Time [min]",
        "Exclusión del grupo de alerta [min]");
  t.Add(Mapped("missedtone", H(kMissedCallTone), 0, 8, [](int raw) { return raw > 8 ? 0 : raw; }),
        "Missed Selective Call Alert Tone", "Tono de llamada selectiva perdida");
  t.Add(Number("scanresume", H(kScanResume), 0, 255), "Scan Resume Delay [sec]", "Retardo de reanudación del escaneo [s]");
  {
    FieldDescriptor d{.key = "dfaband", .kind = ControlKind::Combo, .field = H(kDfaBandWord, 2, 1, 4),
                      .encoding = Encoding::Value, .format = "", .enabled = Usable};
    for (int b = 0; b < 16; ++b) d.choices.push_back({-1, b, std::to_string(b)});
    t.Add(std::move(d), "DFA Band", "Banda DFA");
  }
  t.Add(Number("rxdfa", Channel(kDfaBandWord), 0, kHighestChannel), "RX DFA Chan", "Canal DFA RX");
  t.Add(Mapped("txdfa", Channel(kTxDfaWord), 0, kHighestChannel, [](int raw) { return raw; }, kNoChannel), "TX DFA Chan",
        "Canal DFA TX");
  t.Add(Mapped("rxdfa2", Channel(92), 0, kHighestChannel, [](int raw) { return raw > kHighestChannel ? 0 : raw; }),
        "Backup RX DFA Chan", "Canal DFA RX de respaldo");
  t.Add(Mapped("txdfa2", Channel(kBackupTxDfaWord), 0, kHighestChannel, [](int raw) { return raw; }, kNoChannel),
        "Backup TX DFA Chan", "Canal DFA TX de respaldo");
  t.Add(Number("nsid", H(kTxDfaWord, 2, 1, 2), 0, 3), "NSID", "NSID");
  {
    // Neither limit may pass the other: such a change keeps the old value.
    FieldDescriptor lower = Number("minlow", H(kMinLow, 2), 1, 65500);
    lower.adjust = [](FormContext& c, int v) {
      const long h = Header(c);
      if (h < 0) return v;
      const ByteArea im = c.data.Image();
      return v > im.u16le(static_cast<size_t>(h) + kMinHigh) ? static_cast<int>(im.u16le(static_cast<size_t>(h) + kMinLow)) : v;
    };
    t.Add(std::move(lower), "Selective Call MIN Limits (lower)", "Límite inferior de MIN de llamada selectiva");
    FieldDescriptor upper = Number("minhigh", H(kMinHigh, 2), 1, 65500);
    upper.adjust = [](FormContext& c, int v) {
      const long h = Header(c);
      if (h < 0) return v;
      const ByteArea im = c.data.Image();
      return v < im.u16le(static_cast<size_t>(h) + kMinLow) ? static_cast<int>(im.u16le(static_cast<size_t>(h) + kMinHigh)) : v;
    };
    t.Add(std::move(upper), "Selective Call MIN Limits (upper)", "Límite superior de MIN de llamada selectiva");
  }
  t.Add(Flag("rssisub", kSiteFlags, 5), "RSSI in Sub-Display", "RSSI en la subpantalla");
  const Rule mobile = [](const FormContext& c) { return Usable(c) && c.IsMobile(); };
  t.Add(Flag("compint", kCallFlags, 0), "Companded Interconnect", "Interconexión con compansión");
  t.Add(Flag("compsel", kCallFlags, 1), "Companded Selective Calling", "Llamada selectiva con compansión");
  t.Add(Flag("inteot", kCallFlags, 2), "Interconnect EOT Tone", "Tono EOT de interconexión");
  t.Add(Flag("seleot", kCallFlags, 3), "Selective Calling EOT Tone", "Tono EOT de llamada selectiva");
  t.Add(Flag("dispeot", kCallFlags, 4), "Dispatch EOT Tone", "Tono EOT de despacho");
  t.Add(Flag("hornint", kCallFlags, 5, false, mobile), "Horn On Interconnect", "Bocina en interconexión");
  t.Add(Flag("hornsel", kCallFlags, 6, false, mobile), "Horn On Selective Call", "Bocina en llamada selectiva");
  t.Add(Flag("outsel", kCallFlags, 7), "Outbound Selective Calling", "Llamada selectiva saliente");
  t.Add(Flag("band2b", kGroupFlags, 1, true), "Use Band IIB Frequencies", "Usar frecuencias de banda IIB");
  t.Add(Flag("ptgscan", kGroupFlags, 4), "Primary Talkgroup Autoscan", "Autoescaneo del grupo primario");
  t.Add(Flag("dataptg", kGroupFlags, 5), "Data On PTG", "Datos en el grupo primario");
  t.Add(Flag("emerptg", kGroupFlags, 6, true), "Emergency On PTG", "Emergencia en el grupo primario");
  t.Add(Flag("txlow", kGroupFlags, 7), "Tx Low Power", "Potencia TX baja");
  t.Add(Flag("dtmfpad", kDisplayFlags, 0), "DTMF Keypad Enable", "Activar teclado DTMF");
  t.Add(Flag("rxmobileid", kDisplayFlags, 1), "Rx Mobile ID Display", "Mostrar ID móvil recibido");
  t.Add(Flag("nonumber", kDisplayFlags, 2), "No Number Displayed if Named", "Sin número si tiene nombre");
  t.Add(Flag("manualmin", kDisplayFlags, 3), "Manual MIN Entry", "Entrada manual de MIN");
  t.Add(Flag("scanalert", kDisplayFlags, 4), "Primary Scan Alert Tone", "Tono de alerta de escaneo primario");
  t.Add(Flag("txinvert", kDisplayFlags, 5), "Tx Data Invert", "Invertir datos TX");
  t.Add(Flag("rxinvert", kDisplayFlags, 6), "Rx Data Invert", "Invertir datos RX");
  t.Add(Flag("band5b", kDisplayFlags, 7, true), "Use Band 5B Frequencies", "Usar frecuencias de banda 5B");
  t.Add(Flag("lastregbackup", kScanFlags, 4), "Last Registered Backup Priority", "Prioridad del último sitio registrado");
  t.Add(Flag("alertscan", kScanFlags, 5), "Alert Group Scan", "Escaneo de grupos de alerta");
  t.Add(Flag("selacross", kScanFlags, 6), "Select Call Across ASIDs", "Llamada selectiva entre ASID");
  t.Add(Flag("ptttone", kScanFlags, 7), "PTT Enable Tone", "Tono de PTT habilitado");
  t.Add(Flag("eeteardown", kEmergencyFlags, 2), "Enhanced Emergency Teardown Enable", "Fin de emergencia mejorada");
  t.Add(Flag("rxafteremer", kEmergencyFlags, 3), "Rx Mode After Emergency Cycles End", "Modo RX tras los ciclos de emergencia");
  t.Add(Flag("tocexits", kEmergencyFlags, 4), "TOC Exits Enhanced Emergency Mode", "TOC sale de la emergencia mejorada");
  t.Add(Flag("emerrssi", kEmergencyFlags, 5), "Emergency RSSI Enable", "Activar RSSI de emergencia");
  t.Add(Flag("sitelockcancel", kEmergencyFlags, 6), "Emergency Site Lock Cancel", "Cancelar bloqueo de sitio en emergencia");
  t.Add(Flag("enhemer", kEmergencyFlags, 7, true), "Enhanced Emergency", "Emergencia mejorada");
  return t.fields;
}

std::vector<FieldDescriptor> MakeSearchTable() {
  Table t{ZoneTable::PassPortSearch, {}};
  auto timer = [&](const char* key, size_t at, int lo, int hi, int none, const char* en, const char* es) {
    t.Add(Mapped(key, H(at), lo, hi, NoneTakenAs(0xFF, none)), en, es);
  };
  timer("initdwell", kInitialDwell, 0, 255, 10, "Initial Site Search Dwell Time [sec]", "Permanencia en la búsqueda inicial [s]");
  timer("freqdwell", kFrequencyDwell, 0, 255, 6, "Search Frequency Dwell Time [sec]", "Permanencia por frecuencia [s]");
  timer("crcloss", kCrcLoss, 0, 255, 15, "CRC Loss of System Time [sec]", "Pérdida de sistema por CRC [s]");
  timer("rssiloss", kRssiLoss, 0, 255, 25, "RSSI Loss of Site Time [sec]", "Pérdida de sitio por RSSI [s]");
  timer("regrssi", kRegisterRssi, 0, 199, 70, "Site Register RSSI", "RSSI de registro en el sitio");
  timer("holdrssi", kHoldRssi, 0, 195, 65, "Site Hold RSSI", "RSSI de permanencia en el sitio");
  timer("lookbackrssi", kLookBackRssi, 0, 255, 75, "Home Look Back RSSI", "RSSI de retorno al sitio base");
  timer("lookbackint", kLookBackInterval, 1, 255, 5, "Home Look Back Interval [min]", "Intervalo de retorno al sitio base [min]");
  t.Add({.key = "lookaround", .kind = ControlKind::Combo, .field = H(kLookAround), .encoding = Encoding::Value, .format = "",
         .choices = {{362, 0}, {370, 1}}, .enabled = Usable},
        "Neighbor Site Look Around", "Exploración de sitios vecinos");
  timer("lookaroundint", kLookAroundInterval, 1, 31, 5, "Look Around Interval [min]", "Intervalo de exploración [min]");
  timer("softrereg", kSoftReregister, 1, 254, 5, "Soft Re-Register Time [min]", "Tiempo de re-registro suave [min]");
  timer("nearsites", kNearSites, 1, 16, 2, "Search Pattern Near Sites", "Patrón de búsqueda: sitios cercanos");
  timer("farsites", kFarSites, 0, 16, 16, "Search Pattern Far Sites", "Patrón de búsqueda: sitios lejanos");
  timer("noservice", kNoServiceInterval, 0, 254, 0, "No Service Alert Tone Interval [secs] (0 = Disabled)",
        "Intervalo del tono sin servicio [s] (0 = desactivado)");
  timer("redirect", kRedirectFailed, 0, 30, 20, "Redirect Failed Timer [min]", "Temporizador de redirección fallida [min]");
  {
    // The blacklist as a list of ASIDs ("3,17,45"): typing a list sets
    // exactly those bits, an empty text clears them all.
    FieldDescriptor d{.key = "blacklist", .kind = ControlKind::List, .encoding = Encoding::Custom, .enabled = Usable};
    d.customShow = [](const FormContext& c) {
      std::string s;
      if (Header(c) < 0) return s;
      for (int a = 1; a <= 127; ++a)
        if (AsidBlacklisted(c.data, c.cursor.zone, a)) s += (s.empty() ? "" : ",") + std::to_string(a);
      return s;
    };
    d.customStore = [](FormContext& c, std::string& text) {
      if (Header(c) < 0) return;
      std::vector<bool> on(128, false);
      size_t i = 0;
      while (i < text.size()) {
        if (text[i] < '0' || text[i] > '9') {
          ++i;
          continue;
        }
        int v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') v = std::min(v * 10 + (text[i++] - '0'), 1000);
        if (v >= 1 && v <= 127) on[static_cast<size_t>(v)] = true;
      }
      for (int a = 1; a <= 127; ++a) SetAsidBlacklisted(c.data, c.cursor.zone, a, on[static_cast<size_t>(a)]);
    };
    t.Add(std::move(d), "ASID Blacklist", "Lista negra de ASID");
  }
  t.Add(Flag("narrow", kDfaBandWord, 0), "Assume Narrow Bandwidth", "Suponer ancho de banda angosto");
  t.Add(Number("dcc", H(kSearchFlags, 1, 0, 2), 0, 3), "Digital Color Code (DCC)", "Código de color digital (DCC)");
  t.Add(Flag("fixeddcc", kSearchFlags, 2), "Fixed Digital Color Code (DCC)", "Código de color digital (DCC) fijo");
  t.Add(Flag("redirectall", kSearchFlags, 3), "Assume Redirect on All Sites", "Suponer redirección en todos los sitios");
  t.Add(Flag("collectredirect", kSearchFlags, 4), "Collect Channels Have Redirect Bit", "Canales de recolección con redirección");
  t.Add(Flag("roamdisable", kSearchFlags, 5), "Roam Disable", "Desactivar itinerancia");
  t.Add(Flag("lastregfirst", kSearchFlags, 6), "Search Last Registered First", "Buscar primero el último registrado");
  t.Add(Flag("preferlastreg", kSearchFlags, 7), "Prefer Last Registered Site", "Preferir el último sitio registrado");
  t.Add(Flag("rssisearch", kSiteFlags, 0), "RSSI Search and Hold", "Búsqueda y permanencia por RSSI");
  t.Add(Flag("strongest", kSiteFlags, 1), "RSSI Strongest Site Search", "Buscar el sitio con mayor RSSI");
  t.Add(Flag("lastresort", kSiteFlags, 2), "Last Resort RSSI Disable", "Desactivar RSSI de último recurso");
  t.Add(Flag("lookback", kSiteFlags, 3), "Home Look Back Enable", "Activar retorno al sitio base");
  t.Add(Flag("preempt", kSiteFlags, 4), "Strongest Site Search Preempt", "Prioridad a la búsqueda del sitio más fuerte");
  t.Add(Flag("interleave", kSiteFlags, 6), "Interleave Home Channel in Search", "Intercalar el canal base en la búsqueda");
  // The selective-call scrambler lives in the extension area, per zone; it
  // needs the scrambler option board (first option-board selection 0).
  const Rule scrambler = [](const FormContext& c) { return Usable(c) && c.ImageByte(img::kSystemTypeBytes) == 0; };
  t.Add({.key = "scrambler", .kind = ControlKind::Check,
         .field = {.area = Area::Ext, .offset = static_cast<uint32_t>(ext::kEntryBits), .base = RecordBase::ZoneBit},
         .encoding = Encoding::Value, .choices = {{372, 0}, {373, 1}}, .checkedValue = 0, .uncheckedValue = 1,
         .enabled = scrambler},
        "Scrambler on Selective Call Enable", "Codificador en llamada selectiva");
  {
    FieldDescriptor d = Mapped("scramblecode",
                               {.area = Area::Ext, .offset = static_cast<uint32_t>(ext::kEntryBytes),
                                .base = RecordBase::ZoneByte},
                               1, 16, NoneTakenAs(0xFF, 1));
    d.enabled = scrambler;
    t.Add(std::move(d), "Code", "Código");
  }
  return t.fields;
}

std::vector<FieldDescriptor> MakeSeedTable() {
  Table t{ZoneTable::PassPortSeed, {}};
  for (int i = 0; i < 2; ++i) {
    // Custom: a frequency field of 4 packed-BCD bytes without a step code;
    // an empty box stores none, a frequency outside the model's range is
    // stored with the warning 283.
    const size_t at = kSeedFrequencies + kSeedFrequencySize * static_cast<size_t>(i);
    FieldDescriptor d{.key = i == 0 ? "freq1" : "freq2", .kind = ControlKind::Text, .encoding = Encoding::Custom,
                      .enabled = Usable, .inputMode = 3, .maxLength = 9};
    d.customShow = [at](const FormContext& c) {
      std::string s;
      const long h = Header(c);
      if (h < 0) return s;
      const uint8_t* p = c.data.Image().ptr(static_cast<size_t>(h) + at, 4);
      if (p && !CFreqCodec::IsEmptyField(p)) c.data.freq.FreqToText(p, s);
      return s;
    };
    d.customStore = [at](FormContext& c, std::string& typed) {
      const long h = Header(c);
      if (h < 0) return;
      ByteArea image = c.data.Image();
      std::string text = c.data.field.DelocalizeDecimal(typed);
      text.erase(0, text.find_first_not_of(" \t"));
      while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
      if (!text.empty() && c.data.freq.CheckFreq(text) == 0) c.message = 283;
      uint8_t f[4];
      const int step = text.empty() ? -1
                                    : c.data.freq.EncodeFreq(text, f, c.data.model.BandClass() == 1 ? 1 : 0,
                                                             c.data.model.IsPortable());
      if (step < 0) image.setU32le(static_cast<size_t>(h) + at, 0xFFFFFFFFu);
      else image.write(static_cast<size_t>(h) + at, f, 4);
    };
    t.Add(std::move(d), i == 0 ? "Seed Frequency 1 [MHz]" : "Seed Frequency 2 [MHz]",
          i == 0 ? "Frecuencia semilla 1 [MHz]" : "Frecuencia semilla 2 [MHz]");
  }
  t.Add(Flag("use", kTxDfaWord, 0), "Use Seed Frequencies", "Usar frecuencias semilla");
  t.Add(Flag("first", kSiteFlags, 7), "Search Seed Frequencies First", "Buscar primero en las frecuencias semilla");
  t.Add(Mapped("dwell", H(kSeedDwell), 0, 255, NoneTakenAs(0xFF, 3)), "Seed Frequency Dwell Time [sec]",
        "Permanencia en frecuencia semilla [s]");
  return t.fields;
}

std::string FormLabel(ZoneTable table, const std::string& key, const TextTable& text) {
  (void)zonefields::Fields(table);  // the labels come with the table
  const auto it = Labels().find({static_cast<int>(table), key});
  if (it == Labels().end()) return {};
  return text.CurrentLanguage() == "Spanish" ? it->second.es : it->second.en;
}

bool SystemFieldShown(const FormContext& ctx, const std::string& key) {
  if (key == "txdfa" || key == "txdfa2") return ctx.data.model.BandClass() != 1;
  if (key == "band5b") return DfaBand(ctx) == 5;
  if (key == "band2b") return DfaBand(ctx) == 0;
  return true;
}

bool OpenSystemData(RadioData& data, int zone) {
  const long h = ZoneHeaderOffset(data, zone);
  if (h < 0) return false;
  ByteArea image = data.Image();
  const size_t at = static_cast<size_t>(h);
  bool changed = false;
  if (image.u8(at + kMissedCallTone) > 8) {
    image.setU8(at + kMissedCallTone, 0);
    changed = true;
  }
  if (data.model.BandClass() == 1) {
    for (size_t word : {kTxDfaWord, kBackupTxDfaWord}) {
      const uint16_t v = image.u16le(at + word);
      if ((v & kNoChannelBits) != kNoChannelBits) {
        image.setU16le(at + word, static_cast<uint16_t>(v | kNoChannelBits));
        changed = true;
      }
    }
  }
  return changed;
}

bool OpenSearchHold(RadioData& data, int zone) {
  if (ZoneHeaderOffset(data, zone) < 0) return false;
  ByteArea ext = data.Ext();
  const size_t at = ext::kEntryBytes + static_cast<size_t>(zone);
  if (ext.u8(at) != 0xFF) return false;
  ext.setU8(at, 1);
  return true;
}

bool AsidBlacklisted(RadioData& data, int zone, int asid) {
  const long h = ZoneHeaderOffset(data, zone);
  if (h < 0 || asid < 1 || asid > 127) return false;
  return data.Image().bit(static_cast<size_t>(h) + kBlacklist + static_cast<size_t>(asid / 8), asid % 8);
}

void SetAsidBlacklisted(RadioData& data, int zone, int asid, bool on) {
  const long h = ZoneHeaderOffset(data, zone);
  if (h < 0 || asid < 1 || asid > 127) return;
  data.Image().setBit(static_cast<size_t>(h) + kBlacklist + static_cast<size_t>(asid / 8), asid % 8, on);
}

void SetAllAsids(RadioData& data, int zone, bool on) {
  for (int a = 1; a <= 127; ++a) SetAsidBlacklisted(data, zone, a, on);
}

std::vector<std::string> SystemSummary(RadioData& data, int zone) {
  const long h = ZoneHeaderOffset(data, zone);
  if (h < 0) return {"ASID: ", "MIN: ", "PTG: "};
  const ByteArea im = data.Image();
  const size_t at = static_cast<size_t>(h);
  const int asid = im.u8(at + kAsid) == 0xFF ? 1 : im.u8(at + kAsid);
  return {"ASID: " + std::to_string(asid), "MIN: " + std::to_string(im.u16le(at + kMin)),
          "PTG: " + std::to_string(im.u16le(at + rec::pp::kPrimaryGroupId))};
}

}  // namespace vb420::passport
