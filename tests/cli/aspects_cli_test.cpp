// novastra-cli aspectarian --aspects: the minor aspects in the text (their
// glyph codes), CSV, JSON and the calendar, the five alone by default, and
// the refusals.
#include <gtest/gtest.h>

#include <string>

#include "cli_support.h"

namespace novastra {
namespace {

using AspectsCli = testing_support::CliHome;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(AspectsCli, MinorAspectsAreAnAddedChoice) {
  const std::string month = "aspectarian --from 2009-01-01 --days 31";
  const auto plain = Run(month), major = Run(month + " --aspects major");
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(major.out, plain.out);  // the default is the five
  const auto all = Run(month + " --aspects all");
  ASSERT_EQ(all.status, 0);
  EXPECT_GT(all.out.size(), plain.out.size() + 2000);
  // Each minor aspect's glyph code (semisextile 167 .. quincunx 173).
  for (const char code : {'\xA7', '\xA8', '\xA9', '\xAA', '\xAC', '\xAD'})
    EXPECT_TRUE(Contains(all.out, std::string(1, code))) << static_cast<int>(code & 0xFF);
  EXPECT_FALSE(Contains(plain.out, "\xAD"));

  const auto csv = Run(month + " --aspects quincunx,semisquare --format csv");
  ASSERT_EQ(csv.status, 0);
  EXPECT_TRUE(Contains(csv.out, ",quincunx,") && Contains(csv.out, ",semisquare,"));
  EXPECT_FALSE(Contains(csv.out, ",trine,") || Contains(csv.out, ",quintile,"));
  EXPECT_TRUE(Contains(csv.out, "new_moon"));  // lunations stay
  const auto json = Run(month + " --aspects minor --format json");
  EXPECT_TRUE(Contains(json.out, "\"aspects\":\"semisextile,semisquare,quintile,sesquiquadrate,"
                                 "biquintile,quincunx\""));
  EXPECT_TRUE(Contains(json.out, "\"aspect\":\"biquintile\""));
  const auto ics = Run(month + " --aspects all --format ics");
  EXPECT_TRUE(Contains(ics.out, " sesquiquadrate ")) << ics.out.substr(0, 600);
}

TEST_F(AspectsCli, UnknownAspectsAreRefused) {
  for (const char* list : {"inconjunct", "square,,trine", "major,"}) {
    const auto r = Run(std::string("aspectarian --days 2 --aspects \"") + list + "\" 2>&1");
    EXPECT_EQ(r.status, 2) << list;
    // One line on standard error naming the option and the choices, nothing else.
    EXPECT_TRUE(Contains(r.out, "--aspects") && Contains(r.out, "quincunx")) << r.out;
    EXPECT_EQ(r.out.find("Aspectarian"), std::string::npos);
  }
}

}  // namespace
}  // namespace novastra
