#pragma once
// The range each drawing setting accepts, declared once: the parameter dialogs
// refuse a value outside it and the settings file refuses a record holding one.
// Lengths the dialogs show in 1/100 pixel have their range in 1/100 pixel too.
// Every number has an upper bound that no picture up to 30000 x 30000 pixels needs to
// pass (widths 30000 pixels, fades 100000 pixels, 100000 spline points), so that what
// the drawing allocates and converts to integers stays within reach.

#include <optional>

namespace lumavex {

struct SettingRange {
  std::optional<int> lower;  // none: no lower limit
  std::optional<int> upper;  // none: no upper limit

  constexpr bool Holds(int v) const { return (!lower || v >= *lower) && (!upper || v <= *upper); }
};

namespace limit {

constexpr SettingRange kSplinePointCount{2, 100000};
constexpr SettingRange kFrameWidth{0, 3000000};        // 1/100 pixel
constexpr SettingRange kAntiAliasWidth{100, 3000000};  // 1/100 pixel
constexpr SettingRange kFadeDistance{0, 10000000};     // 1/100 pixel
constexpr SettingRange kMaxOpacity{1, 255};
constexpr SettingRange kPointSpacing{1, 100};  // 1/100 pixel

constexpr SettingRange kPenWidth{0, 30000};
constexpr SettingRange kGradationDegree{1, 30000};
constexpr SettingRange kMosaicCellWidth{2, 30000};

constexpr SettingRange kBorderOpacity{1, 255};
constexpr SettingRange kRgbTolerance{0, 255};

constexpr SettingRange kLoadLimitSide{2, 30000};
constexpr SettingRange kProcessingSquareSide{10, 10000};

constexpr SettingRange kCharacterSide{2, 30000};
constexpr SettingRange kCharacterSpacing{0, 30000};
constexpr SettingRange kFontWeight{0, 900};

constexpr SettingRange kFattenWidth{100, 3000000};         // 1/100 pixel
constexpr SettingRange kFattenAntiAliasWidth{0, 3000000};  // 1/100 pixel

constexpr SettingRange kReductionTerm{1, 30000};

constexpr SettingRange kTabletMaxBasePoints{2, 1600};
constexpr SettingRange kTabletMinPressurePercent{0, 99};

}  // namespace limit
}  // namespace lumavex
