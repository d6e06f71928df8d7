// The three record forms, from one set of values each, byte for byte.
#include "report/record_forms.h"

#include <gtest/gtest.h>

#include <string>

#include "report/observation_values.h"

namespace varistellar::report {
namespace {

struct Numbers {
  double DATE;
  double MAG;
  double MERR;
  double AIRMASS;
};

// The texts a record's values point into live as long as the night does.
const night::NightParameters parameters{"ABCD",
                                        "RR LYR",
                                        "000-AAA-001",
                                        12.345,
                                        "V",
                                        "12345AB",
                                        night::CheckStar{"000-AAA-002", 13.021}};

RecordValues valuesOf(const Numbers& numbers, std::optional<double> KMAGINS = -1.961) {
  RecordValues values = nightRecordTexts(parameters);
  ObservationValues observation{numbers.DATE, numbers.MAG, numbers.MERR, numbers.AIRMASS,
                                -0.638,       KMAGINS,     std::nullopt};
  setObservationValues(observation, values);
  return values;
}

TEST(RecordForms, EachFormWritesItsOwnLayout) {
  struct Case {
    const char* name;
    std::unique_ptr<RecordForm> form;
    std::string expected;
  };
  Case cases[] = {
      // Texts shorter than their fields stand at the right (the interactive run's
      // own texts come blank-padded to their widths).
      {"interactive", std::make_unique<InteractiveRecordForm>(),
       "     RR LYR,2456175.65873,11.707, 0.039,     V,NO,STD,000-AAA-001,na,000-AAA-002,na, "
       "1.452,na, 12345AB,na"},
      {"trimmed", std::make_unique<TrimmedRecordForm>(),
       "RR LYR,2456175.65873,11.707,0.039,V,NO,STD,000-AAA-001,na,000-AAA-002,na,1.452,na,12345AB,"
       "na"},
      {"check star", std::make_unique<CheckStarRecordForm>(),
       "RR LYR,2456175.65873,11.707,0.039,V,NO,STD,000-AAA-001,0.000,000-AAA-002,-1.961,1.452,na,"
       "12345AB,|VMAGINS=-0.638|CMAGINS=0.000|KMAGINS=-1.961|CREFMAG=12.345|KREFMAG=13.021"},
  };
  for (Case& c : cases) {
    std::string line;
    const UnfitFields unfit =
        c.form->build(valuesOf({2456175.65873, 11.70677, 0.03856, 1.45156}), line);
    EXPECT_EQ(line, c.expected) << c.name;
    EXPECT_EQ(unfit.count, 0U) << c.name;
    // The second record rewrites only its numbers.
    (void)c.form->build(valuesOf({2456175.65918, 11.703, 0.0388, 1.44949}), line);
    EXPECT_NE(line.find("2456175.65918"), std::string::npos) << c.name;
    EXPECT_NE(line.find("11.703"), std::string::npos) << c.name;
  }
}

TEST(RecordForms, NumbersThatDoNotFitAreNamed) {
  struct Case {
    Numbers numbers;
    std::string_view unfit;
  };
  for (const Case& c :
       {Case{{12345678.5, 11.7, 0.03, 1.4}, "DATE"}, Case{{2456175.6, 123.4, 0.03, 1.4}, "MAG"},
        Case{{2456175.6, 11.7, 0.03, -12.0}, "AIRMASS"}}) {
    for (RecordForm* form : {static_cast<RecordForm*>(new InteractiveRecordForm),
                             static_cast<RecordForm*>(new TrimmedRecordForm),
                             static_cast<RecordForm*>(new CheckStarRecordForm)}) {
      std::string line;
      const UnfitFields unfit = form->build(valuesOf(c.numbers), line);
      ASSERT_EQ(unfit.count, 1U) << c.unfit;
      EXPECT_EQ(unfit.names[0], c.unfit);
      delete form;
    }
  }
}

TEST(RecordForms, AnUnmeasuredCheckStarHasKmagNaAndNoSubfieldsOfItsOwn) {
  CheckStarRecordForm form;
  std::string line;
  (void)form.build(valuesOf({2456175.65873, 11.707, 0.039, 1.452}, std::nullopt), line);
  EXPECT_EQ(line,
            "RR LYR,2456175.65873,11.707,0.039,V,NO,STD,000-AAA-001,0.000,000-AAA-002,na,1.452,na,"
            "12345AB,|VMAGINS=-0.638|CMAGINS=0.000|CREFMAG=12.345");
}

}  // namespace
}  // namespace varistellar::report
