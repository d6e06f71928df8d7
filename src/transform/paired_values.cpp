// Values at one time, weighed.
#include "transform/paired_values.h"

#include <cmath>

#include "transform/filter_order.h"

namespace varistellar::transform {

void putOwn(EquationValues& values, char filter, const Reading& own) {
  const std::size_t place = filterRank(filter);
  values.target[place] = own.target;
  values.check[place] = {own.check, 0.0};
  values.checkComplete = !std::isnan(own.check);
}

void putPartner(EquationValues& values, char filter, const Partner& partner, const Reading& first,
                const Reading& second) {
  const std::size_t place = filterRank(filter);
  values.target[place] = partnerValue(partner, first.target, second.target);
  if (partner.weight == 0.0) {
    values.check[place] = {first.check, 0.0};
    values.checkComplete = values.checkComplete && !std::isnan(first.check);
  } else {
    values.check[place] = partnerValue(partner, {first.check, 0.0}, {second.check, 0.0});
    values.checkComplete =
        values.checkComplete && !std::isnan(first.check) && !std::isnan(second.check);
  }
}

}  // namespace varistellar::transform
