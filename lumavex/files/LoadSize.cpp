#include "lumavex/files/LoadSize.h"

#include <algorithm>

namespace lumavex {

namespace {

constexpr int kSmallestSide = 2;

PictureSize AtLeastSmallest(PictureSize size) {
  return {std::max(size.width, kSmallestSide), std::max(size.height, kSmallestSide)};
}

bool Exceeds(PictureSize picture, PictureSize box) {
  return picture.width > box.width || picture.height > box.height;
}

}  // namespace

const char* PolicyChosenStatus(LoadSizePolicy policy) {
  switch (policy) {
    case LoadSizePolicy::SameSize: return "★同じサイズで読み込み";
    case LoadSizePolicy::ReduceToView: return "★ビューサイズより大きいものを縮小";
    case LoadSizePolicy::FitToView: return "★ビューサイズに拡縮";
    case LoadSizePolicy::ReduceToGiven: return "★指定サイズより大きいものを縮小";
  }
  return "";
}

PictureSize ViewSizeForClient(int clientWidth, int clientHeight) {
  return {clientWidth - 41, clientHeight};
}

PictureSize FitIntoBox(PictureSize picture, PictureSize box) {
  const int64_t w = picture.width;
  const int64_t h = picture.height;
  const int64_t t = box.height * w / h;
  if (box.width >= t) return {static_cast<int>(t), box.height};
  return {box.width, static_cast<int>(box.width * h / w)};
}

LoadSizePlan PlanLoadSize(LoadSizePolicy policy, PictureSize picture, PictureSize view,
                          PictureSize given) {
  switch (policy) {
    case LoadSizePolicy::SameSize:
      break;
    case LoadSizePolicy::ReduceToView:
      if (Exceeds(picture, view))
        return {LoadResize::Reduce, AtLeastSmallest(FitIntoBox(picture, AtLeastSmallest(view)))};
      break;
    case LoadSizePolicy::FitToView: {
      const PictureSize fitted = AtLeastSmallest(FitIntoBox(picture, AtLeastSmallest(view)));
      return {Exceeds(picture, view) ? LoadResize::Reduce : LoadResize::Enlarge, fitted};
    }
    case LoadSizePolicy::ReduceToGiven:
      if (Exceeds(picture, given))
        return {LoadResize::Reduce, AtLeastSmallest(FitIntoBox(picture, AtLeastSmallest(given)))};
      break;
  }
  return {LoadResize::None, picture};
}

std::array<CornerPoint, 4> EnlargementCorners(PictureSize picture, PictureSize target) {
  const double s = static_cast<double>(target.width) / picture.width;
  const double right = target.width - 1 + s;
  const double bottom = target.height - 1 + s;
  return {{{-s, -s}, {right, -s}, {right, bottom}, {-s, bottom}}};
}

}  // namespace lumavex
