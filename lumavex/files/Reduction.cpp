#include "lumavex/files/Reduction.h"

#include <immintrin.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "lumavex/canvas/PixelRules.h"

namespace lumavex {

namespace {

constexpr int kFixedShift = 11;
constexpr uint32_t kUnit = 1u << kFixedShift;  // one target pixel in fixed point
constexpr uint32_t kColourRound = 0x200000;    // half of 2^22, the weight of a full pixel
constexpr uint32_t kWeightRound = 1024;

// A finished channel: the weighted mean in 0..255; a pixel that no source pixel
// reached with any weight is black.
uint32_t FinishChannel(uint64_t sum, uint64_t weight) {
  if (weight == 0) return 0;
  const uint64_t v = ((sum << kFixedShift) + weight / 2) / weight;
  return static_cast<uint32_t>(std::min<uint64_t>(v, 255));
}

template <typename T>
uint32_t FinishPixel(const T* s) {
  const uint64_t weight = s[3];
  return FinishChannel(s[2], weight) << 16 | FinishChannel(s[1], weight) << 8 |
         FinishChannel(s[0], weight) | kDrawAreaFlag;
}

// Adds one source pixel's share with weight `wt` to the four sums at `s`.
template <typename T>
inline void Contribute(T* s, uint32_t wt, uint32_t pixel) {
  s[0] += (wt * (pixel & 0xFF) + kColourRound) >> 22;
  s[1] += (wt * ((pixel >> 8) & 0xFF) + kColourRound) >> 22;
  s[2] += (wt * ((pixel >> 16) & 0xFF) + kColourRound) >> 22;
  s[3] += (wt + kWeightRound) >> kFixedShift;
}

template <typename T>
void AddLineScalar(const uint32_t* line, int count, const uint32_t* column,
                   const uint32_t* fraction, uint32_t fy, T* upper, T* lower) {
  for (int x = 0; x < count; ++x) {
    const uint32_t c = column[x], fx = fraction[x], pixel = line[x];
    T* u = upper + size_t(c) * 4;
    T* l = lower + size_t(c) * 4;
    Contribute(u, (kUnit - fx) * (kUnit - fy), pixel);
    Contribute(u + 4, fx * (kUnit - fy), pixel);
    Contribute(l, (kUnit - fx) * fy, pixel);
    Contribute(l + 4, fx * fy, pixel);
  }
}

// Adds the sums of two neighbouring target pixels.
__attribute__((target("avx2"))) inline void AddPairs(uint32_t* sums, __m256i shares) {
  __m256i* p = reinterpret_cast<__m256i*>(sums);
  _mm256_storeu_si256(p, _mm256_add_epi32(_mm256_loadu_si256(p), shares));
}

// The same sums as AddLineScalar<uint32_t>, two target pixels (c and c + 1) per
// 256-bit vector: lanes blue, green, red, weight for each. The weight lane
// multiplies 1 and is shifted by 11 instead of 22.
__attribute__((target("avx2"))) void AddLineAvx2(const uint32_t* line, int count,
                                                 const uint32_t* column,
                                                 const uint32_t* columnWeights, uint32_t fy,
                                                 uint32_t* upper, uint32_t* lower) {
  const __m256i channelShift = _mm256_setr_epi32(0, 8, 16, 32, 0, 8, 16, 32);
  const __m256i byteMask = _mm256_setr_epi32(255, 255, 255, 0, 255, 255, 255, 0);
  const __m256i weightOne = _mm256_setr_epi32(0, 0, 0, 1, 0, 0, 0, 1);
  const __m256i rounding = _mm256_setr_epi32(kColourRound, kColourRound, kColourRound,
                                             kWeightRound, kColourRound, kColourRound,
                                             kColourRound, kWeightRound);
  const __m256i resultShift = _mm256_setr_epi32(22, 22, 22, 11, 22, 22, 22, 11);
  const __m256i upperRow = _mm256_set1_epi32(static_cast<int>(kUnit - fy));
  const __m256i lowerRow = _mm256_set1_epi32(static_cast<int>(fy));
  // Neighbouring source columns mostly share a target column: their shares are
  // gathered in registers and added to the rows once the column changes.
  __m256i up = _mm256_setzero_si256(), low = _mm256_setzero_si256();
  uint32_t current = count > 0 ? column[0] : 0;
  for (int x = 0; x < count; ++x) {
    if (column[x] != current) {
      AddPairs(upper + size_t(current) * 4, up);
      AddPairs(lower + size_t(current) * 4, low);
      up = low = _mm256_setzero_si256();
      current = column[x];
    }
    const __m256i pixel = _mm256_set1_epi32(static_cast<int>(line[x]));
    const __m256i channels = _mm256_or_si256(
        _mm256_and_si256(_mm256_srlv_epi32(pixel, channelShift), byteMask), weightOne);
    const __m256i colWeights =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columnWeights + size_t(x) * 8));
    const __m256i byColumn = _mm256_mullo_epi32(channels, colWeights);
    up = _mm256_add_epi32(up, _mm256_srlv_epi32(_mm256_add_epi32(_mm256_mullo_epi32(byColumn, upperRow), rounding), resultShift));
    low = _mm256_add_epi32(low, _mm256_srlv_epi32(_mm256_add_epi32(_mm256_mullo_epi32(byColumn, lowerRow), rounding), resultShift));
  }
  if (count > 0) {
    AddPairs(upper + size_t(current) * 4, up);
    AddPairs(lower + size_t(current) * 4, low);
  }
}

