#pragma once
// Base points: the control points of curves, in picture pixels (integer values are
// pixel centres), kept in doubly linked chains of the canvas's ChainList.

#include "common/ChainList.h"

namespace lumavex {

struct BasePoint {
  common::ChainLink link;
  double x = 0;
  double y = 0;
};

inline BasePoint* PointOf(common::ChainLink* link) {
  return common::NodeOf<BasePoint>(link);
}

// The chains the canvas keeps.
struct BasePointChains {
  explicit BasePointChains(common::FatalHandler onFatal);

  common::ChainList lists;
  common::ChainHandle a = common::kNoChain;  // curve points; first fade curve
  common::ChainHandle b = common::kNoChain;  // second (width) curve
  common::ChainHandle ellipse = common::kNoChain;
  common::ChainHandle rectangle = common::kNoChain;
  common::ChainHandle direction = common::kNoChain;  // directional gradation's direction

  // Empties every chain.
  void ClearAll();
};

// Creates a base point chain (doubly linked; nodes freed when they leave it).
common::ChainHandle CreateBasePointChain(common::ChainList& lists);

// Appends a point to `chain`; does nothing and returns false when the handle is -1.
bool AddBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y);

// Removes every point of `chain`.
void ClearBasePoints(common::ChainList& lists, common::ChainHandle chain);

}  // namespace lumavex
