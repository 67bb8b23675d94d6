#include "common/ChainList.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace common {

ChainList::ChainList(FatalHandler onFatal) : onFatal_(std::move(onFatal)), slots_(kSlotGrowth) {}

ChainList::~ChainList() {
  for (Slot& slot : slots_) {
    if (slot.live) ReleaseNodes(slot);
  }
}

void ChainList::Fail() const {
  if (onFatal_) onFatal_("エラー");
  std::abort();
}

ChainList::Slot& ChainList::SlotOf(ChainHandle list) {
  return const_cast<Slot&>(std::as_const(*this).SlotOf(list));
}

const ChainList::Slot& ChainList::SlotOf(ChainHandle list) const {
  if (list < 0 || list >= SlotCapacity() || !slots_[list].live) Fail();
  return slots_[list];
}

ChainLink* ChainList::NodeOrFail(ChainLink* node) const {
  if (node == nullptr) Fail();
  return node;
}

bool ChainList::IsList(ChainHandle list) const {
  return list >= 0 && list < SlotCapacity() && slots_[list].live;
}

ChainHandle ChainList::Create(ChainKind kind, NodeRelease release) {
  if (kind != ChainKind::Single && kind != ChainKind::Double) Fail();
  if (lowestFree_ == SlotCapacity()) slots_.resize(slots_.size() + kSlotGrowth);

  const ChainHandle list = lowestFree_;
  Slot& slot = slots_[list];
  slot.live = true;
  slot.kind = kind;
  slot.release = release;
  if (kind == ChainKind::Double) {
    slot.sentinel = std::make_unique<ChainLink>();
    slot.sentinel->next = slot.sentinel->prev = slot.sentinel.get();
  }
  while (lowestFree_ < SlotCapacity() && slots_[lowestFree_].live) ++lowestFree_;
  return list;
}

void ChainList::Destroy(ChainHandle list) {
  Slot& slot = SlotOf(list);
  ReleaseNodes(slot);
  slot = Slot{};
  lowestFree_ = std::min(lowestFree_, list);
}

void ChainList::ReleaseNodes(Slot& slot) {
  ChainLink* node = slot.head;
  for (int i = 0; i < slot.count; ++i) {
    ChainLink* next = node->next;
    if (slot.release) slot.release(node);
    node = next;
  }
  slot.head = slot.tail = nullptr;
  slot.count = 0;
}

void ChainList::LinkAfter(Slot& slot, ChainLink* at, ChainLink* node) {
  if (slot.kind == ChainKind::Double) {
    ChainLink* before = at ? at : slot.sentinel.get();
    ChainLink* after = before->next;
    node->prev = before;
    node->next = after;
    before->next = node;
    after->prev = node;
    slot.head = slot.sentinel->next;
    slot.tail = slot.sentinel->prev;
  } else {
    node->prev = nullptr;
    if (at) {
      node->next = at->next;
      at->next = node;
    } else {
      node->next = slot.head;
      slot.head = node;
    }
    if (slot.tail == at) slot.tail = node;
  }
  ++slot.count;
}

ChainLink* ChainList::SinglePredecessor(const Slot& slot, ChainLink* node) const {
  if (slot.head == node) return nullptr;
  for (ChainLink* p = slot.head; p != nullptr; p = p->next) {
    if (p->next == node) return p;
  }
  Fail();
}

void ChainList::Append(ChainHandle list, ChainLink* node) {
  Slot& slot = SlotOf(list);
  LinkAfter(slot, slot.tail, NodeOrFail(node));
}

void ChainList::InsertHead(ChainHandle list, ChainLink* node) {
  Slot& slot = SlotOf(list);
  LinkAfter(slot, nullptr, NodeOrFail(node));
}

void ChainList::InsertAfter(ChainHandle list, ChainLink* at, ChainLink* node) {
  Slot& slot = SlotOf(list);
  if (slot.count == 0) Fail();
  LinkAfter(slot, NodeOrFail(at), NodeOrFail(node));
}

void ChainList::InsertBefore(ChainHandle list, ChainLink* at, ChainLink* node) {
  Slot& slot = SlotOf(list);
  if (slot.count == 0) Fail();
  NodeOrFail(at);
  NodeOrFail(node);
  if (slot.kind == ChainKind::Double) {
    LinkAfter(slot, at->prev, node);  // the sentinel when `at` is the first node
  } else {
    LinkAfter(slot, SinglePredecessor(slot, at), node);
  }
}

void ChainList::Remove(ChainHandle list, ChainLink* node) {
  Slot& slot = SlotOf(list);
  if (slot.count == 0) Fail();
  NodeOrFail(node);
  if (slot.kind == ChainKind::Double) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
    const bool empty = slot.sentinel->next == slot.sentinel.get();
    slot.head = empty ? nullptr : slot.sentinel->next;
    slot.tail = empty ? nullptr : slot.sentinel->prev;
  } else {
    ChainLink* before = SinglePredecessor(slot, node);
    if (before) {
      before->next = node->next;
    } else {
      slot.head = node->next;
    }
    if (slot.tail == node) slot.tail = before;
  }
  --slot.count;
  node->next = node->prev = nullptr;
  if (slot.release) slot.release(node);
}

ChainLink* ChainList::First(ChainHandle list) const {
  return SlotOf(list).head;
}

ChainLink* ChainList::Last(ChainHandle list) const {
  return SlotOf(list).tail;
}

ChainLink* ChainList::Next(ChainHandle list, ChainLink* node) const {
  const Slot& slot = SlotOf(list);
  ChainLink* next = NodeOrFail(node)->next;
  return next == slot.sentinel.get() ? nullptr : next;
}

ChainLink* ChainList::Previous(ChainHandle list, ChainLink* node) const {
  const Slot& slot = SlotOf(list);
  NodeOrFail(node);
  if (slot.kind == ChainKind::Single) return SinglePredecessor(slot, node);
  return node->prev == slot.sentinel.get() ? nullptr : node->prev;
}

int ChainList::Count(ChainHandle list) const {
  return SlotOf(list).count;
}

}  // namespace common