bool HasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

}  // namespace

uint32_t ReductionPosition(int index, int sourceSide, int targetSide) {
  const int64_t v = int64_t(index) * kUnit * (targetSide - 1) / (sourceSide - 2) - 1;
  return static_cast<uint32_t>(std::max<int64_t>(0, v));
}

bool Reduction::Start(int sourceWidth, int sourceHeight, PixelPlane& target) {
  const int tw = target.Width(), th = target.Height();
  if (target.Empty() || target.BytesPerPixel() != 4 || tw < 2 || th < 2 || sourceWidth < tw ||
      sourceHeight < th)
    return false;
  target_ = &target;
  w_ = sourceWidth;
  h_ = sourceHeight;
  targetW_ = tw;
  targetH_ = th;
  nextY_ = h_ - 1;
  lowestUnfinished_ = th - 1;
  nearest_ = w_ < 3 || h_ < 3;
  if (nearest_) return true;

  // A target pixel gathers from at most this many source pixels; with sums of up
  // to 2049 per pixel the 32-bit sums hold up to 2^32.
  const uint64_t across = 2 * uint64_t(w_ - 2) / (tw - 1) + 3;
  const uint64_t down = 2 * uint64_t(h_ - 2) / (th - 1) + 3;
  wide_ = across * down * 2049 >= (uint64_t(1) << 32);
  vector_ = !wide_ && HasAvx2();

  column_.resize(w_ - 1);
  fraction_.resize(w_ - 1);
  for (int x = 0; x < w_ - 1; ++x) {
    const uint32_t X = ReductionPosition(x, w_, tw);
    column_[x] = X >> kFixedShift;
    fraction_[x] = X & (kUnit - 1);
  }
  if (vector_) {
    columnWeights_.resize(size_t(w_ - 1) * 8);
    for (int x = 0; x < w_ - 1; ++x)
      for (int lane = 0; lane < 8; ++lane)
        columnWeights_[size_t(x) * 8 + lane] = lane < 4 ? kUnit - fraction_[x] : fraction_[x];
  }
  const size_t sums = size_t(tw) * 4;
  if (wide_) {
    upperWide_.assign(sums, 0);
    lowerWide_.assign(sums, 0);
  } else {
    upper_.assign(sums, 0);
    lower_.assign(sums, 0);
  }
  return true;
}

void Reduction::AddLine(const uint32_t* line) {
  const int y = nextY_--;
  if (y < 0) return;
  if (nearest_) {
    AddNearestLine(line, y);
  } else if (y < h_ - 1) {
    AddResampledLine(line, y);
  }
}

