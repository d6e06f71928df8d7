// What convert knows of a photometry program's table besides its reader:
// the program's name for the report, the words its messages use for the
// table's columns, its usual file names, and how to tell it by its content.
// Each format is one of these, listed in table_formats.cpp.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "night/series_reader.h"

namespace varistellar::night {

// The table's own words for what the messages speak of.
struct TableWords {
  std::string_view table;            // "light-curve table"
  std::string_view date;             // the column of the date: "JDHEL"
  std::string_view difference;       // the target against the comparison: "V-C"
  std::string_view checkDifference;  // the check star's column: "C1-K1"
  std::string_view airmass;          // "AIRMASS"
  std::string_view dropped;          // why a row is dropped: "V-C above 90"
  std::string_view checkUnmeasured;  // why the check star is not measured: "C1-K1 above 90"
};

// The program whose table the interactive run reads, and the command line
// reads when no other program's table is recognised.
inline constexpr std::string_view magnivexProgram = "MAGNIVEX";

struct TableFormat {
  std::string_view program;  // as the report names it: #SOFTWARE=PROGRAM via ...
  TableWords words;
  std::span<const std::string_view> fileNames;  // the program's usual names, the first preferred
  // True when the file whose first bytes are `beginning` is surely this
  // format's table.
  bool (*identify)(std::string_view beginning);
  std::unique_ptr<SeriesReader> (*open)(std::string file);
};

}  // namespace varistellar::night
