// Several nights merged in time order.
#include "convert/night_store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string>

#include "check_star/scatter_window.h"
#include "convert/night_conversion.h"
#include "diagnostics/held_findings.h"
#include "report/number_text.h"
#include "report/observation_values.h"
#include "transform/transformed_values.h"

namespace varistellar::convert {

NightStore::NightStore(const std::vector<night::NightParameters>& nights,
                       const std::vector<std::string>& tableFiles, bool withCheckStar)
    : tableFiles_{tableFiles}, withCheckStar_{withCheckStar} {
  for (const night::NightParameters& parameters : nights) {
    // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform
    nights_.push_back({&parameters, {}, true});
  }
}

void NightStore::take(const ConvertedObservation& observation) {
  Night& night = nights_[observation.night];
  const report::ObservationValues& values = observation.values;
  // A table of more lines than 32 bits count would not fit in memory anyway.
  if (observation.line > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc{};
  if (!night.kept.empty() && values.DATE < night.kept.back().DATE) night.inOrder = false;
  night.kept.push_back({observation.HJD, values.DATE, values.VMAGINS, values.MERR, values.AIRMASS,
                        values.KMAGINS.value_or(std::numeric_limits<double>::quiet_NaN()),
                        observation.checkError, static_cast<std::uint32_t>(observation.line)});
}

namespace {

// "B and V": the filters an equation takes beside its own.
std::string partnerNames(const transform::FilterTransform* transform) {
  std::string names;
  if (transform == nullptr) return names;
  const auto& partners = transform->role.partners;
  for (std::size_t i = 0; i < partners.size(); ++i) {
    if (i != 0) names += i + 1 == partners.size() ? " and " : ", ";
    names += partners[i];
  }
  return names;
}

}  // namespace

struct NightStore::Cursor {
  std::deque<Kept>::const_iterator next;
  std::deque<Kept>::const_iterator end;
  std::unique_ptr<report::RecordForm> form;
  report::RecordValues values;
};

namespace {

// A kept observation's values through the value step again, as the night's
// own reading made them: its DATE is already the report's, so it is given
// as the date the step writes as it is.
template <typename Kept>
report::ObservationValues keptValues(const Kept& kept, const night::NightParameters& parameters) {
  night::Measurement measurement{
      .HJD = kept.DATE, .difference = kept.VMAGINS, .error = kept.MERR, .AIRMASS = kept.AIRMASS};
  if (!std::isnan(kept.KMAGINS)) measurement.checkDifference = kept.KMAGINS;
  return std::get<report::ObservationValues>(
      report::observationValues(measurement, parameters, report::DateKind::hjd));
}

template <typename Kept>
transform::Reading readingOf(const Kept& kept) {
  return {{kept.VMAGINS, kept.MERR}, kept.KMAGINS};
}

}  // namespace

bool NightStore::valuesAtTime(const Kept& kept, const transform::FilterTransform& transform,
                              const transform::PairingWindow& window, transform::EquationValues& at,
                              std::vector<std::size_t>& places) const {
  transform::putOwn(at, transform.role.filter, readingOf(kept));
  for (std::size_t i = 0; i < transform.role.partners.size(); ++i) {
    const std::deque<Kept>& series = nights_[transform.partnerNights[i]].kept;
    const auto partner = transform::partnerAt(
        series.size(), [&series](std::size_t j) { return series[j].HJD; }, kept.HJD, window,
        places[i]);
    if (!partner) return false;
    transform::putPartner(at, transform.role.partners[i], *partner,
                          readingOf(series[partner->first]), readingOf(series[partner->second]));
  }
  return true;
}

NightStore::Fate NightStore::transformKept(std::size_t night, const Kept& kept,
                                           const StoreTransformation& transformation,
                                           std::vector<std::size_t>& places,
                                           report::ObservationValues& values,
                                           diagnostics::DiagnosticSink& findings) const {
  const transform::FilterTransform* transform = transformation.transforms[night];
  transform::EquationValues at;
  if (transform == nullptr || !valuesAtTime(kept, *transform, transformation.window, at, places)) {
    return Fate::untransformed;
  }
  const auto tooLarge = transform::transformValues(
      *transform, at, nights_[night].parameters->comparisonMagnitude, values);
  if (tooLarge) {
    reportLeftOut(tooLarge->MERR, tableFiles_[night], kept.line, findings);
    return Fate::leftOut;
  }
  return Fate::transformed;
}

std::vector<double> NightStore::scatterOf(std::size_t night,
                                          const StoreTransformation* transformation) const {
  const Night& held = nights_[night];
  constexpr double none = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> scatter(held.kept.size(), none);
  check_star::ScatterWindow window{*scatterWidth_};
  std::deque<std::size_t> waiting;  // which kept observation each of the window's is
  std::vector<std::size_t> places(3, 0);
  // Left-out observations are said when they are handed on.
  diagnostics::HeldFindings unsaid;
  const auto collect = [&] {
    while (window.ready()) {
      const std::optional<double> deviation = window.take();
      if (deviation) scatter[waiting.front()] = *deviation;
      waiting.pop_front();
    }
  };
  for (std::size_t k = 0; k < held.kept.size(); ++k) {
    const Kept& kept = held.kept[k];
    report::ObservationValues values = keptValues(kept, *held.parameters);
    std::optional<double> Kstd = values.Kstd;
    if (transformation != nullptr) {
      if (transformKept(night, kept, *transformation, places, values, unsaid) == Fate::leftOut) {
        continue;
      }
      Kstd = values.transformedKstd;
    }
    // The night is sorted, so the window always takes the observation.
    (void)window.add(kept.DATE, Kstd.value_or(none));
    waiting.push_back(k);
    collect();
  }
  window.end();
  collect();
  return scatter;
}

std::vector<std::vector<double>> NightStore::scattersOf(const StoreTransformation* transformation) {
  std::vector<std::vector<double>> scatters;
  if (!scatterWidth_) return scatters;
  errorSource_ = "KC" + std::to_string(*scatterWidth_);
  unscattered_.assign(nights_.size(), 0);
  firstUnscatteredLine_.assign(nights_.size(), 0);
  for (std::size_t i = 0; i < nights_.size(); ++i) {
    scatters.push_back(scatterOf(i, transformation));
  }
  return scatters;
}

bool NightStore::widen(std::size_t night, const Kept& kept, double scatter,
                       report::ObservationValues& values, diagnostics::DiagnosticSink& findings) {
  if (std::isnan(scatter)) {
    if (unscattered_[night]++ == 0) firstUnscatteredLine_[night] = kept.line;
    return true;
  }
  (void)widenedByScatter(values, scatter, errorSource_);
  if (report::writtenMagnitudeError(values.MERR) < 1.0) return true;
  reportLeftOut(values.MERR, tableFiles_[night], kept.line, findings);
  return false;
}

std::vector<const transform::FilterTransform*> NightStore::transformsUsed(
    const StoreTransformation& transformation) {
  sortNights();
  std::vector<const transform::FilterTransform*> used(nights_.size(), nullptr);
  for (std::size_t i = 0; i < nights_.size(); ++i) {
    const transform::FilterTransform* transform = transformation.transforms[i];
    if (transform == nullptr) continue;
    std::vector<std::size_t> places(3, 0);
    // Most nights transform their first observation: the search ends there.
    const auto transformed = [&](const Kept& kept) {
      transform::EquationValues at;
      return valuesAtTime(kept, *transform, transformation.window, at, places) &&
             !transform::errorTooLarge(transform::solve(*transform, at.target));
    };
    if (std::any_of(nights_[i].kept.begin(), nights_[i].kept.end(), transformed)) {
      used[i] = transform;
    }
  }
  return used;
}

void NightStore::sortNights() {
  for (Night& night : nights_) {
    if (!night.inOrder) {
      // In place, with the order as the tie-break: sorting needs no more memory.
      std::sort(night.kept.begin(), night.kept.end(), [](const Kept& a, const Kept& b) {
        return a.DATE < b.DATE || (a.DATE == b.DATE && a.line < b.line);
      });
      night.inOrder = true;
    }
  }
}

std::optional<std::size_t> NightStore::nextNight(const std::vector<Cursor>& cursors) {
  std::optional<std::size_t> chosen;
  for (std::size_t i = 0; i < cursors.size(); ++i) {
    const Cursor& cursor = cursors[i];
    if (cursor.next != cursor.end && (!chosen || cursor.next->DATE < cursors[*chosen].next->DATE)) {
      chosen = i;
    }
  }
  return chosen;
}

HandedOn NightStore::handOn(ObservationListener* listener, diagnostics::DiagnosticSink& findings,
                            const StoreTransformation* transformation) {
  const std::size_t count = nights_.size();
  HandedOn handed{std::vector<std::uint64_t>(count), std::vector<std::uint64_t>(count),
                  std::vector<std::uint64_t>(count)};
  std::vector<std::uint64_t> firstUnpairedLine(count, 0);
  sortNights();
  std::vector<Cursor> cursors;
  for (std::size_t i = 0; i < count; ++i) {
    Night& night = nights_[i];
    cursors.push_back({night.kept.cbegin(), night.kept.cend(),
                       transformation != nullptr
                           ? transformedRecordForm(transformation->transforms[i], *night.parameters)
                           : commandLineRecordForm(withCheckStar_, *night.parameters),
                       report::nightRecordTexts(*night.parameters)});
  }
  // Where each night's search for each of its partners ended last.
  std::vector<std::vector<std::size_t>> places(count, std::vector<std::size_t>(3, 0));
  const std::vector<std::vector<double>> scatters = scattersOf(transformation);
  std::string record;
  while (const std::optional<std::size_t> next = nextNight(cursors)) {
    const std::size_t chosen = *next;
    Cursor& cursor = cursors[chosen];
    const auto index = static_cast<std::size_t>(cursor.next - nights_[chosen].kept.cbegin());
    const Kept& kept = *cursor.next++;
    report::ObservationValues values = keptValues(kept, *nights_[chosen].parameters);
    if (transformation != nullptr) {
      switch (transformKept(chosen, kept, *transformation, places[chosen], values, findings)) {
        case Fate::leftOut: ++handed.leftOut[chosen]; continue;
        case Fate::transformed: ++handed.transformed[chosen]; break;
        case Fate::untransformed:
          if (handed.untransformed[chosen]++ == 0 || kept.line < firstUnpairedLine[chosen]) {
            firstUnpairedLine[chosen] = kept.line;
          }
          break;
      }
    }
    if (scatterWidth_ && !widen(chosen, kept, scatters[chosen][index], values, findings)) {
      ++handed.leftOut[chosen];
      continue;
    }
    report::setObservationValues(values, cursor.values);
    const bool fits = recordFits(cursor.form->build(cursor.values, record), tableFiles_[chosen],
                                 kept.line, findings);
    if (fits && listener != nullptr) {
      listener->take({chosen, values, record, kept.checkError, kept.line, kept.HJD});
    }
  }
  if (transformation != nullptr) {
    warnUntransformed(*transformation, handed, firstUnpairedLine, findings);
  }
  for (std::size_t i = 0; scatterWidth_ && i < count; ++i) {
    warnUnscattered(tableFiles_[i], unscattered_[i], firstUnscatteredLine_[i], *scatterWidth_,
                    findings);
  }
  for (Night& night : nights_) std::deque<Kept>{}.swap(night.kept);
  return handed;
}

void NightStore::warnUntransformed(const StoreTransformation& transformation,
                                   const HandedOn& handed,
                                   const std::vector<std::uint64_t>& firstUnpairedLine,
                                   // cppcheck-suppress constParameter ; findings are added to it
                                   diagnostics::DiagnosticSink& findings) const {
  for (std::size_t i = 0; i < nights_.size(); ++i) {
    const std::uint64_t unpaired = handed.untransformed[i];
    if (unpaired == 0) continue;
    const std::string partners = partnerNames(transformation.transforms[i]);
    findings.warning(tableFiles_[i], firstUnpairedLine[i], 0,
                     (unpaired == 1 ? std::string{"1 observation has"}
                                    : std::to_string(unpaired) + " observations have") +
                         (transformation.transforms[i] == nullptr
                              ? std::string{" no partner filter in the night and no --colour"}
                              : " no " + partners + " observation within " +
                                    transformation.windowText + " minutes") +
                         (unpaired == 1 ? ": it is written untransformed (TRANS NO)"
                                        : ": they are written untransformed (TRANS NO)"));
  }
}

}  // namespace varistellar::convert
