#include "records/area_view.h"

#include "console/console.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

struct ViewDescriptor {
  const char* title;
  int param1, param2;
  ButtonSet buttons;
};

const ViewDescriptor& Descriptor(int n) {
  static const ViewDescriptor kDescriptors[kWorkAreaCount] = {
      {" Seleccion Obra ", 0, 0, ButtonsOf({1, 3, 5, 7, 10})},
      {" Datos Generales ", 1, 0, ButtonsOf({2, 3, 14, 21, 22})},
      {" Insumos Basicos ", 3, 2, ButtonsOf({2, 3, 6, 11, 12, 14, 19, 21, 22})},
      {" Analisis Unitarios ", 2, 3, ButtonsOf({2, 3, 6, 11, 12, 17, 18, 19, 20})},
      {" Analisis de Subcontratos ", 14, 4, ButtonsOf({2, 3, 6, 11, 12, 19, 20})},
      {" Actualizacion de Globales ", 0, 5, ButtonsOf({2, 3})},
      {" Presupuesto de Obra ", 16, 6, ButtonsOf({2, 3, 6, 11, 12, 16, 17, 18, 19, 20})},
      {" Impresion", 0, 7, ButtonsOf({2, 3})},
      {" Recodificacion ", 0, 8, ButtonsOf({2, 3})},
      {" Reindexacion ", 0, 9, ButtonsOf({2, 3})},
      {" Configuracion ", 0, 10, ButtonsOf({2, 3})},
  };
  return kDescriptors[n];
}

AreaView Initial(int n) {
  const ViewDescriptor& d = Descriptor(n);
  AreaView v;
  v.Title = d.title;
  v.moduleParam1 = d.param1;
  v.moduleParam2 = d.param2;
  v.buttons = d.buttons;
  return v;
}

std::array<AreaView, kWorkAreaCount>& Views() {
  static std::array<AreaView, kWorkAreaCount> views = [] {
    std::array<AreaView, kWorkAreaCount> v;
    for (int n = 0; n < kWorkAreaCount; ++n) v[static_cast<size_t>(n)] = Initial(n);
    return v;
  }();
  return views;
}

}  // namespace

AreaView& View(int n) {
  return Views().at(static_cast<size_t>(n));
}

void ResetAreaViews() {
  for (int n = 0; n < kWorkAreaCount; ++n) View(n) = Initial(n);
}

void ShowUsage(int n) {
  WorkArea& a = Area(n);
  const int used = a.Data.isOpen ? UsedRecordCount(a.Data) : 0;
  const bool indexed = a.FileKind == kIndexedFile;
  GotoXY(indexed ? 60 : 58, 1);
  WriteText(IntToText(static_cast<int16_t>(used)) +
            (indexed ? " Codigos En Uso" : " Registros En Uso"));
  a.IsEmpty = indexed ? used == 0 : (!a.Data.isOpen || FileRecordCount(a.Data) <= 1);
}

}  // namespace vantu
