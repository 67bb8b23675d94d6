#pragma once
// Intrusive linked lists kept in a table of slots addressed by integer handles.
// Every node starts with a ChainLink; the table owns the nodes once they are
// inserted and hands them back to the list's release routine when they leave.

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace common {

// The first member (or the base) of every node kept in a ChainList. Singly
// linked lists use only `next`; their `prev` stays null. The end nodes of a
// doubly linked list point at its sentinel, so walk with Next and Previous.
struct ChainLink {
  ChainLink* next = nullptr;
  ChainLink* prev = nullptr;
};

// Singly linked lists walk backwards from the head; doubly linked lists keep a
// sentinel node and step backwards in constant time.
enum class ChainKind { Single = 1, Double = 2 };

// Frees one node that leaves a list (destroy or remove). May be null when the
// caller keeps ownership of the nodes.
using NodeRelease = void (*)(ChainLink*);

// Reports an impossible internal state and does not return.
using FatalHandler = std::function<void(const std::string& message)>;

using ChainHandle = int;

// The handle value that names no list.
inline constexpr ChainHandle kNoChain = -1;

// Views a link as the node it starts. T either derives from ChainLink or is a
// standard-layout type whose first member is a ChainLink.
template <typename T>
T* NodeOf(ChainLink* link) {
  if constexpr (std::is_base_of_v<ChainLink, T>) {
    return static_cast<T*>(link);
  } else {
    static_assert(std::is_standard_layout_v<T>, "a node must start with its ChainLink");
    return reinterpret_cast<T*>(link);
  }
}

template <typename T>
ChainLink* LinkOf(T* node) {
  if constexpr (std::is_base_of_v<ChainLink, T>) {
    return static_cast<ChainLink*>(node);
  } else {
    static_assert(std::is_standard_layout_v<T>, "a node must start with its ChainLink");
    return reinterpret_cast<ChainLink*>(node);
  }
}

// Node arguments must belong to the list named by the handle. An operation on a
// handle that names no live list (out of range, never created, destroyed), on a
// null node, or on a node the list is seen not to hold (any node of an empty
// list, a node missing from a singly linked list's walk) is a fatal internal
// error: the handler receives "エラー", and should it return, the process aborts.
// First, Last, Next and Previous return null at the ends.
class ChainList {
 public:
  // The slot table starts with this many slots and grows by as many when full.
  static constexpr int kSlotGrowth = 32;

  explicit ChainList(FatalHandler onFatal);
  // Releases the nodes of every list still alive.
  ~ChainList();
  ChainList(const ChainList&) = delete;
  ChainList& operator=(const ChainList&) = delete;

  // Returns the lowest free handle, growing the table when none is free.
  ChainHandle Create(ChainKind kind, NodeRelease release);
  // Releases every node, first to last, then frees the slot for reuse.
  void Destroy(ChainHandle list);

  void Append(ChainHandle list, ChainLink* node);
  void InsertHead(ChainHandle list, ChainLink* node);
  void InsertAfter(ChainHandle list, ChainLink* at, ChainLink* node);
  void InsertBefore(ChainHandle list, ChainLink* at, ChainLink* node);
  // Unlinks the node and hands it to the release routine.
  void Remove(ChainHandle list, ChainLink* node);

  ChainLink* First(ChainHandle list) const;
  ChainLink* Last(ChainHandle list) const;
  ChainLink* Next(ChainHandle list, ChainLink* node) const;
  ChainLink* Previous(ChainHandle list, ChainLink* node) const;
  int Count(ChainHandle list) const;

  // True when the handle names a live list; never fatal.
  bool IsList(ChainHandle list) const;
  int SlotCapacity() const { return static_cast<int>(slots_.size()); }

 private:
  struct Slot {
    bool live = false;
    ChainKind kind = ChainKind::Single;
    // First and last node, null when empty. A doubly linked list's nodes form a
    // ring through its sentinel, so the first node's prev and the last node's
    // next are the sentinel.
    ChainLink* head = nullptr;
    ChainLink* tail = nullptr;
    int count = 0;
    NodeRelease release = nullptr;
    // Kept on the heap so that nodes pointing at it survive table growth.
    std::unique_ptr<ChainLink> sentinel;
  };

  [[noreturn]] void Fail() const;
  Slot& SlotOf(ChainHandle list);
  const Slot& SlotOf(ChainHandle list) const;
  ChainLink* NodeOrFail(ChainLink* node) const;
  // The node before `node` in a singly linked list, null for the head.
  ChainLink* SinglePredecessor(const Slot& slot, ChainLink* node) const;
  // Links `node` after `at`, or at the front when `at` is null.
  void LinkAfter(Slot& slot, ChainLink* at, ChainLink* node);
  void ReleaseNodes(Slot& slot);

  FatalHandler onFatal_;
  std::vector<Slot> slots_;
  // No slot below this index is free.
  int lowestFree_ = 0;
};

}  // namespace common
