#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/ChainList.h"

namespace common {
namespace {

struct Fatal {};

struct TestNode {
  ChainLink link;
  int value;
};

// Release calls per node value, across the whole test.
std::map<int, int> releases;

void ReleaseTestNode(ChainLink* link) {
  TestNode* node = NodeOf<TestNode>(link);
  ++releases[node->value];
  delete node;
}

ChainLink* NewNode(int value) {
  return LinkOf(new TestNode{{}, value});
}

int ValueOf(ChainLink* link) {
  return NodeOf<TestNode>(link)->value;
}

class ChainListTest : public ::testing::Test {
 protected:
  void SetUp() override { releases.clear(); }

  // Fails the test unless the list reads `expected` both forwards and backwards.
  void ExpectOrder(ChainHandle h, const std::vector<int>& expected) const {
    std::vector<int> forward, backward;
    for (ChainLink* p = chains.First(h); p; p = chains.Next(h, p)) forward.push_back(ValueOf(p));
    for (ChainLink* p = chains.Last(h); p; p = chains.Previous(h, p)) {
      backward.insert(backward.begin(), ValueOf(p));
    }
    EXPECT_EQ(forward, expected);
    EXPECT_EQ(backward, expected);
    EXPECT_EQ(chains.Count(h), static_cast<int>(expected.size()));
  }

