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
    std::deque<Kept>::const_iterator next;
    std::deque<Kept>::const_iterator end;
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
    cursors.push_back({night.kept.cbegin(), night.kept.cend(),
                       commandLineRecordForm(withCheckStar_),
                       report::nightRecordTexts(*night.parameters)});
  }
  std::string record;
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
