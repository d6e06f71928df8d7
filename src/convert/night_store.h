// The written observations of several nights, kept until every night is
// read and then handed on in time order: by DATE, and for equal dates in
// the order of the FOLDERs, then of the tables' lines. Each takes 56 bytes.
// When the night is transformed, each observation is transformed as it is
// handed on, with its partners found in the other nights at its time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/observation_listener.h"
#include "diagnostics/diagnostic.h"
#include "night/parameter_file.h"
#include "report/record_forms.h"
#include "transform/night_transforms.h"
#include "transform/paired_values.h"
#include "transform/pairing.h"

namespace varistellar::convert {

// How the nights are transformed: each night's transformation (none: its
// observations are written untransformed), and how far apart partners may be.
struct StoreTransformation {
  std::vector<const transform::FilterTransform*> transforms;
  transform::PairingWindow window;
  std::string windowText;  // the minutes as the user wrote them
};

// What the handing on did to each night's observations.
struct HandedOn {
  std::vector<std::uint64_t> leftOut;        // by a transformed MERR of 1.0 or more
  std::vector<std::uint64_t> transformed;    // written transformed
  std::vector<std::uint64_t> untransformed;  // written without a partner
};

class NightStore final : public ObservationListener {
 public:
  NightStore(const std::vector<night::NightParameters>& nights,
             const std::vector<std::string>& tableFiles, bool withCheckStar);

  // Keeps the observation; its record is made when it is handed on.
  void take(const ConvertedObservation& observation) override;
  // Makes every kept observation's record in time order, reports those with
  // numbers that do not fit their fields, and hands the others to
  // `listener` (none when there is none), then lets go of them.
  // Transformed as `transformation` says, when there is one.
  HandedOn handOn(ObservationListener* listener, diagnostics::DiagnosticSink& findings,
                  const StoreTransformation* transformation = nullptr);
  // Each night's transformation when it transforms at least one of the
  // night's kept observations, else none: whether an observation is
  // transformed hangs on its own partners, so each is looked at until one is.
  [[nodiscard]] std::vector<const transform::FilterTransform*> transformsUsed(
      const StoreTransformation& transformation);
  // MERR from the check star's scatter over the `width` observations of
  // each filter nearest in time (--merr check-scatter).
  void scatterErrors(std::size_t width) { scatterWidth_ = width; }
  // Whether the night kept any observation.
  [[nodiscard]] bool holdsObservations(std::size_t night) const {
    return !nights_[night].kept.empty();
  }

 private:
  // What a record and the picture need again of one observation.
  struct Kept {
    double HJD;  // when it was measured, for pairing
    double DATE;
    double VMAGINS;
    double MERR;
    double AIRMASS;
    double KMAGINS;  // NaN: the check star was not measured
    float checkError;
    std::uint32_t line;  // in its table, for messages, and so that sorting keeps file order
  };
  static_assert(sizeof(Kept) == 56);

  struct Night {
    const night::NightParameters* parameters;
    std::deque<Kept> kept;
    bool inOrder = true;
  };

  // A night's place in the walk through every night in time order.
  struct Cursor;
  // What became of an observation the nights' transformation looked at.
  enum class Fate { transformed, untransformed, leftOut };

  // Sorts each night that was not read in time order.
  void sortNights();
  // The night whose next observation comes first (the first such night on a
  // tie); none when every night is handed on.
  static std::optional<std::size_t> nextNight(const std::vector<Cursor>& cursors);
  // The values of the filters at the time of `kept`, its own and its
  // partners'; false when a partner is out of reach.
  bool valuesAtTime(const Kept& kept, const transform::FilterTransform& transform,
                    const transform::PairingWindow& window, transform::EquationValues& at,
                    std::vector<std::size_t>& places) const;
  // Transforms `values` of night `night`'s observation `kept`, as far as it can.
  Fate transformKept(std::size_t night, const Kept& kept, const StoreTransformation& transformation,
                     std::vector<std::size_t>& places, report::ObservationValues& values,
                     diagnostics::DiagnosticSink& findings) const;
  // One warning per night that has observations written untransformed.
  void warnUntransformed(const StoreTransformation& transformation, const HandedOn& handed,
                         const std::vector<std::uint64_t>& firstUnpairedLine,
                         diagnostics::DiagnosticSink& findings) const;

  // The check star's scatter about each of the night's observations, in
  // time order (NaN: too few measured nearby), over the magnitudes the
  // records report: transformed when the nights are.
  [[nodiscard]] std::vector<double> scatterOf(std::size_t night,
                                              const StoreTransformation* transformation) const;
  // Every night's scatters, when MERR is made from them; none otherwise.
  [[nodiscard]] std::vector<std::vector<double>> scattersOf(
      const StoreTransformation* transformation);
  // The observation's MERR widened by its scatter; false when that leaves it
  // out. Counts those that keep the table's error.
  bool widen(std::size_t night, const Kept& kept, double scatter, report::ObservationValues& values,
             diagnostics::DiagnosticSink& findings);

  std::vector<Night> nights_;
  const std::vector<std::string>& tableFiles_;
  bool withCheckStar_;
  std::optional<std::size_t> scatterWidth_;
  std::string errorSource_;
  std::vector<std::uint64_t> unscattered_;
  std::vector<std::uint64_t> firstUnscatteredLine_;
};

}  // namespace varistellar::convert
