// The transformation equations: from a filter's instrumental difference from
// the comparison (V-C) and its coefficient to the offset of the standard
// magnitude from the comparison's, with its error. Pure arithmetic.
#pragma once

namespace varistellar::transform {

// A filter's V-C at one time, and its error (s1).
struct Instrumental {
  double value = 0.0;
  double error = 0.0;
};

// A coefficient T and its [Error] entry (0 when the file has none).
struct CoefficientValue {
  double value = 0.0;
  double error = 0.0;
};

// One filter's transformed result: its standard magnitude is Xc + offset.
struct Transformed {
  double offset = 0.0;  // x + T * colourDifference
  // MERR: every input error propagated to first order through the equation used.
  double error = 0.0;
  // The target's standard colour minus the comparison's, in the coefficient's index.
  double colourDifference = 0.0;
};

// Two filters' results at one time; `bluer` is X in B-V, V-R or V-I.
struct PairResult {
  Transformed bluer{};
  Transformed redder{};
};

// Below this size, k = 1 - Tx + Ty or 1 + Ti_vi turns a colour difference
// into noise: such coefficients are refused.
inline constexpr double smallestDivisor = 0.5;

// A filter alone, its colour difference known (T - C from the observer).
// MERR^2 = s1^2 + (D eT)^2.
[[nodiscard]] Transformed transformAlone(Instrumental x, CoefficientValue T,
                                         double colourDifference);

// Two filters at one time, x the bluer: k = 1 - Tx + Ty, D = (x - y) / k.
[[nodiscard]] PairResult transformPair(Instrumental x, Instrumental y, CoefficientValue Tx,
                                       CoefficientValue Ty);

// I with B and V at its time (Tb_bv, Tv_bv, Ti_vi): V from the B,V pair, then
// E = ((Vs - Vc) - i) / (1 + Ti_vi) and Is = Ic + i + Ti_vi E.
[[nodiscard]] Transformed transformI(Instrumental b, Instrumental v, Instrumental i,
                                     CoefficientValue Tb, CoefficientValue Tv, CoefficientValue Ti);

// R with B, V and I at its time (Tr_vi): Rs = Rc + r + Tr_vi E, E as for I.
[[nodiscard]] Transformed transformR(Instrumental b, Instrumental v, Instrumental i, Instrumental r,
                                     CoefficientValue Tb, CoefficientValue Tv, CoefficientValue Ti,
                                     CoefficientValue Tr);

// The pair's divisor k = 1 - Tx + Ty.
[[nodiscard]] double pairDivisor(double Tx, double Ty);
// The divisor of the V-I colour difference once V is known: 1 + Ti_vi.
[[nodiscard]] double viDivisor(double Ti);
// Whether a divisor is large enough for a meaningful solution.
[[nodiscard]] bool meaningfulDivisor(double divisor);

}  // namespace varistellar::transform
