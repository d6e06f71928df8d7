// The report's record layouts, each a constant list of the fields it writes
// in their order, read like the line it makes.
#pragma once

#include <array>

#include "textio/fields.h"

namespace varistellar::report {
namespace layout {
using textio::fixedField;
using textio::literalText;
using textio::textField;

// One observation: fifteen AAVSO fields, 105 columns in the interactive form.
inline constexpr std::array observationRecordLayout = {
    textField(11, "STARID"),     literalText(","),         //
    fixedField(13, 5, "DATE"),   literalText(","),         //
    fixedField(6, 3, "MAG"),     literalText(","),         //
    fixedField(6, 3, "MERR"),    literalText(","),         //
    textField(6, "FILT"),        literalText(",NO,STD,"),  // TRANS, MTYPE
    textField(11, "CNAME"),      literalText(",na,"),      // CMAG
    textField(11, "KNAME"),      literalText(",na,"),      // KMAG
    fixedField(6, 3, "AIRMASS"), literalText(",na,"),      // GROUP
    textField(8, "CHART"),       literalText(",na"),       // NOTES
};

// The same record with the check star's magnitudes: CMAG, KMAG and the
// instrumental and catalogue magnitudes in NOTES; transformed or not, as
// TRANS says. Written trimmed only.
inline constexpr std::array checkStarRecordLayout = {
    textField(11, "STARID"),     literalText(","),      //
    fixedField(13, 5, "DATE"),   literalText(","),      //
    fixedField(6, 3, "MAG"),     literalText(","),      //
    fixedField(6, 3, "MERR"),    literalText(","),      //
    textField(6, "FILT"),        literalText(","),      //
    textField(3, "TRANS"),       literalText(",STD,"),  // MTYPE
    textField(11, "CNAME"),      literalText(","),      //
    fixedField(6, 3, "CMAG"),    literalText(","),      //
    textField(11, "KNAME"),      literalText(","),      //
    fixedField(6, 3, "KMAG"),    literalText(","),      //
    fixedField(6, 3, "AIRMASS"), literalText(",na,"),   // GROUP
    textField(8, "CHART"),       literalText(","),      //
    textField(0, "NOTES"),
};
}  // namespace layout
using layout::checkStarRecordLayout;
using layout::observationRecordLayout;

}  // namespace varistellar::report
