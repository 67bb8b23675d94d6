#include "lumavex/curves/BasePoints.h"

namespace lumavex {
namespace {

void ReleaseBasePoint(common::ChainLink* link) {
  delete PointOf(link);
}

}  // namespace

BasePointChains::BasePointChains(common::FatalHandler onFatal) : lists(std::move(onFatal)) {
  a = CreateBasePointChain(lists);
  b = CreateBasePointChain(lists);
  ellipse = CreateBasePointChain(lists);
  rectangle = CreateBasePointChain(lists);
  direction = CreateBasePointChain(lists);
}

void BasePointChains::ClearAll() {
  for (common::ChainHandle chain : {a, b, ellipse, rectangle, direction})
    ClearBasePoints(lists, chain);
}

common::ChainHandle CreateBasePointChain(common::ChainList& lists) {
  return lists.Create(common::ChainKind::Double, ReleaseBasePoint);
}

bool AddBasePoint(common::ChainList& lists, common::ChainHandle chain, double x, double y) {
  if (chain == common::kNoChain) return false;
  auto* point = new BasePoint;
  point->x = x;
  point->y = y;
  lists.Append(chain, &point->link);
  return true;
}

void ClearBasePoints(common::ChainList& lists, common::ChainHandle chain) {
  while (common::ChainLink* first = lists.First(chain)) lists.Remove(chain, first);
}

}  // namespace lumavex
