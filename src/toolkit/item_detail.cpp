#include "toolkit/item_detail.h"

#include <algorithm>

#include "console/console.h"
#include "console/keys.h"
#include "toolkit/field_format.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/window_message.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

using Kind = ItemDetail::Kind;
constexpr int kMaxDetailRows = 23;

// The number in `width` cells, or stars when it does not fit.
std::string Fit(int width, int decimals, long double v) {
  std::string s = FormatNumber(width, decimals, v);
  if (static_cast<int>(s.size()) <= width) return s;
  std::string stars = "  ************* ";
  stars.resize(width, ' ');
  return stars;
}

std::string Money(long double v) {
  return "$" + Fit(16, 2, v);
}

std::string Cut(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

const char* GroupTitle(int g) {
  static const char* const kTitles[] = {"", "EQUIPOS", "MATERIALES", "TRANSPORTES", "MANO DE OBRA"};
  return g >= 1 && g <= 4 ? kTitles[g] : "";
}

void AnalysisLines(const ItemDetail& d, bool aiu, std::vector<std::string>& out) {
  out.push_back(d.description);
  out.push_back(" Unidad: " + d.unit + "   Herr. Menor (%):" + Fit(7, 2, d.herramientaMenorPct) +
                "   Desperdicios(%):" + Fit(7, 2, d.desperdicioPct));
  out.push_back(std::string("DESCRIPCION                    ") + " UNID. " + "P R E C I O S" + " " +
                "CANTIDADES" + " " + "  VALOR PARCIAL");
  for (int g = 1; g <= 4; ++g) {
    bool heading = false;
    for (const ItemDetail::Line& l : d.lines) {
      if (l.group != g) continue;
      if (!heading) out.push_back(GroupTitle(g));
      heading = true;
      const long double value = l.global ? l.price : l.price * l.quantity;
      out.push_back(Cut(l.description, 31) + " " + Cut(l.global ? "Glb." : l.unit, 5) + " " +
                    Fit(13, 2, l.price) + " " +
                    (l.global ? std::string(10, ' ') : Fit(10, 4, l.quantity)) + " " +
                    Fit(15, 2, value));
    }
  }
  if (d.circular || d.costMissing) {
    out.push_back(std::string(d.circular ? "ERROR CIRCULARIDAD" : "FALTAN DATOS COSTO") +
                  "  Use opcion Calcular");
    return;
  }
  out.push_back("Costos Indirectos  " + Money(d.indirectCosts));
  out.push_back(std::string(aiu ? "TOTAL  (con AIU)   " : "TOTAL  (sin AIU)   ") +
                Money(aiu ? d.unitPrice : d.directCost));
}

void SubcontractLines(const ItemDetail& d, bool aiu, std::vector<std::string>& out) {
  out.push_back(d.description);
  out.push_back("       COMPONENTES DEL PRECIO        ");
  out.push_back("Equipos ..........." + Money(d.equipos));
  out.push_back("Materiales ........" + Money(d.materiales));
  out.push_back("Transportes ......." + Money(d.transportes));
  out.push_back("Mano de Obra ......" + Money(d.manoDeObra));
  if (d.costMissing || d.directCost <= 0) {
    out.push_back("FALTAN DATOS COSTO");
    return;
  }
  out.push_back("COSTO DIRECTO      " + Money(d.directCost));
  out.push_back(std::string(aiu ? "COSTO (Con AIU)   " : "COSTO (Sin AIU)   ") + " " +
                Money(aiu ? d.unitPrice : d.directCost));
}

void BudgetLines(const ItemDetail& d, std::vector<std::string>& out) {
  out.push_back(d.description);
  if (d.porDefinir) {
    out.push_back("<<<  CANT. DE OBRA POR DEFINIR  >>>");
    return;
  }
  if (d.quantity == 0) {
    out.push_back("<<<  FALTA LA CANTIDAD DE OBRA  >>>");
    return;
  }
  out.push_back(" Unidad: " + d.unit + "  Cantidad: " + Fit(16, 6, d.quantity));
  const bool priced = d.unitPrice > 0;
  out.push_back(" Precio: " + (priced ? Money(d.unitPrice) : std::string("$ ???.??")));
  out.push_back(" Valor:  " + (priced ? Money(d.itemTotal) : std::string("$ ???.??")));
}

}  // namespace

std::vector<std::string> ItemDetailLines(const ItemDetail& d, bool aiuPerItem) {
  std::vector<std::string> out;
  switch (d.kind) {
    case Kind::Chapter:
      out.push_back("Los capitulos no tienen detalle");
      break;
    case Kind::BasicInput:
      out.push_back(d.description);
      out.push_back(d.price > 0 ? " Unidad: " + d.unit + "  " + Money(d.price)
                                : "<<<  FALTA EL PRECIO UNITARIO   >>>");
      break;
    case Kind::GlobalPrice:
      out.push_back(d.description);
      out.push_back(d.price > 0 ? "Precio Global  " + Money(d.price)
                                : "<<<   FALTA EL PRECIO GLOBAL    >>>");
      break;
    case Kind::Analysis:
      AnalysisLines(d, aiuPerItem, out);
      break;
    case Kind::Subcontract:
      SubcontractLines(d, aiuPerItem, out);
      break;
    case Kind::BudgetItem:
      BudgetLines(d, out);
      break;
  }
  if (static_cast<int>(out.size()) > kMaxDetailRows) out.resize(kMaxDetailRows);
  return out;
}

void ShowItemDetail(int kind, const std::string& code) {
  CodeListSource* src = ListSource();
  std::optional<ItemDetail> d = src ? src->Detail(kind, code) : std::nullopt;
  if (!d) {
    Beep();
    return;
  }
  if (d->kind == Kind::Chapter) {
    ShowMessageWindow(ItemDetailLines(*d, false), CurrentScheme());
    return;
  }
  const std::vector<std::string> lines = ItemDetailLines(*d, src->AiuPerItem());
  size_t longest = code.size() + 2;
  for (const std::string& l : lines) longest = std::max(longest, l.size());
  const int width = static_cast<int>(std::min<size_t>(longest + 2, 78)) + 2;
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'S';
  w.left = (80 - width) / 2 + 1;
  w.right = w.left + width - 1;
  w.top = std::max(1, (25 - static_cast<int>(lines.size()) - 2) / 2);
  w.bottom = w.top + static_cast<int>(lines.size()) + 1;
  w.title = " " + code + " ";
  if (!OpenWindow(w)) {
    Beep();
    return;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    GotoXY(2, static_cast<int>(i) + 1);
    if (i == 0) BoldText();
    WriteText(lines[i]);
    NormalText();
  }
  while (GetKey() != kKeyEsc) Beep();
  CloseWindow();
}

}  // namespace vantu
