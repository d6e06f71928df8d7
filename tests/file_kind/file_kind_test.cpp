// The detector, one kind a row: what each of the files an observer holds is
// taken for, damaged reports included.
#include "file_kind/file_kind.h"

#include <gtest/gtest.h>

#include <string>

namespace varistellar::file_kind {
namespace {

struct Case {
  const char* what;
  std::string bytes;
  const char* name;
  const char* kind;
};

const std::string parameters =
    "-\n-\n-\n-\nABCD\nRR LYR\n000-AAA-001\n12.345\nV\n12345AB\n000-AAA-002\n13.021\n";
const std::string row =
    "RR LYR,2456175.65873,11.704,0.041,V,NO,STD,000-AAA-001,12.345,na,na,1.454,"
    "na,12345AB,na\n";

const Case cases[] = {
    {"a MAGNIVEX table",
     "JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n-\n"
     "2456175.65873 -0.64 0.04 1.32 0.02 1.95 0.03 0.00569 1.45 43.47\n",
     "night.txt", "table MAGNIVEX"},
    {"a table without its header word, by a line of ten numbers", "x\n-\n1 2 3 4 5 6 7 8 9 10\n",
     "t.txt", "table MAGNIVEX"},
    {"a table with CR LF", "x\r\n-\r\n1 2 3 4 5 6 7 8 9 10\r\n", "t.txt", "table MAGNIVEX"},
    {"nine numbers are no table", "x\n-\n1 2 3 4 5 6 7 8 9\n", "t.txt", "unknown"},
    {"an AstroImageJ table", "\tLabel\tJD_UTC\trel_flux_T1\n1\ta.fits\t2460600.5\t0.5\n",
     "Measurements.xls", "table AstroImageJ"},
    {"an AstroImageJ CSV table after its metadata", "# AIJ_version 5\n,Label,Source-Sky_T1\n",
     "m.csv", "table AstroImageJ"},
    {"a Siril light curve", "# Siril\n#JD_UT (+ 2460000)\n# JD_UT V-C err\n600.5 -0.5 0.01\n",
     "light_curve.dat", "table Siril"},
    {"a parameter file with aperture lines", parameters + "target T1\ncomparison C2 12.3\n",
     "p.txt", "parameters"},
    {"a whole report", "#TYPE=Extended\n#OBSCODE=ABCD\n#DELIM=,\n" + row, "r.txt", "report"},
    {"a report that begins with another parameter", "#obscode = ABCD\n" + row, "r.txt", "report"},
    {"a damaged report: comments, then rows", "# made by TransformApplier\n# 2008\n" + row,
     "old.txt", "report"},
    {"a damaged report: comments, then TAB rows",
     "#x\nA\tB\tC\tD\tE\tF\tG\tH\tI\tJ\tK\tL\tM\tN\tO\n", "r.tsv", "report"},
    {"comments and a row of another width", "# notes\na,b,c\n", "n.txt", "unknown"},
    {"the program's picture", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"x\">",
     "night.svg", "picture"},
    {"an svg element alone", "<svg width=\"10\"></svg>\n", "a.svg", "picture"},
    {"other XML", "<?xml version=\"1.0\"?>\n<html></html>\n", "a.xml", "unknown"},
    {"a coefficient file", "[Setup]\nx=1\n[ Coefficients ]\nTv_bv= -0.0467\n", "c.ini",
     "coefficients"},
    {"a parameter file", parameters, "anything.txt", "parameters"},
    {"a parameter file without its check star", "-\n-\n-\n-\nABCD\nRR LYR\nC\n12.3\nV\nna\n",
     "p.txt", "parameters"},
    {"a cut parameter file, by its name", "-\n-\nABCD\n", "night/VARISTELLAR-input.txt",
     "parameters"},
    {"a cut file of another name", "-\n-\nABCD\n", "notes.txt", "unknown"},
    {"UTF-16 text", std::string{"\xff\xfe#\0T\0", 6}, "r.txt", "unknown"},
    {"an image", std::string{"\x89PNG\r\n\x1a\n\0\0", 10}, "p.png", "unknown"},
};

TEST(FileKind, TellsEachKind) {
  for (const Case& c : cases) {
    EXPECT_EQ(describedKind(fileKindOf(c.bytes, c.name)), c.kind) << c.what;
  }
}

TEST(FileKind, UnreadableFileIsUnknown) {
  EXPECT_EQ(fileKindOfFile("/no/such/file").kind, Kind::unknown);
}

}  // namespace
}  // namespace varistellar::file_kind
