// Several nights merged in time order.
#include "convert/night_store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string>

#include "convert/night_conversion.h"

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
  night.kept.push_back({values.DATE, values.VMAGINS, values.MERR, values.AIRMASS,
                        values.KMAGINS.value_or(std::numeric_limits<double>::quiet_NaN()),
                        observation.checkError, static_cast<std::uint32_t>(observation.line)});
}

void NightStore::handOn(ObservationListener* listener, diagnostics::DiagnosticSink& findings) {
  struct Cursor {
    std::size_t next = 0;
    std::unique_ptr<report::RecordForm> form;
    report::RecordValues values;
  };
  std::vector<Cursor> cursors;
  for (Night& night : nights_) {
    if (!night.inOrder) {
      // In place, with the order as the tie-break: sorting needs no more memory.
      std::sort(night.kept.begin(), night.kept.end(), [](const Kept& a, const Kept& b) {
        return a.DATE < b.DATE || (a.DATE == b.DATE && a.line < b.line);
      });
    }
    cursors.push_back(
        {0, commandLineRecordForm(withCheckStar_), report::nightRecordTexts(*night.parameters)});
  }
  std::string record;
  for (;;) {
    // The night whose next observation comes first; the first such night on a tie.
    std::size_t chosen = nights_.size();
    for (std::size_t i = 0; i < nights_.size(); ++i) {
      if (cursors[i].next == nights_[i].kept.size()) continue;
      if (chosen == nights_.size() ||
          nights_[i].kept[cursors[i].next].DATE < nights_[chosen].kept[cursors[chosen].next].DATE) {
        chosen = i;
      }
    }
    if (chosen == nights_.size()) break;
    Cursor& cursor = cursors[chosen];
    const Kept& kept = nights_[chosen].kept[cursor.next++];
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
    report::setObservationValues(values, cursor.values);
    const bool fits = recordFits(cursor.form->build(cursor.values, record), tableFiles_[chosen],
                                 kept.line, findings);
    if (fits && listener != nullptr) {
      listener->take({chosen, values, record, kept.checkError, kept.line});
    }
  }
  for (Night& night : nights_) std::deque<Kept>{}.swap(night.kept);
}

}  // namespace varistellar::convert
