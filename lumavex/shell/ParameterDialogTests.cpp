#include "lumavex/shell/ParameterDialog.h"

#include <gtest/gtest.h>

namespace lumavex {
namespace {

TEST(ParameterDialog, IntegersAreDigitsWithAnOptionalSign) {
  EXPECT_EQ(ParseDialogInteger("25"), 25);
  EXPECT_EQ(ParseDialogInteger("  -7 "), -7);
  EXPECT_EQ(ParseDialogInteger("+3"), 3);
  EXPECT_EQ(ParseDialogInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseDialogInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "-", "1.5", "12a", "a12", "2147483648", "99999999999999999999",
                          "１２"})
    EXPECT_FALSE(ParseDialogInteger(bad)) << bad;
}

TEST(ParameterDialog, ShownHundredths) {
  EXPECT_EQ(HundredthsShown(0.25), 25);
  EXPECT_EQ(HundredthsShown(0.29), 28);  // 0.29 * 100 is just below 29
  EXPECT_EQ(HundredthsShownRounded(0.29), 29);
}

// Two fields; the first must be 1..255, the second 1 or more.
ParameterDialogForm TwoFields(int& first, int& second, bool eachOnPass) {
  IntegerField a{kFirstField, "a", 100, 1, 255, "a?", "a<", "a>", [&](int v) { first = v; }};
  IntegerField b{kSecondField, "b", 50, 1, std::nullopt, "b?", "b<", "", [&](int v) { second = v; }};
  return {121, "title", {a, b}, 0, -1, eachOnPass};
}

TEST(ParameterDialog, NothingIsStoredUntilEveryFieldPasses) {
  int first = 100, second = 50;
  auto model = MakeParameterDialog(TwoFields(first, second, false));
  EXPECT_EQ(model.Text(kFirstField), "100");
  EXPECT_EQ(model.focusId, kFirstField);
  model.SetText(kFirstField, "7");
  model.SetText(kSecondField, "0");
  EXPECT_EQ(model.Accept(), (platform::DialogMessage{"b<", "指定エラー"}));
  EXPECT_EQ(first, 100);
  model.SetText(kFirstField, "256");
  model.SetText(kSecondField, "zz");
  EXPECT_EQ(model.Accept()->text, "a>");  // the first field is checked completely first
  model.SetText(kFirstField, "7");
  model.SetText(kSecondField, "100000");
  EXPECT_FALSE(model.Accept());
  EXPECT_EQ(first, 7);
  EXPECT_EQ(second, 100000);
}

TEST(ParameterDialog, StoreEachOnPassKeepsTheFirstFieldWhenTheSecondFails) {
  int first = 100, second = 50;
  auto model = MakeParameterDialog(TwoFields(first, second, true));
  model.SetText(kFirstField, "9");
  model.SetText(kSecondField, "x");
  EXPECT_EQ(model.Accept()->text, "b?");
  EXPECT_EQ(first, 9);
  EXPECT_EQ(second, 50);
}

}  // namespace
}  // namespace lumavex
