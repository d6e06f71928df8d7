#include "transform/equations.h"

#include <cmath>

namespace varistellar::transform {
namespace {

double square(double value) { return value * value; }

// The V-I colour difference E after the B,V pair, and its derivatives with
// respect to every input that enters it: b, v and i's values and the
// coefficients Tb_bv, Tv_bv and Ti_vi.
struct ViColour {
  double E = 0.0;
  double divisor = 0.0;  // m = 1 + Ti_vi
  double byB = 0.0;
  double byV = 0.0;
  double byI = 0.0;
  double byTb = 0.0;
  double byTv = 0.0;
  double byTi = 0.0;
};

ViColour viColour(Instrumental b, Instrumental v, Instrumental i, CoefficientValue Tb,
                  CoefficientValue Tv, CoefficientValue Ti) {
  // Vs - Vc = v + Tv D with D = (b - v) / k, k = 1 - Tb + Tv; its derivatives
  // are the pair's (d/db = Tv/k, d/dv = 1 - Tv/k, d/dTb = Tv D/k,
  // d/dTv = D (1 - Tv/k)).
  const double k = pairDivisor(Tb.value, Tv.value);
  const double D = (b.value - v.value) / k;
  const double vOffset = v.value + Tv.value * D;
  ViColour colour;
  colour.divisor = viDivisor(Ti.value);
  const double m = colour.divisor;
  colour.E = (vOffset - i.value) / m;
  // E = (Vs - Vc - i) / m: V's derivatives divided by m; d/di = -1/m;
  // d/dTi = -(Vs - Vc - i) / m^2 = -E/m.
  colour.byB = (Tv.value / k) / m;
  colour.byV = (1.0 - Tv.value / k) / m;
  colour.byI = -1.0 / m;
  colour.byTb = (Tv.value * D / k) / m;
  colour.byTv = (D * (1.0 - Tv.value / k)) / m;
  colour.byTi = -colour.E / m;
  return colour;
}

}  // namespace

Transformed transformAlone(Instrumental x, CoefficientValue T, double colourDifference) {
  Transformed result;
  result.offset = x.value + T.value * colourDifference;
  // Without a coefficient error the sum is s1^2 + 0, and sqrt(s1 * s1) is s1 exactly.
  result.error = std::sqrt(square(x.error) + square(colourDifference * T.error));
  result.colourDifference = colourDifference;
  return result;
}

PairResult transformPair(Instrumental x, Instrumental y, CoefficientValue Tx, CoefficientValue Ty) {
  const double k = pairDivisor(Tx.value, Ty.value);
  const double D = (x.value - y.value) / k;
  const double sx = x.error;
  const double sy = y.error;
  const double eTx = Tx.error;
  const double eTy = Ty.error;
  // Term by term in one fixed order (x, y, Tx, Ty), each the square of a
  // derivative times the square of its error, so that every build writes the
  // same MERR digits.
  PairResult result;
  result.bluer.offset = x.value + Tx.value * D;
  result.bluer.error = std::sqrt(
      square(1.0 + Tx.value / k) * square(sx) + square(Tx.value / k) * square(sy) +
      square(D * (1.0 + Tx.value / k)) * square(eTx) + square(Tx.value * D / k) * square(eTy));
  result.bluer.colourDifference = D;
  result.redder.offset = y.value + Ty.value * D;
  result.redder.error = std::sqrt(
      square(Ty.value / k) * square(sx) + square(1.0 - Ty.value / k) * square(sy) +
      square(Ty.value * D / k) * square(eTx) + square(D * (1.0 - Ty.value / k)) * square(eTy));
  result.redder.colourDifference = D;
  return result;
}

Transformed transformI(Instrumental b, Instrumental v, Instrumental i, CoefficientValue Tb,
                       CoefficientValue Tv, CoefficientValue Ti) {
  const ViColour c = viColour(b, v, i, Tb, Tv, Ti);
  // Is - Ic = i + Ti E: d/di = 1 + Ti dE/di = 1 - Ti/m = 1/m;
  // d/dTi = E + Ti dE/dTi = E (1 - Ti/m) = E/m; the rest Ti times E's.
  const double t = Ti.value;
  Transformed result;
  result.offset = i.value + t * c.E;
  result.error = std::sqrt(square(t * c.byB * b.error) + square(t * c.byV * v.error) +
                           square(i.error / c.divisor) + square(t * c.byTb * Tb.error) +
                           square(t * c.byTv * Tv.error) + square(c.E / c.divisor * Ti.error));
  result.colourDifference = c.E;
  return result;
}

Transformed transformR(Instrumental b, Instrumental v, Instrumental i, Instrumental r,
                       CoefficientValue Tb, CoefficientValue Tv, CoefficientValue Ti,
                       CoefficientValue Tr) {
  const ViColour c = viColour(b, v, i, Tb, Tv, Ti);
  // Rs - Rc = r + Tr E: d/dr = 1, d/dTr = E, the rest Tr times E's.
  const double t = Tr.value;
  Transformed result;
  result.offset = r.value + t * c.E;
  result.error = std::sqrt(square(t * c.byB * b.error) + square(t * c.byV * v.error) +
                           square(t * c.byI * i.error) + square(r.error) +
                           square(t * c.byTb * Tb.error) + square(t * c.byTv * Tv.error) +
                           square(t * c.byTi * Ti.error) + square(c.E * Tr.error));
  result.colourDifference = c.E;
  return result;
}

double pairDivisor(double Tx, double Ty) { return 1.0 - Tx + Ty; }

double viDivisor(double Ti) { return 1.0 + Ti; }

bool meaningfulDivisor(double divisor) { return std::fabs(divisor) >= smallestDivisor; }

}  // namespace varistellar::transform
