// The STRING record and the process-wide sequence array.
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "lumo.h"
#include "lumo_mem.h"

namespace {

// Slot i holds element number i + 1 and marks[i] its mark. Slots from
// num_seqs to seqsize - 1 hold null and mark 0. Before the array is made
// and after free_seq_ary the pointers are null and both counts 0, so every
// operation sees an empty array and add_element makes it.
STRING **sequences = nullptr;
int *marks = nullptr;
int num_seqs = 0;
int seqsize = 0;

constexpr int kInitialSlots = 40;

bool in_range(int num) { return num >= 1 && num <= num_seqs; }

// Sets slots `from` to `to` - 1 to null with mark 0.
void clear_slots(int from, int to) {
  for (int i = from; i < to; ++i) {
    sequences[i] = nullptr;
    marks[i] = 0;
  }
}

// Grows one array to `slots` entries through a temporary, so that on
// failure the old block stays valid and in place.
template <typename T>
bool grow(T *&array, int slots) {
  void *bigger = lumo_mem::resize(array, sizeof(T) * static_cast<std::size_t>(slots));
  if (bigger == nullptr) {
    return false;
  }
  array = static_cast<T *>(bigger);
  return true;
}

// Doubles the capacity, or makes the first 40 slots of an array that does
// not exist yet. Nothing is committed to `seqsize` until both arrays have
// grown: a slot array that grew while the mark array did not is merely
// larger than the capacity says, which is harmless.
bool grow_capacity() {
  int slots = kInitialSlots;
  if (seqsize > 0) {
    slots = seqsize > INT_MAX / 2 ? INT_MAX : seqsize * 2;
  }
  if (slots == seqsize || !grow(sequences, slots) || !grow(marks, slots)) {
    std::fputs("\nRan out of memory.  Cannot add new sequence.\n", stderr);
    return false;
  }
  clear_slots(seqsize, slots);
  seqsize = slots;
  return true;
}

// Releases both slot arrays without touching the records they list.
void release_slots() {
  std::free(sequences);
  std::free(marks);
  sequences = nullptr;
  marks = nullptr;
  num_seqs = 0;
  seqsize = 0;
}

}  // namespace

extern "C" {

STRING *init_string(void) {
  return static_cast<STRING *>(lumo_mem::zeroed(1, sizeof(STRING)));
}

void free_string(STRING *sptr) {
  if (sptr == nullptr) {
    return;
  }
  std::free(sptr->sequence);
  std::free(sptr->desc_string);
  std::free(sptr->raw_seq);
  std::free(sptr);
}

void create_seq_array(void) {
  // An array made before is left to its records' holders: callers may still
  // use records they took from it, so only the slot arrays are released.
  release_slots();
  if (!grow(sequences, kInitialSlots) || !grow(marks, kInitialSlots)) {
    std::fputs("malloc failed while initializing array of sequences.\n", stderr);
    std::exit(1);
  }
  clear_slots(0, kInitialSlots);
  seqsize = kInitialSlots;
}

int add_element(void) {
  if (num_seqs == seqsize && !grow_capacity()) {
    return -1;
  }
  sequences[num_seqs] = init_string();
  marks[num_seqs] = 0;
  return ++num_seqs;
}

STRING *get_element(int num) { return in_range(num) ? sequences[num - 1] : nullptr; }

int get_num_sequences(void) { return num_seqs; }

void set_mark(int num, int value) {
  if (in_range(num)) {
    marks[num - 1] = value;
  }
}

int get_mark(int num) { return in_range(num) ? marks[num - 1] : 0; }

int delete_element(int element) {
  if (!in_range(element)) {
    return -1;
  }
  free_string(sequences[element - 1]);
  for (int i = element - 1; i < num_seqs - 1; ++i) {
    sequences[i] = sequences[i + 1];
    marks[i] = marks[i + 1];
  }
  --num_seqs;
  clear_slots(num_seqs, num_seqs + 1);
  return 0;
}

void free_seq_ary(void) {
  while (num_seqs > 0) {
    delete_element(num_seqs);
  }
  release_slots();
}

}  // extern "C"
