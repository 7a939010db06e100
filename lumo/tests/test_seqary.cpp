#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "failing_alloc.h"
#include "lumo.h"

namespace {

const char kNoRoom[] = "\nRan out of memory.  Cannot add new sequence.\n";

class SeqArray : public testing::Test {
 protected:
  void SetUp() override { create_seq_array(); }
  void TearDown() override { free_seq_ary(); }

  // Adds `count` elements, marking element n with 100 + n.
  static void add_marked(int count) {
    for (int i = 0; i < count; ++i) {
      const int num = add_element();
      ASSERT_GT(num, 0);
      set_mark(num, 100 + num);
    }
  }
};

bool all_zero(const STRING *record) {
  const auto *bytes = reinterpret_cast<const unsigned char *>(record);
  return std::all_of(bytes, bytes + sizeof(STRING), [](unsigned char b) { return b == 0; });
}

char *text(const char *s) {
  char *copy = static_cast<char *>(std::malloc(std::strlen(s) + 1));
  std::strcpy(copy, s);
  return copy;
}

TEST_F(SeqArray, StartsEmpty) {
  EXPECT_EQ(get_num_sequences(), 0);
  EXPECT_EQ(get_element(1), nullptr);
}

TEST_F(SeqArray, FirstElementIsBlankRecordNumberedOne) {
  ASSERT_EQ(add_element(), 1);
  const STRING *record = get_element(1);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(all_zero(record));
  EXPECT_EQ(get_mark(1), 0);
  EXPECT_EQ(get_num_sequences(), 1);
}

// The capacity shows in the sizes of the array resizes: slot and mark
// arrays grow together, from 40 to 80 on the 41st element and to 160 on
// the 81st.
TEST_F(SeqArray, CapacityDoublesWhenFull) {
  add_marked(40);
  FailingAlloc alloc;
  add_marked(41);
  const std::vector<std::size_t> expected = {
      80 * sizeof(STRING *), 80 * sizeof(int),   // 41st element
      160 * sizeof(STRING *), 160 * sizeof(int)  // 81st element
  };
  std::vector<std::size_t> array_sizes;
  for (std::size_t bytes : alloc.requests()) {
    if (bytes != sizeof(STRING)) {
      array_sizes.push_back(bytes);
    }
  }
  EXPECT_EQ(array_sizes, expected);
  EXPECT_EQ(get_num_sequences(), 81);
  for (int num = 1; num <= 81; ++num) {
    EXPECT_EQ(get_mark(num), 100 + num) << num;
  }
}

class OutOfRange : public SeqArray, public testing::WithParamInterface<int> {};

TEST_P(OutOfRange, ReadsNothingAndChangesNothing) {
  add_marked(3);
  const int num = GetParam();
  EXPECT_EQ(get_element(num), nullptr);
  EXPECT_EQ(get_mark(num), 0);
  set_mark(num, 55);
  EXPECT_EQ(delete_element(num), -1);
  ASSERT_EQ(get_num_sequences(), 3);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(get_mark(n), 100 + n);
  }
}

INSTANTIATE_TEST_SUITE_P(Numbers, OutOfRange, testing::Values(0, -1, 4, INT_MIN, INT_MAX));

TEST_F(SeqArray, MarksMoveWithTheirRecordsOnDelete) {
  add_marked(4);
  STRING *third = get_element(3);
  STRING *fourth = get_element(4);
  ASSERT_EQ(delete_element(2), 0);
  ASSERT_EQ(get_num_sequences(), 3);
  EXPECT_EQ(get_mark(1), 101);
  EXPECT_EQ(get_element(2), third);
  EXPECT_EQ(get_mark(2), 103);
  EXPECT_EQ(get_element(3), fourth);
  EXPECT_EQ(get_mark(3), 104);
  EXPECT_EQ(get_element(4), nullptr);
  EXPECT_EQ(get_mark(4), 0);
  ASSERT_EQ(delete_element(1), 0);
  EXPECT_EQ(get_element(1), third);
  EXPECT_EQ(get_mark(1), 103);
}

TEST_F(SeqArray, DeleteOnEmptyArrayFails) { EXPECT_EQ(delete_element(1), -1); }

// A slot freed at the end comes back blank: the next element there has
// mark 0 whatever the deleted one had.
TEST_F(SeqArray, SlotFreedByDeleteComesBackBlank) {
  add_marked(2);
  ASSERT_EQ(delete_element(2), 0);
  ASSERT_EQ(add_element(), 2);
  EXPECT_EQ(get_mark(2), 0);
}

// The leak checker of the sanitizer build proves that every text and
// record is released; a plain build checks only that the array is empty.
TEST_F(SeqArray, FreeEmptiesTheArrayLeaksCheckedBySanitizer) {
  add_marked(45);
  for (int num = 1; num <= 45; num += 2) {
    STRING *record = get_element(num);
    record->sequence = text("0123");
    record->raw_seq = text("acgt");
    record->desc_string = text("a description");
  }
  free_seq_ary();
  EXPECT_EQ(get_num_sequences(), 0);
  EXPECT_EQ(get_element(1), nullptr);
}

