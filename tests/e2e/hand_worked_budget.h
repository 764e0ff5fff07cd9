#pragma once
// A small budget and its prices worked out by hand, step by step, the way
// a consultant checks the program's figures with a calculator: money is
// rounded half up (to whole pesos with "Ajuste al peso", else to cents),
// an adjusted price keeps whole pesos whole, and the AIU is on every item.

#include <cmath>

namespace vantu::test {

// What the consultant types, kept in one place so that the session and
// the hand calculation read the same figures.
struct Figures {
  long double admin = 10, imprevistos = 5, utilidad = 5, iva = 19;
  long double fEquipos = 1.10L, fMateriales = 1.05L, fManoDeObra = 1.20L;
  long double mezcladora = 45000, cemento = 18750.75L, oficial = 12500;
  // Analysis 010010: mixer 0.5, cement 7, labour 16; minor tools 5 %, waste 3 %.
  long double a1Mixer = 0.5L, a1Cement = 7, a1Labour = 16, a1Tools = 5, a1Waste = 3;
  // Analysis 010020: a global scaffold of 3500.50, cement 1.25, 0.025 of
  // 010010, labour 0.8; minor tools 10 %, waste 5 %.
  long double a2Scaffold = 3500.50L, a2Cement = 1.25L, a2Nested = 0.025L, a2Labour = 0.8L;
  long double a2Tools = 10, a2Waste = 5;
  // Subcontract 01010 entered by values, with its direct cost.
  long double sEquipos = 15000, sMateriales = 850000.40L, sManoDeObra = 420000;
  long double sDirect = 1285000.40L;
  // Budget quantities and the global item's amount.
  long double q1 = 12.5L, q2 = 86.4L, q3 = 1, global = 240000;
};

struct HandBudget {
  long double a1Direct, a1Unit, a2Direct, a2Unit, sDirect, sUnit;
  long double item1, item2, item3, item4, chapter1, chapter2, grand;
  long double directTotal, aiuAmount, adminAmount, imprevistosAmount, utilidadAmount;
  long double ivaEffective, ivaAmount, total;
};

// Half a cent up, to cents (toward zero, as a calculator's integer part).
inline long double Cents(long double x) {
  return std::trunc(x * 100 + 0.5L) / 100;
}
// Money: to whole pesos with "Ajuste al peso", else to cents.
inline long double Money(long double x, bool toPeso) {
  return toPeso ? std::trunc(x + 0.5L) : Cents(x);
}
// A price adjusted by a factor: a whole-peso price stays whole.
inline long double Adjusted(long double price, long double factor) {
  const long double p = Cents(price);
  if (p != std::trunc(p)) return Cents(p * factor);
  return std::trunc(p * factor + 0.5L);
}

// The budget from the figures, step by step. The comments give each step's
// numbers with "Ajuste al peso" [and, in brackets, without it].
inline HandBudget WorkItOut(const Figures& f, bool toPeso) {
  auto money = [toPeso](long double x) { return Money(x, toPeso); };
  HandBudget h{};
  const long double aiu = f.admin + f.imprevistos + f.utilidad;  // 20 % on every item
  // Adjusted prices: 45000 x 1.10 = 49500; 18750.75 x 1.05 = 19688.2875 ->
  // 19688.29; 12500 x 1.20 = 15000.
  const long double mixer = Adjusted(f.mezcladora, f.fEquipos);
  const long double cement = Adjusted(f.cemento, f.fMateriales);
  const long double labour = Adjusted(f.oficial, f.fManoDeObra);

  // 010010: equipment 49500 x 0.5 = 24750; materials 19688.29 x 7 =
  // 137818.03 -> 137818 [137818.03]; labour 15000 x 16 = 240000. Waste 3 %
  // = 4134.54 -> 4135 [4134.54], materials 141953 [141952.57]; minor tools
  // 5 % of the labour = 12000, equipment 36750. Direct cost 418703
  // [418702.57]; unit price x 1.20 = 502443.6 -> 502444 [502443.084 ->
  // 502443.08].
  {
    const long double g1 = money(mixer * f.a1Mixer);
    const long double g2 = money(cement * f.a1Cement);
    const long double g4 = money(labour * f.a1Labour);
    const long double materials = money(g2 * f.a1Waste / 100) + g2;
    const long double equipment = g1 + money(g4 * f.a1Tools / 100);
    const long double sum = equipment + materials + g4;
    h.a1Direct = toPeso ? money(sum) : sum;
    h.a1Unit = money(h.a1Direct * (aiu / 100 + 1));
  }
  // 010020: equipment, the scaffold once, 3500.50 x 1.10 = 3850.55 (an
  // adjusted price keeps its cents); materials 19688.29 x 1.25 =
  // 24610.3625 -> 24610 [24610.36], plus 0.025 of 010010's direct cost
  // with no factor, 10467.575 -> 10468 [10467.56425 -> 10467.56]: 35078
  // [35077.92]; labour 15000 x 0.8 = 12000. Waste 5 % = 1753.9 -> 1754
  // [1753.896 -> 1753.90], materials 36832 [36831.82]; minor tools 10 % of
  // 12000 = 1200, equipment 5050.55. Direct cost 53882.55 -> 53883
  // [53882.37]; unit price x 1.20 = 64659.6 -> 64660 [64658.844 ->
  // 64658.84].
  {
    const long double g1 = Adjusted(f.a2Scaffold, f.fEquipos);
    const long double nested = money(f.a2Nested * money(h.a1Direct));
    const long double g2 = money(cement * f.a2Cement) + nested;
    const long double g4 = money(labour * f.a2Labour);
    const long double materials = money(g2 * f.a2Waste / 100) + g2;
    const long double equipment = g1 + money(g4 * f.a2Tools / 100);
    const long double sum = equipment + materials + g4;
    h.a2Direct = toPeso ? money(sum) : sum;
    h.a2Unit = money(h.a2Direct * (aiu / 100 + 1));
  }
  // Subcontract: 15000 x 1.10 = 16500; 850000.40 x 1.05 = 892500.42;
  // 420000 x 1.20 = 504000. Direct cost 1413000.42 (adjusted prices only);
  // AIU 20 % = 282600.084 -> 282600 [282600.08]; unit price 1695600.42
  // [1695600.50].
  h.sDirect = Adjusted(f.sEquipos, f.fEquipos) + Adjusted(f.sMateriales, f.fMateriales) +
              Adjusted(f.sManoDeObra, f.fManoDeObra);
  h.sUnit = h.sDirect + money(h.sDirect * aiu / 100);

  // Items: 12.5 x 502444 = 6280550 [6280538.50]; 86.4 x 64660 = 5586624
  // [86.4 x 64658.84 = 5586523.776 -> 5586523.78]; 1 x 1695600.42 ->
  // 1695600 [1695600.50]; the global 240000.
  h.item1 = money(f.q1 * h.a1Unit);
  h.item2 = money(f.q2 * h.a2Unit);
  h.item3 = money(f.q3 * h.sUnit);
  h.item4 = money(f.global);
  h.chapter1 = h.item1;                      // 6280550 [6280538.50]
  h.chapter2 = h.item2 + h.item3 + h.item4;  // 7522224 [7522124.28]
  h.grand = h.chapter1 + h.chapter2;         // 13802774 [13802662.78]

  // The AIU is inside every price: the direct cost is the grand total over
  // 1.20, 11502311.67 -> 11502312 [11502218.983 -> 11502218.98]. The IVA
  // applies to the profit: 19 % of 5 % = 0.95 % of the direct cost,
  // 109271.964 -> 109272 [109271.08]. Total 13912046 [13911933.86].
  h.directTotal = money(h.grand / (aiu / 100 + 1));
  // Its parts: AIU 2300462 [2300443.80]; administration 10 % = 1150231.2
  // -> 1150231 [1150221.898 -> 1150221.90]; contingencies 5 % = 575115.6
  // -> 575116 [575110.949 -> 575110.95]; profit takes the rest, 575115
  // [575110.95].
  h.aiuAmount = h.grand - h.directTotal;
  h.adminAmount = money(h.directTotal * f.admin / 100);
  h.imprevistosAmount = money(h.directTotal * f.imprevistos / 100);
  h.utilidadAmount = h.aiuAmount - h.adminAmount - h.imprevistosAmount;
  h.ivaEffective = Cents(f.iva * f.utilidad / 100);
  h.ivaAmount = money(h.directTotal * h.ivaEffective / 100);
  h.total = h.grand + h.ivaAmount;
  return h;
}

}  // namespace vantu::test
