#pragma once
// The size at which a BMP, PNG or JPEG picture enters the canvas: the four
// load-size policies and the fit-into-a-box rule, as arithmetic only. Dialogs,
// the area question and the placement itself belong to the load pipeline.

#include <array>
#include <cstdint>

namespace lumavex {

enum class LoadSizePolicy {
  SameSize,         // every picture at its own size
  ReduceToView,     // pictures larger than the view are reduced to fit it
  FitToView,        // larger pictures are reduced, smaller ones enlarged, to the view
  ReduceToGiven,    // pictures larger than the size of dialog 134 are reduced to it
};

// Status texts shown while a picture is resized on its way in.
inline constexpr char kReducingStatus[] = "★縮小中...";
inline constexpr char kEnlargingStatus[] = "★拡大中...";

// The status text shown when a policy is chosen from the menu.
const char* PolicyChosenStatus(LoadSizePolicy policy);

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The client area minus the 41 pixels of the colour panel column.
PictureSize ViewSizeForClient(int clientWidth, int clientHeight);

// The largest size of the picture's proportions that fits the box, with integer
// division on 64-bit products: the box height is kept when the width allows it.
PictureSize FitIntoBox(PictureSize picture, PictureSize box);

enum class LoadResize { None, Reduce, Enlarge };

struct LoadSizePlan {
  LoadResize resize = LoadResize::None;
  PictureSize target;
};

// The resize a policy asks for. `given` is the size held after dialog 134 (used by
// ReduceToGiven only). Fitted sides are at least 2, so that a very long, thin
// picture or a tiny view still gives a picture the canvas can hold. An enlargement
// may keep the picture's own size: it is then pasted at scale 1.
LoadSizePlan PlanLoadSize(LoadSizePolicy policy, PictureSize picture, PictureSize view,
                          PictureSize given);

struct CornerPoint {
  double x = 0;
  double y = 0;
};

// The quadrilateral that the free-form paste stretches a bordered work picture
// (the picture plus one pixel all round) into, for an enlargement to `target`:
// with s = target width / picture width, the corners lie s beyond the target's
// outer pixel centres, clockwise from the top left.
std::array<CornerPoint, 4> EnlargementCorners(PictureSize picture, PictureSize target);

}  // namespace lumavex