// Records taken from an array stay valid when the array is made again.
TEST_F(SeqArray, CreatingAgainStartsEmptyAndLeavesOldRecordsToTheCaller) {
  add_marked(3);
  std::vector<STRING *> held = {get_element(1), get_element(2), get_element(3)};
  held[1]->sequence = text("acgt");
  create_seq_array();
  EXPECT_EQ(get_num_sequences(), 0);
  EXPECT_EQ(add_element(), 1);
  EXPECT_EQ(get_mark(1), 0);
  EXPECT_STREQ(held[1]->sequence, "acgt");
  for (STRING *record : held) free_string(record);
}

// Before create_seq_array and after free_seq_ary the array reads as empty,
// and add_element makes it with the first 40 slots.
TEST(SeqArrayAbsent, BehavesAsEmptyAndAddMakesIt) {
  free_seq_ary();
  EXPECT_EQ(get_num_sequences(), 0);
  EXPECT_EQ(get_element(1), nullptr);
  EXPECT_EQ(get_mark(1), 0);
  set_mark(1, 5);
  EXPECT_EQ(delete_element(1), -1);
  free_seq_ary();
  {
    FailingAlloc alloc;
    ASSERT_EQ(add_element(), 1);
    const std::vector<std::size_t> expected = {40 * sizeof(STRING *), 40 * sizeof(int),
                                               sizeof(STRING)};
    EXPECT_EQ(alloc.requests(), expected);
  }
  EXPECT_NE(get_element(1), nullptr);
  free_seq_ary();
}

// Which of the two resizes of a full array fails: 1 the slots, 2 the marks.
class FailedGrowth : public SeqArray, public testing::WithParamInterface<int> {};

TEST_P(FailedGrowth, KeepsElementsMarksAndCapacity) {
  add_marked(40);
  STRING *last = get_element(40);
  {
    FailingAlloc alloc({GetParam()});
    testing::internal::CaptureStderr();
    EXPECT_EQ(add_element(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), kNoRoom);
  }
  ASSERT_EQ(get_num_sequences(), 40);
  EXPECT_EQ(get_element(40), last);
  EXPECT_EQ(get_element(41), nullptr);
  for (int num = 1; num <= 40; ++num) {
    EXPECT_EQ(get_mark(num), 100 + num);
  }
  ASSERT_EQ(add_element(), 41);
  EXPECT_EQ(get_mark(41), 0);
  EXPECT_EQ(get_mark(40), 140);
}

INSTANTIATE_TEST_SUITE_P(Resizes, FailedGrowth, testing::Values(1, 2));

TEST(SeqArrayAbsent, FailedFirstGrowthReportsAndReturnsMinusOne) {
  free_seq_ary();
  {
    FailingAlloc alloc({2});
    testing::internal::CaptureStderr();
    EXPECT_EQ(add_element(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), kNoRoom);
  }
  EXPECT_EQ(get_num_sequences(), 0);
  EXPECT_EQ(add_element(), 1);
  free_seq_ary();
}

// A record that cannot be allocated still takes its number, as a null.
TEST_F(SeqArray, RecordFailureStillAddsNullElement) {
  add_marked(1);
  {
    FailingAlloc alloc({1});
    testing::internal::CaptureStderr();
    EXPECT_EQ(add_element(), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  EXPECT_EQ(get_element(2), nullptr);
  EXPECT_EQ(get_mark(2), 0);
  EXPECT_EQ(add_element(), 3);
  EXPECT_EQ(delete_element(2), 0);
  EXPECT_NE(get_element(2), nullptr);
}

TEST(Record, InitStringFailureGivesNullSilently) {
  FailingAlloc alloc({1});
  testing::internal::CaptureStderr();
  EXPECT_EQ(init_string(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Only the sanitizer build can tell that the texts and records are freed.
TEST(Record, FreeStringTakesNullAndPartlyFilledRecordsLeaksCheckedBySanitizer) {
  free_string(nullptr);
  free_string(init_string());
  STRING *record = init_string();
  ASSERT_NE(record, nullptr);
  record->raw_seq = text("acgt");
  free_string(record);
}

// Which of the two allocations of create_seq_array fails.
class FailedCreate : public testing::TestWithParam<int> {};

TEST_P(FailedCreate, ExitsWithStatusOne) {
  free_seq_ary();
  EXPECT_EXIT(
      {
        FailingAlloc alloc({GetParam()});
        create_seq_array();
      },
      testing::ExitedWithCode(1), "^malloc failed while initializing array of sequences\\.\n$");
}

INSTANTIATE_TEST_SUITE_P(Allocations, FailedCreate, testing::Values(1, 2));

}  // namespace
