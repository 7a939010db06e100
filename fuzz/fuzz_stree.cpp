// Fuzz target for the suffix-tree builder: inserts a fuzzer-chosen set of
// strings, checks every invariant of the finished tree and releases it.
//
// Input: one settings byte, then strings, each a length byte followed by up
// to that many characters. Settings: bit 0 the child layout (build_policy),
// bits 1-3 build_threshold, bits 4-6 the alphabet (0: every byte value as
// it stands; k = 1..7: k symbols, half of them above 127, so that small
// alphabets give long repeats), bit 7 builds through stree_new_tree with
// copied texts and stree_ukkonen_add_string instead of the array builder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "lumo_stree.h"
#include "stree_check.h"

namespace {

std::vector<std::string> stringsOf(const uint8_t *data, size_t size, int symbols) {
  std::vector<std::string> texts;
  size_t at = 0;
  while (at < size) {
    const size_t length = data[at++];
    std::string text;
    for (; text.size() < length && at < size; ++at) {
      const int byte = data[at];
      text.push_back(static_cast<char>(symbols == 0 ? byte : ((byte % symbols) * 73 + 20) & 0xFF));
    }
    texts.push_back(text);
  }
  return texts;
}

SUFFIX_TREE buildFromRecords(std::vector<std::string> &texts, int policy, int threshold) {
  std::vector<STRING> records(texts.size());
  std::vector<STRING *> pointers;
  for (size_t k = 0; k < texts.size(); ++k) {
    records[k] = STRING{};
    records[k].sequence = texts[k].data();
    records[k].raw_seq = texts[k].data();
    records[k].length = static_cast<int>(texts[k].size());
    records[k].alpha_size = 4;
    pointers.push_back(&records[k]);
  }
  return stree_gen_ukkonen_build(pointers.data(), static_cast<int>(pointers.size()), policy,
                                 threshold);
}

SUFFIX_TREE buildByInsertion(std::vector<std::string> &texts, int policy, int threshold) {
  SUFFIX_TREE tree = stree_new_tree(4, 1, policy, threshold);
  for (size_t k = 0; tree != nullptr && k < texts.size(); ++k) {
    if (stree_ukkonen_add_string(tree, texts[k].data(), nullptr,
                                 static_cast<int>(texts[k].size()), static_cast<int>(k) + 1) != 1) {
      std::fprintf(stderr, "insertion %zu failed\n", k);
      std::abort();
    }
  }
  return tree;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const int settings = data[0];
  const int policy = settings & 1;
  const int threshold = (settings >> 1) & 7;
  const int symbols = (settings >> 4) & 7;
  const bool byInsertion = (settings & 0x80) != 0;

  std::vector<std::string> texts = stringsOf(data + 1, size - 1, symbols);
  if (texts.empty()) return 0;
  SUFFIX_TREE tree = byInsertion ? buildByInsertion(texts, policy, threshold)
                                 : buildFromRecords(texts, policy, threshold);
  if (tree == nullptr) {
    std::fprintf(stderr, "no tree built\n");
    std::abort();
  }
  const std::string fault = stree_check(tree);
  if (!fault.empty()) {
    std::fprintf(stderr, "%s\n", fault.c_str());
    std::abort();
  }
  stree_delete_tree(tree);
  return 0;
}