  std::string fatalMessage;
  ChainList chains{[this](const std::string& message) {
    fatalMessage = message;
    throw Fatal();
  }};
};

class ChainKindTest : public ChainListTest, public ::testing::WithParamInterface<ChainKind> {};

TEST_P(ChainKindTest, EveryInsertFormKeepsOrderBothWays) {
  const ChainHandle h = chains.Create(GetParam(), ReleaseTestNode);
  ExpectOrder(h, {});
  EXPECT_EQ(chains.First(h), nullptr);

  ChainLink* two = NewNode(2);
  chains.Append(h, two);
  ExpectOrder(h, {2});
  ChainLink* zero = NewNode(0);
  chains.InsertHead(h, zero);
  ChainLink* four = NewNode(4);
  chains.Append(h, four);
  chains.InsertAfter(h, zero, NewNode(1));
  chains.InsertBefore(h, four, NewNode(3));
  ExpectOrder(h, {0, 1, 2, 3, 4});

  // Inserting around the ends must move the head and the tail.
  chains.InsertAfter(h, four, NewNode(5));
  chains.InsertBefore(h, zero, NewNode(-1));
  chains.Append(h, NewNode(6));
  chains.InsertHead(h, NewNode(-2));
  ExpectOrder(h, {-2, -1, 0, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(ValueOf(chains.First(h)), -2);
  EXPECT_EQ(ValueOf(chains.Last(h)), 6);
  EXPECT_TRUE(releases.empty());
}

TEST_P(ChainKindTest, RemoveUnlinksAndReleasesOneNode) {
  const ChainHandle h = chains.Create(GetParam(), ReleaseTestNode);
  std::vector<ChainLink*> nodes;
  for (int v = 0; v < 5; ++v) {
    nodes.push_back(NewNode(v));
    chains.Append(h, nodes.back());
  }
  chains.Remove(h, nodes[0]);
  chains.Remove(h, nodes[2]);
  chains.Remove(h, nodes[4]);
  ExpectOrder(h, {1, 3});
  EXPECT_EQ(releases, (std::map<int, int>{{0, 1}, {2, 1}, {4, 1}}));

  chains.Append(h, NewNode(7));  // the tail moved back to 3
  ExpectOrder(h, {1, 3, 7});
  chains.Remove(h, nodes[1]);
  chains.Remove(h, nodes[3]);
  chains.Remove(h, chains.First(h));
  ExpectOrder(h, {});
  EXPECT_EQ(chains.Last(h), nullptr);
  chains.InsertHead(h, NewNode(8));
  ExpectOrder(h, {8});
}

TEST_P(ChainKindTest, DestroyReleasesEveryNodeOnceAndRetiresTheHandle) {
  const ChainHandle h = chains.Create(GetParam(), ReleaseTestNode);
  for (int v = 0; v < 5; ++v) chains.Append(h, NewNode(v));
  chains.Destroy(h);
  EXPECT_EQ(releases, (std::map<int, int>{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  EXPECT_FALSE(chains.IsList(h));
  EXPECT_THROW(chains.Count(h), Fatal);
  EXPECT_THROW(chains.Destroy(h), Fatal);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ChainKindTest,
                         ::testing::Values(ChainKind::Single, ChainKind::Double),
                         [](const auto& info) {
                           return info.param == ChainKind::Single ? "Single" : "Double";
                         });

TEST_F(ChainListTest, CreationReusesTheLowestFreeHandle) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(chains.Create(ChainKind::Double, nullptr), i);
  chains.Destroy(2);
  chains.Destroy(1);
  EXPECT_EQ(chains.Create(ChainKind::Single, nullptr), 1);
  EXPECT_EQ(chains.Create(ChainKind::Single, nullptr), 2);
  EXPECT_EQ(chains.Create(ChainKind::Single, nullptr), 4);
}

TEST_F(ChainListTest, TableGrowsBy32AndKeepsEveryListIntact) {
  EXPECT_EQ(chains.SlotCapacity(), 32);
  for (int i = 0; i < 70; ++i) {
    const ChainHandle h =
        chains.Create(i % 2 ? ChainKind::Single : ChainKind::Double, ReleaseTestNode);
    ASSERT_EQ(h, i);
    chains.Append(h, NewNode(i));
    chains.Append(h, NewNode(i + 1000));
    if (h == 31 || h == 32) {
      EXPECT_EQ(chains.SlotCapacity(), 32 * (h / 32 + 1));
    }
  }
  EXPECT_EQ(chains.SlotCapacity(), 96);
  // Doubly linked nodes point at their list's sentinel, which must not move with the table.
  for (int h = 0; h < 70; ++h) ExpectOrder(h, {h, h + 1000});
  chains.Destroy(40);
  EXPECT_EQ(chains.Create(ChainKind::Double, nullptr), 40);
  EXPECT_EQ(chains.Create(ChainKind::Double, nullptr), 70);
}

TEST_F(ChainListTest, DestructorReleasesListsStillAlive) {
  {
    ChainList local([](const std::string&) { throw Fatal(); });
    const ChainHandle a = local.Create(ChainKind::Double, ReleaseTestNode);
    const ChainHandle b = local.Create(ChainKind::Single, ReleaseTestNode);
    local.Append(a, NewNode(1));
    local.Append(b, NewNode(2));
  }
  EXPECT_EQ(releases, (std::map<int, int>{{1, 1}, {2, 1}}));
}

TEST_F(ChainListTest, ImpossibleRequestsReachTheFatalHandler) {
  const ChainHandle single = chains.Create(ChainKind::Single, ReleaseTestNode);
  const ChainHandle unused = single + 1;  // inside the table, never created
  TestNode stray{{}, 9};
  TestNode other{{}, 10};
  EXPECT_THROW(chains.First(kNoChain), Fatal);
  EXPECT_EQ(fatalMessage, "エラー");
  EXPECT_THROW(chains.Append(1000, &stray.link), Fatal);
  EXPECT_THROW(chains.Append(unused, &stray.link), Fatal);
  EXPECT_THROW(chains.Next(unused, &stray.link), Fatal);
  EXPECT_THROW(chains.Create(static_cast<ChainKind>(3), nullptr), Fatal);
  EXPECT_THROW(chains.Append(single, nullptr), Fatal);
  EXPECT_THROW(chains.InsertAfter(single, &stray.link, &other.link), Fatal);  // list is empty

  chains.Append(single, NewNode(1));
  EXPECT_THROW(chains.Remove(single, &stray.link), Fatal);
  EXPECT_THROW(chains.Previous(single, &stray.link), Fatal);
  ExpectOrder(single, {1});
}

TEST(ChainListDeathTest, ReturningFatalHandlerAborts) {
  ChainList chains([](const std::string&) {});
  EXPECT_DEATH(chains.Count(5), "");
}

}  // namespace
}  // namespace common
