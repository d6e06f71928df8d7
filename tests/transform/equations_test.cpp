#include "transform/equations.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace varistellar::transform {
namespace {

std::string threeDecimals(double value) {
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.3f", value);
  return text.data();
}

TEST(Equations, TheWorkedBAndVNight) {
  const double Bc = 11.779;
  const double Vc = 11.166;
  const PairResult result =
      transformPair({-0.021, 0.0}, {-0.746, 0.0}, {0.1181, 0.0}, {-0.0467, 0.0});
  EXPECT_EQ(threeDecimals(Bc + result.bluer.offset), "11.861");
  EXPECT_EQ(threeDecimals(Vc + result.redder.offset), "10.379");
  // The colour used: D plus the comparison's B-V.
  EXPECT_EQ(threeDecimals(result.bluer.colourDifference + (Bc - Vc)), "1.481");
  EXPECT_EQ(result.bluer.colourDifference, result.redder.colourDifference);
}

TEST(Equations, ZeroCoefficientsLeaveTheDifferencesExactlyAsTheyWere) {
  const PairResult pair = transformPair({0.4321, 0.0123}, {-0.6543, 0.0211}, {}, {});
  EXPECT_EQ(pair.bluer.offset, 0.4321);
  EXPECT_EQ(pair.bluer.error, 0.0123);
  EXPECT_EQ(pair.redder.offset, -0.6543);
  EXPECT_EQ(pair.redder.error, 0.0211);
  const Transformed alone = transformAlone({0.4321, 0.0123}, {}, 0.7);
  EXPECT_EQ(alone.offset, 0.4321);
  EXPECT_EQ(alone.error, 0.0123);
}

TEST(Equations, AloneWithoutACoefficientErrorKeepsS1Exactly) {
  // Every s1 from 0.000 to 0.999 in steps of 0.001, and some with more digits.
  std::vector<double> errors;
  for (int n = 0; n < 1000; ++n) errors.push_back(n / 1000.0);
  for (const double s1 : {0.0123456789, 0.31415926535, 1e-7, 0.9999999}) errors.push_back(s1);
  for (const double s1 : errors) {
    for (const double D : {-1.3, 0.0, 0.618, 2.5}) {
      const Transformed result = transformAlone({-0.5, s1}, {0.1181, 0.0}, D);
      ASSERT_EQ(result.error, s1) << "D " << D;
      EXPECT_EQ(result.colourDifference, D);
    }
  }
}

TEST(Equations, DivisorsAndTheirSmallestMeaningfulSize) {
  EXPECT_NEAR(pairDivisor(0.1181, -0.0467), 0.8352, 1e-15);
  EXPECT_NEAR(viDivisor(-0.0312), 0.9688, 1e-15);
  struct Row {
    double divisor;
    bool meaningful;
  };
  const Row rows[] = {{0.5, true},
                      {-0.5, true},
                      {0.4999, false},
                      {-0.4999, false},
                      {0.0, false},
                      {2.0, true},
                      {std::numeric_limits<double>::quiet_NaN(), false}};
  for (const Row& row : rows)
    EXPECT_EQ(meaningfulDivisor(row.divisor), row.meaningful) << row.divisor;
}

// The inputs of the largest set, B, V, I and R at one time: the four
// filters' V-C and the four coefficients, each with its error.
enum Input : std::size_t { b, v, i, r, Tb, Tv, Ti, Tr, inputCount };
using Inputs = std::array<double, inputCount>;

struct Night {
  Inputs values{};
  Inputs errors{};
};

// Catalogue magnitudes of a comparison star; the equations must not depend on them.
constexpr double Bc = 11.779;
constexpr double Vc = 11.166;
constexpr double Rc = 10.802;
constexpr double Ic = 10.431;

struct Standard {
  double B = Bc;
  double V = Vc;
  double R = Rc;
  double I = Ic;
};

// The simultaneous equations solved by fixed-point iteration, independently of
// the closed forms: each standard magnitude from the colours of the last step.
Standard iterated(const Inputs& x) {
  Standard s;
  for (int step = 0; step < 2000; ++step) {
    const double bv = (s.B - s.V) - (Bc - Vc);
    const double vi = (s.V - s.I) - (Vc - Ic);
    s = Standard{Bc + x[b] + x[Tb] * bv, Vc + x[v] + x[Tv] * bv, Rc + x[r] + x[Tr] * vi,
                 Ic + x[i] + x[Ti] * vi};
  }
  return s;
}

PairResult pairOf(const Night& night) {
  const Inputs& x = night.values;
  const Inputs& e = night.errors;
  return transformPair({x[b], e[b]}, {x[v], e[v]}, {x[Tb], e[Tb]}, {x[Tv], e[Tv]});
}

Transformed iOf(const Night& night) {
  const Inputs& x = night.values;
  const Inputs& e = night.errors;
  return transformI({x[b], e[b]}, {x[v], e[v]}, {x[i], e[i]}, {x[Tb], e[Tb]}, {x[Tv], e[Tv]},
                    {x[Ti], e[Ti]});
}

Transformed rOf(const Night& night) {
  const Inputs& x = night.values;
  const Inputs& e = night.errors;
  return transformR({x[b], e[b]}, {x[v], e[v]}, {x[i], e[i]}, {x[r], e[r]}, {x[Tb], e[Tb]},
                    {x[Tv], e[Tv]}, {x[Ti], e[Ti]}, {x[Tr], e[Tr]});
}

// MERR by central finite differences: each input nudged by h both ways, the
// slopes times the input errors added in quadrature.
double numericError(const Night& night, const std::function<double(const Night&)>& solved) {
  constexpr double h = 1e-6;
  double sum = 0.0;
  for (std::size_t n = 0; n < inputCount; ++n) {
    Night up = night;
    Night down = night;
    up.values[n] += h;
    down.values[n] -= h;
    const double slope = (solved(up) - solved(down)) / (2.0 * h);
    sum += (slope * night.errors[n]) * (slope * night.errors[n]);
  }
  return std::sqrt(sum);
}

// Nights of typical and awkward colours and coefficients: red and blue
// targets, coefficients of both signs, divisors near 0.5, errors from none to
// large.                           b       v      i      r      Tb       Tv       Ti       Tr
const Night nights[] = {
    {{-0.021, -0.746, -1.102, -0.951, 0.1181, -0.0467, 0.0312, -0.0512},
     {0.010, 0.008, 0.012, 0.009, 0.0103, 0.0070, 0.0051, 0.0066}},
    {{0.734, 0.212, -0.405, -0.090, 0.2500, -0.1800, -0.3000, 0.1500},
     {0.030, 0.025, 0.040, 0.020, 0.0200, 0.0150, 0.0100, 0.0300}},
    {{-0.512, -0.377, 0.128, -0.140, -0.0800, 0.0600, 0.0450, -0.0200},
     {0.002, 0.001, 0.003, 0.002, 0.0000, 0.0000, 0.0000, 0.0000}},
    {{1.950, 0.410, -1.300, -0.500, 0.4000, -0.0900, 0.4900, 0.3000},
     {0.150, 0.100, 0.200, 0.120, 0.0500, 0.0400, 0.0300, 0.0200}},
    {{0.000, 0.000, 0.000, 0.000, -0.3000, 0.2000, -0.4500, -0.1000},
     {0.010, 0.010, 0.010, 0.010, 0.0100, 0.0100, 0.0100, 0.0100}},
    {{2.480, 1.020, 0.310, 0.640, 0.0950, -0.0310, -0.0620, 0.0270},
     {0.005, 0.004, 0.006, 0.005, 0.0080, 0.0060, 0.0090, 0.0070}},
};

TEST(Equations, PairsAgreeWithTheIteratedSolution) {
  for (const Night& night : nights) {
    const Standard s = iterated(night.values);
    const PairResult pair = pairOf(night);
    EXPECT_NEAR(Bc + pair.bluer.offset, s.B, 1e-12);
    EXPECT_NEAR(Vc + pair.redder.offset, s.V, 1e-12);
    EXPECT_NEAR(pair.bluer.colourDifference, (s.B - s.V) - (Bc - Vc), 1e-12);
  }
}

TEST(Equations, PairsOfVAndROrVAndIAreTheSameEquations) {
  // V as the bluer with R or I: only the coefficients' names change.
  for (const Night& night : nights) {
    const Inputs& x = night.values;
    const PairResult pair = transformPair({x[v], 0.0}, {x[i], 0.0}, {x[Tv], 0.0}, {x[Ti], 0.0});
    double Vs = Vc;
    double Is = Ic;
    for (int step = 0; step < 2000; ++step) {
      const double vi = (Vs - Is) - (Vc - Ic);
      Vs = Vc + x[v] + x[Tv] * vi;
      Is = Ic + x[i] + x[Ti] * vi;
    }
    EXPECT_NEAR(Vc + pair.bluer.offset, Vs, 1e-12);
    EXPECT_NEAR(Ic + pair.redder.offset, Is, 1e-12);
  }
}

TEST(Equations, IAndRAgreeWithTheIteratedSolution) {
  for (const Night& night : nights) {
    const Standard s = iterated(night.values);
    const Transformed I = iOf(night);
    const Transformed R = rOf(night);
    EXPECT_NEAR(Ic + I.offset, s.I, 1e-12);
    EXPECT_NEAR(Rc + R.offset, s.R, 1e-12);
    EXPECT_NEAR(I.colourDifference, (s.V - s.I) - (Vc - Ic), 1e-12);
    EXPECT_EQ(R.colourDifference, I.colourDifference);
  }
}

TEST(Equations, ErrorsAgreeWithNumericPropagation) {
  for (const Night& night : nights) {
    EXPECT_NEAR(pairOf(night).bluer.error,
                numericError(night, [](const Night& n) { return pairOf(n).bluer.offset; }), 1e-8);
    EXPECT_NEAR(pairOf(night).redder.error,
                numericError(night, [](const Night& n) { return pairOf(n).redder.offset; }), 1e-8);
    EXPECT_NEAR(iOf(night).error, numericError(night, [](const Night& n) { return iOf(n).offset; }),
                1e-8);
    EXPECT_NEAR(rOf(night).error, numericError(night, [](const Night& n) { return rOf(n).offset; }),
                1e-8);
  }
}

TEST(Equations, AloneErrorsAgreeWithNumericPropagation) {
  for (const Night& night : nights) {
    // V alone with the target's and comparison's B-V from the observer.
    for (const double D : {-0.8, 0.0, 0.35, 1.9}) {
      const auto solved = [D](const Night& n) {
        return transformAlone({n.values[v], 0.0}, {n.values[Tv], 0.0}, D).offset;
      };
      const Transformed alone = transformAlone({night.values[v], night.errors[v]},
                                               {night.values[Tv], night.errors[Tv]}, D);
      EXPECT_NEAR(alone.error, numericError(night, solved), 1e-8) << "D " << D;
      EXPECT_NEAR(alone.offset, night.values[v] + night.values[Tv] * D, 1e-15);
    }
  }
}

TEST(Equations, EachErrorEntersTheBluerFilterOnItsOwn) {
  // One input error at a time, against the pair's derivatives written out.
  const double x = 0.734;
  const double y = 0.212;
  const double Tx = 0.25;
  const double Ty = -0.18;
  const double k = 1.0 - Tx + Ty;
  const double D = (x - y) / k;
  EXPECT_NEAR(transformPair({x, 0.03}, {y, 0.0}, {Tx, 0.0}, {Ty, 0.0}).bluer.error,
              std::fabs(1.0 + Tx / k) * 0.03, 1e-15);
  EXPECT_NEAR(transformPair({x, 0.0}, {y, 0.03}, {Tx, 0.0}, {Ty, 0.0}).bluer.error,
              std::fabs(Tx / k) * 0.03, 1e-15);
  EXPECT_NEAR(transformPair({x, 0.0}, {y, 0.0}, {Tx, 0.02}, {Ty, 0.0}).bluer.error,
              std::fabs(D * (1.0 + Tx / k)) * 0.02, 1e-15);
  EXPECT_NEAR(transformPair({x, 0.0}, {y, 0.0}, {Tx, 0.0}, {Ty, 0.02}).redder.error,
              std::fabs(D * (1.0 - Ty / k)) * 0.02, 1e-15);
}

}  // namespace
}  // namespace varistellar::transform
