// Command D: the general data of the open Rama (file 1, record 1) and, with
// an Obra open, the Obra's fields of its header (file 6, record 0).
#include "estimating/general_data.h"

#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "console/letters.h"
#include "estimating/entry_screen.h"
#include "platform/platform.h"
#include "records/budget_records.h"
#include "records/obra_identity.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "toolkit/field_editor.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"

namespace vantu {

namespace {

constexpr int kArea = 1;
constexpr int kFieldCount = 15;
constexpr int kConsultantRow = 3;

const std::vector<std::string> kAiuModes = {"Cada Item", "Al final"};

FieldDescriptor Text(const char* label, int row) {
  return MakeField(label, kKindText, 35, 10, row);
}

FieldDescriptor Number(const char* label, int row, const char* lo, const char* hi, int width = 5) {
  FieldDescriptor d = MakeField(label, kKindReal, width, 10, row);
  d.decimals = 2;
  d.minValue = lo;
  d.maxValue = hi;
  return d;
}

// Fields 1..15, index 0 unused. The advance and retention take 100.00, so
// their fields are one character wider than the percentages above them.
const std::vector<FieldDescriptor>& Fields() {
  static const std::vector<FieldDescriptor> fields = [] {
    std::vector<FieldDescriptor> f(kFieldCount + 1);
    f[1] = Text("Nombre de la Rama     :", 5);
    f[2] = Text("Nombre de la Obra     :", 6);
    f[3] = Text("Referencia de la Obra :", 7);
    f[4] = Text("Fecha del Presupuesto :", 8);
    f[4].kind = kKindDate;
    f[4].width = 8;
    f[5] = Text("Forma aplicar el AIU  :", 9);
    f[5].kind = kKindInt;
    f[5].width = 9;
    f[5].minValue = "1";
    f[5].maxValue = "2";
    f[5].choiceCount = 2;
    f[5].choiceTexts = &kAiuModes;
    f[6] = Number("Porcentaje de Administracion  (%) :", 11, "0.00", "");
    f[7] = Number("Porcentaje de Imprevistos     (%) :", 12, "0.00", "");
    f[8] = Number("Porcentaje de Utilidad        (%) :", 13, "0.00", "");
    f[9] = Number("IVA (aplicable a la Utilidad) (%) :", 14, "0.00", "");
    f[10] = Number("Factor ajuste valor Equipos       :", 15, "0.50", "2.00");
    f[11] = Number("Factor ajuste valor Materiales    :", 16, "0.50", "2.00");
    f[12] = Number("Factor ajuste valor Transportes   :", 17, "0.50", "2.00");
    f[13] = Number("Factor ajuste valor Mano de Obra  :", 18, "0.50", "2.00");
    f[14] = Number("% Anticipo - se amortiza en cada pago parcial :", 20, "0.00", "100.00", 6);
    f[15] = Number("% Retencion adicional - se cancela al final   :", 21, "0.00", "100.00", 6);
    return f;
  }();
  return fields;
}

bool ObraField(int n) {
  return (n >= 2 && n <= 4) || n == 14 || n == 15;
}

// What the screen edits.
struct GeneralValues {
  GeneralDataRecord rama;
  ObraHeader obra;
  bool withObra = false;
};

ExtField<GeneralDataRecord> RamaNumber(int n) {
  static constexpr ExtField<GeneralDataRecord> kNumbers[] = {
      general::AdminPct,          general::ImprevistosPct,
      general::UtilidadPct,       general::IvaPct,
      general::FactorEquipos,     general::FactorMateriales,
      general::FactorTransportes, general::FactorManoDeObra};
  return kNumbers[n - 6];
}

FieldValue ValueOf(const GeneralValues& v, int n) {
  switch (n) {
    case 1:
      return Get(v.rama, general::RamaName);
    case 2:
      return v.withObra ? Get(v.obra, obra_header::ObraName) : "...Ninguna obra especifica...";
    case 3:
      return v.withObra ? Get(v.obra, obra_header::ObraReference) : std::string();
    case 4:
      return v.withObra ? Get(v.obra, obra_header::BudgetDate) : std::string();
    case 5:
      return Get(v.rama, general::AiuMode);
    case 14:
      return v.withObra ? Get(v.obra, obra_header::AnticipoPct) : 0.0L;
    case 15:
      return v.withObra ? Get(v.obra, obra_header::RetencionPct) : 0.0L;
    default:
      return Get(v.rama, RamaNumber(n));
  }
}

void Store(GeneralValues& v, int n, const FieldValue& value) {
  const std::string* s = std::get_if<std::string>(&value);
  const long double* x = std::get_if<long double>(&value);
  const int16_t* i = std::get_if<int16_t>(&value);
  if (n == 1 && s) Set(v.rama, general::RamaName, *s);
  if (n == 2 && s) Set(v.obra, obra_header::ObraName, *s);
  if (n == 3 && s) Set(v.obra, obra_header::ObraReference, *s);
  if (n == 4 && s) Set(v.obra, obra_header::BudgetDate, *s);
  if (n == 5 && i) Set(v.rama, general::AiuMode, *i);
  if (n >= 6 && n <= 13 && x) Set(v.rama, RamaNumber(n), *x);
  if (n == 14 && x) Set(v.obra, obra_header::AnticipoPct, *x);
  if (n == 15 && x) Set(v.obra, obra_header::RetencionPct, *x);
}

void ShowConsultant() {
  GotoXY(10, kConsultantRow);
  NormalText();
  ClrEol();
  WriteLetters("Consultor: " + Shell().consultantName);
}

void DrawScreen(const GeneralValues& v) {
  StartModuleScreen(kArea);
  ShowButtonLabel(CurrentButtonLabel() + " AltN^consultor");
  ShowConsultant();
  std::vector<const FieldDescriptor*> zones(kFieldCount, nullptr);
  for (int n = 1; n <= kFieldCount; ++n) {
    const FieldDescriptor& d = Fields()[n];
    if (ObraField(n) && !v.withObra) {
      if (n == 2) {  // the label and the placeholder, not as a field
        ShowField(kArea, d, ValueOf(v, n), ShowMode::Label);
        GotoXY(ValueColumn(d), d.row);
        WriteText(std::get<std::string>(ValueOf(v, n)));
      }
      continue;
    }
    ShowField(kArea, d, ValueOf(v, n), ShowMode::LabelAndValue);
    zones[n - 1] = &d;
  }
  SetFieldZones(zones);
  ShowImage(55, 9, 15, "CONSTRUCT", 10);
}

void AskConsultantName() {
  std::string name = Shell().consultantName;
  if (!Host().EditConsultant(name)) return;
  Shell().consultantName = name.substr(0, 35);
  Host().WriteSetting(kSettingsKey, "sConsultor", Shell().consultantName);
  ShowConsultant();
}

GeneralValues Load() {
  GeneralValues v;
  GetRec(Area(kAreaGeneral).Data, 1, v.rama.data());
  v.withObra = Area(kAreaBudget).Data.isOpen;
  if (v.withObra) GetRec(Area(kAreaBudget).Data, 0, v.obra.data());
  return v;
}

void Save(GeneralValues& v) {
  DeriveAiu(v.rama);
  PutRec(Area(kAreaGeneral).Data, 1, v.rama.data());
  SelectionState& sel = Selection();
  sel.RamaName = Get(v.rama, general::RamaName);
  if (v.withObra) {
    // Bytes 0-20 stay as the file has them; the Obra's fields follow.
    ObraHeader onDisk;
    GetRec(Area(kAreaBudget).Data, 0, onDisk.data());
    for (int i = obra_header::kFileHeaderEnd; i < ObraHeader::kSize; ++i)
      onDisk.bytes[i] = v.obra.bytes[i];
    PutRec(Area(kAreaBudget).Data, 0, onDisk.data());
    FlushWorkArea(kAreaBudget);
    TakeObraIdentity(onDisk);
  }
  FlushWorkArea(kAreaGeneral);
  sel.HeaderLine = BuildSetHeaderLine(sel.RamaName, v.withObra ? sel.ObraName : "");
}

// The next field in the direction of travel, skipping the Obra's fields
// without an Obra; wraps at both ends.
int Step(int n, int direction, bool withObra) {
  do {
    n += direction;
    if (n > kFieldCount) n = 1;
    if (n < 1) n = kFieldCount;
  } while (ObraField(n) && !withObra);
  return n;
}

int LastField(bool withObra) {
  return withObra ? kFieldCount : 13;
}

}  // namespace

void DeriveAiu(GeneralDataRecord& g) {
  const long double sum =
      Get(g, general::AdminPct) + Get(g, general::ImprevistosPct) + Get(g, general::UtilidadPct);
  const bool atEnd = Get(g, general::AiuMode) == general::kAiuAtEnd;
  Set(g, general::AiuPerItem, atEnd ? 0.0L : sum);
  Set(g, general::AiuPerItemForSubcontracts, atEnd ? 0.0L : sum);
  Set(g, general::AiuAtEnd, atEnd ? sum : 0.0L);
}

void GeneralDataCommand() {
  if (!Area(kArea).Data.isOpen || FileRecordCount(Area(kArea).Data) < 2) return;
  GeneralValues v = Load();
  DrawScreen(v);
  const KeySet exits{kKeyEnter, kKeyDown, kKeyUp, kKeyEsc, kKeyAltN};
  int n = 1;
  int direction = 1;
  for (;;) {
    const FieldDescriptor& d = Fields()[n];
    uint8_t key = 0;
    if (n == 4) {
      const std::string chosen = PickShortDate(Get(v.obra, obra_header::BudgetDate));
      if (chosen != Get(v.obra, obra_header::BudgetDate)) Area(kArea).SavedChangeMarker = 1;
      Set(v.obra, obra_header::BudgetDate, chosen);
      ShowField(kArea, d, chosen, ShowMode::Value);
      n = Step(n, direction, v.withObra);
      continue;
    }
    if (n == 5) {
      int16_t mode = Get(v.rama, general::AiuMode);
      bool changed = false;
      key = ChoiceStep(kArea, mode, d, exits, changed);
      Set(v.rama, general::AiuMode, mode);
    } else {
      FieldValue value = ValueOf(v, n);
      EditField(kArea, value, d, key, exits);
      Store(v, n, value);
      ShowField(kArea, d, value, ShowMode::Value);
    }
    if (key == kKeyAltN) {
      AskConsultantName();
      continue;
    }
    if (key == kKeyEsc || ((key == kKeyEnter || key == kKeyDown) && n == LastField(v.withObra)))
      break;
    if (key == kKeyFieldClick && ClickedFieldNumber() > 0) {
      n = ClickedFieldNumber();
      direction = 1;
      continue;
    }
    direction = key == kKeyUp ? -1 : 1;
    n = Step(n, direction, v.withObra);
  }
  Save(v);
  RemoveImage("CONSTRUCT");
}

}  // namespace vantu