void Reduction::AddNearestLine(const uint32_t* line, int y) {
  // The target rows whose source row Y × h / H is y.
  const int64_t first = (int64_t(y) * targetH_ + h_ - 1) / h_;
  const int64_t end = std::min<int64_t>(targetH_, (int64_t(y + 1) * targetH_ + h_ - 1) / h_);
  for (int64_t row = first; row < end; ++row) {
    uint32_t* out = target_->Row32(static_cast<int>(row));
    for (int x = 0; x < targetW_; ++x)
      out[x] = (line[int64_t(x) * w_ / targetW_] & kColourMask) | kDrawAreaFlag;
  }
}

void Reduction::AdvanceTo(int lowestTouched) {
  while (lowestTouched < lowestUnfinished_ && lowestUnfinished_ > 1) {
    if (wide_) {
      FinishWideRow(lowestUnfinished_, lowerWide_.data());
      std::swap(lowerWide_, upperWide_);
      std::fill(upperWide_.begin(), upperWide_.end(), 0);
    } else {
      FinishRow(lowestUnfinished_, lower_.data());
      std::swap(lower_, upper_);
      std::fill(upper_.begin(), upper_.end(), 0);
    }
    --lowestUnfinished_;
  }
}

void Reduction::AddResampledLine(const uint32_t* line, int y) {
  const uint32_t Y = ReductionPosition(y, h_, targetH_);
  const int r = static_cast<int>(Y >> kFixedShift);
  const uint32_t fy = Y & (kUnit - 1);
  AdvanceTo(r + 1);
  const int count = w_ - 1;
  if (wide_) {
    AddLineScalar(line, count, column_.data(), fraction_.data(), fy, upperWide_.data(),
                  lowerWide_.data());
  } else if (vector_) {
    AddLineAvx2(line, count, column_.data(), columnWeights_.data(), fy, upper_.data(),
                lower_.data());
  } else {
    AddLineScalar(line, count, column_.data(), fraction_.data(), fy, upper_.data(),
                  lower_.data());
  }
}

void Reduction::FinishRow(int row, const uint32_t* sums) {
  uint32_t* out = target_->Row32(row);
  for (int x = 0; x < targetW_; ++x) out[x] = FinishPixel(sums + size_t(x) * 4);
}

void Reduction::FinishWideRow(int row, const uint64_t* sums) {
  uint32_t* out = target_->Row32(row);
  for (int x = 0; x < targetW_; ++x) out[x] = FinishPixel(sums + size_t(x) * 4);
}

void Reduction::Finish() {
  if (nearest_ || !target_) return;
  AdvanceTo(1);
  if (wide_) {
    FinishWideRow(1, lowerWide_.data());
    FinishWideRow(0, upperWide_.data());
  } else {
    FinishRow(1, lower_.data());
    FinishRow(0, upper_.data());
  }
}

bool ReducePicture(const ReductionRowSource& source, int sourceWidth, int sourceHeight,
                   PixelPlane& target) {
  Reduction reduction;
  if (!reduction.Start(sourceWidth, sourceHeight, target)) return false;
  for (int y = sourceHeight - 1; y >= 0; --y) {
    const uint32_t* line = source(y);
    if (!line) return false;
    reduction.AddLine(line);
  }
  reduction.Finish();
  return true;
}

ReducedSaveSize ReducedSaveTarget(PictureSize picture, int numerator, int denominator) {
  const int64_t w = int64_t(picture.width) * numerator;
  const int64_t h = int64_t(picture.height) * numerator;
  if (denominator <= 0 || w % denominator != 0) return {false, {}, kWidthNotDivisible};
  if (h % denominator != 0) return {false, {}, kHeightNotDivisible};
  const int width = static_cast<int>(std::max<int64_t>(2, w / denominator));
  const int height = static_cast<int>(std::max<int64_t>(2, h / denominator));
  return {true, {width, height}, nullptr};
}

bool AllNativeFileNames(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != ".lmv") return false;
  }
  return true;
}

}  // namespace lumavex
