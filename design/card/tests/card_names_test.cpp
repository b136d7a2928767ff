#include "design/card/card_names.h"

#include <gtest/gtest.h>

namespace {

TEST(CardBatchNamesTest, NamesTheCardDoesNotTellApartClashAndOthersDoNot) {
  card::CardBatchNames batch;
  for (const char* name : {"rose", "a b", "Émile", "x.y", "×"}) batch.Take(name);
  for (const auto& [name, first] : {std::pair{"ROSE", "rose"}, std::pair{"Rose", "rose"},
                                    std::pair{"a_b", "a b"}, std::pair{"A B", "a b"},
                                    std::pair{"émile", "Émile"}, std::pair{"X.Y", "x.y"}}) {
    EXPECT_EQ(batch.TakenBy(name), first) << name;
  }
  for (const char* name : {"roses", "ab", "a  b", "emile", "x_y", "÷", "rose.qnf"}) {
    EXPECT_EQ(batch.TakenBy(name), "") << name;
  }
}

}  // namespace
