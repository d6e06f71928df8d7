// Several nights merged in time order.
#include "convert/night_store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string>

#include "convert/night_conversion.h"
#include "convert/transformed_values.h"

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

bool NightStore::valuesAtTime(const Kept& kept, const transform::FilterTransform& transform,
                              const transform::PairingWindow& window,
                              transform::ValuesAtTime& target, transform::ValuesAtTime& check,
                              bool& checkComplete, std::vector<std::size_t>& places) const {
  const std::size_t own = transform::slotOf(transform.role.filter);
  target[own] = {kept.VMAGINS, kept.MERR};
  check[own] = {kept.KMAGINS, 0.0};
  checkComplete = !std::isnan(kept.KMAGINS);
  for (std::size_t i = 0; i < transform.role.partners.size(); ++i) {
    const std::deque<Kept>& series = nights_[transform.partnerNights[i]].kept;
    const auto partner = transform::partnerAt(
        series.size(), [&series](std::size_t j) { return series[j].HJD; }, kept.HJD, window,
        places[i]);
    if (!partner) return false;
    const Kept& first = series[partner->first];
    const Kept& second = series[partner->second];
    const std::size_t slot = transform::slotOf(transform.role.partners[i]);
    target[slot] = transform::partnerValue(*partner, {first.VMAGINS, first.MERR},
                                           {second.VMAGINS, second.MERR});
    // The check star at the partners' time, weighed alike; a partner that
    // did not measure it leaves this observation's check star out.
    if (partner->weight == 0.0) {
      check[slot] = {first.KMAGINS, 0.0};
      checkComplete = checkComplete && !std::isnan(first.KMAGINS);
    } else {
      check[slot] = transform::partnerValue(*partner, {first.KMAGINS, 0.0}, {second.KMAGINS, 0.0});
      checkComplete = checkComplete && !std::isnan(first.KMAGINS) && !std::isnan(second.KMAGINS);
    }
  }
  return true;
}

HandedOn NightStore::handOn(ObservationListener* listener, diagnostics::DiagnosticSink& findings,
                            const StoreTransformation* transformation) {
  struct Cursor {
    std::deque<Kept>::const_iterator next;
    std::deque<Kept>::const_iterator end;
    std::unique_ptr<report::RecordForm> form;
    report::RecordValues values;
  };
  const std::size_t count = nights_.size();
  HandedOn handed{std::vector<std::uint64_t>(count), std::vector<std::uint64_t>(count),
                  std::vector<std::uint64_t>(count)};
  std::vector<std::uint64_t> firstUnpairedLine(count, 0);
  for (Night& night : nights_) {
    if (!night.inOrder) {
      // In place, with the order as the tie-break: sorting needs no more memory.
      std::sort(night.kept.begin(), night.kept.end(), [](const Kept& a, const Kept& b) {
        return a.DATE < b.DATE || (a.DATE == b.DATE && a.line < b.line);
      });
    }
  }
  std::vector<Cursor> cursors;
  for (std::size_t i = 0; i < count; ++i) {
    Night& night = nights_[i];
    cursors.push_back({night.kept.cbegin(), night.kept.cend(),
                       transformation != nullptr
                           ? transformedRecordForm(transformation->transforms[i])
                           : commandLineRecordForm(withCheckStar_),
                       report::nightRecordTexts(*night.parameters)});
  }
  // Where each night's search for each of its partners ended last.
  std::vector<std::vector<std::size_t>> places(count, std::vector<std::size_t>(3, 0));
  std::string record;
  transform::ValuesAtTime target{};
  transform::ValuesAtTime check{};
  for (;;) {
    // The night whose next observation comes first; the first such night on a tie.
    Cursor* first = nullptr;
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < cursors.size(); ++i) {
      Cursor& cursor = cursors[i];
      if (cursor.next != cursor.end &&
          (first == nullptr || cursor.next->DATE < first->next->DATE)) {
        first = &cursor;
        chosen = i;
      }
    }
    if (first == nullptr) break;
    Cursor& cursor = *first;
    const Kept& kept = *cursor.next++;
    const night::NightParameters& parameters = *nights_[chosen].parameters;
    report::ObservationValues values{
        .DATE = kept.DATE,
        .MAG = parameters.comparisonMagnitude + kept.VMAGINS,
        .MERR = kept.MERR,
        .AIRMASS = kept.AIRMASS,
        .VMAGINS = kept.VMAGINS,
    };
    if (!std::isnan(kept.KMAGINS)) {
      values.KMAGINS = kept.KMAGINS;
      if (parameters.checkStar) values.Kstd = parameters.comparisonMagnitude + kept.KMAGINS;
    }
    if (transformation != nullptr) {
      const transform::FilterTransform* transform = transformation->transforms[chosen];
      bool checkComplete = false;
      if (transform == nullptr || !valuesAtTime(kept, *transform, transformation->window, target,
                                                check, checkComplete, places[chosen])) {
        if (handed.untransformed[chosen]++ == 0 || kept.line < firstUnpairedLine[chosen]) {
          firstUnpairedLine[chosen] = kept.line;
        }
      } else {
        const transform::Transformed result = transform::solve(*transform, target);
        if (errorTooLarge(result)) {
          ++handed.leftOut[chosen];
          reportLeftOut(result.error, tableFiles_[chosen], kept.line, findings);
          continue;
        }
        std::optional<double> checkOffset;
        if (checkComplete) checkOffset = transform::solveCheck(*transform, check);
        putTransformed(*transform, result, checkOffset, parameters.comparisonMagnitude, values);
        ++handed.transformed[chosen];
      }
    }
    report::setObservationValues(values, cursor.values);
    const bool fits = recordFits(cursor.form->build(cursor.values, record), tableFiles_[chosen],
                                 kept.line, findings);
    if (fits && listener != nullptr) {
      listener->take({chosen, values, record, kept.checkError, kept.line, kept.HJD});
    }
  }
  if (transformation != nullptr) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t unpaired = handed.untransformed[i];
      if (unpaired == 0) continue;
      const std::string partners = partnerNames(transformation->transforms[i]);
      findings.warning(tableFiles_[i], firstUnpairedLine[i], 0,
                       (unpaired == 1 ? std::string{"1 observation has"}
                                      : std::to_string(unpaired) + " observations have") +
                           (transformation->transforms[i] == nullptr
                                ? std::string{" no partner filter in the night and no --colour"}
                                : " no " + partners + " observation within " +
                                      transformation->windowText + " minutes") +
                           (unpaired == 1 ? ": it is written untransformed (TRANS NO)"
                                          : ": they are written untransformed (TRANS NO)"));
    }
  }
  for (Night& night : nights_) std::deque<Kept>{}.swap(night.kept);
  return handed;
}

}  // namespace varistellar::convert
