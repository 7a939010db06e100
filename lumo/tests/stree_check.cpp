#include "stree_check.h"

#include <cstdint>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace {

const uint64_t mod = (uint64_t(1) << 61) - 1;
const uint64_t base = 1000003;

// Products modulo the Mersenne prime 2^61 - 1 need 128 bits.
__extension__ typedef unsigned __int128 uint128;

uint64_t mulmod(uint64_t a, uint64_t b) {
  uint128 p = static_cast<uint128>(a) * b;
  uint64_t r = static_cast<uint64_t>(p >> 61) + static_cast<uint64_t>(p & mod);
  return r >= mod ? r - mod : r;
}

uint64_t addmod(uint64_t a, uint64_t b) { return (a + b) % mod; }
uint64_t submod(uint64_t a, uint64_t b) { return (a + mod - b) % mod; }

// What the walk knows of an internal node's path label.
struct label_info {
  long depth;
  uint64_t hash;
  unsigned char first;
};

struct checker {
  SUFFIX_TREE tree;
  std::vector<std::vector<uint64_t>> prefix; // prefix hashes per slot
  std::vector<uint64_t> power;
  std::vector<std::vector<char>> placed; // placements per slot and position
  std::unordered_map<STREE_NODE, label_info> nodes;
  std::ostringstream err;

  uint64_t text_hash(int slot, long from, long len) const {
    const std::vector<uint64_t> &p = prefix[static_cast<size_t>(slot)];
    return submod(p[static_cast<size_t>(from + len)],
                  mulmod(p[static_cast<size_t>(from)], power[static_cast<size_t>(len)]));
  }

  void prepare() {
    size_t longest = 0;
    for (int s = 0; s < tree->nextslot; s++) {
      size_t len = static_cast<size_t>(tree->lengths[s]);
      std::vector<uint64_t> p(len + 1, 0);
      for (size_t k = 0; k < len; k++)
        p[k + 1] = addmod(mulmod(p[k], base),
                          static_cast<unsigned char>(tree->strings[s][k]) + 1u);
      prefix.push_back(std::move(p));
      placed.emplace_back(len, 0);
      if (len > longest) longest = len;
    }
    power.assign(longest + 2, 1);
    for (size_t k = 1; k < power.size(); k++) power[k] = mulmod(power[k - 1], base);
  }

  // Slot and offset of the text range holding the label, or false.
  bool locate(const stree_node *n, int *slot, long *off) const {
    for (int s = 0; s < tree->nextslot; s++) {
      const char *t = tree->strings[s];
      if (!t || n->edgestr < t || n->edgestr >= t + tree->lengths[s]) continue;
      *slot = s;
      *off = n->edgestr - t;
      if (*off + n->edgelen > tree->lengths[s]) return false;
      const char *raw = tree->rawstrings[s];
      return raw ? n->rawedgestr == raw + *off : n->rawedgestr == nullptr;
    }
    return false;
  }

  void place(int strid, int pos, const label_info &at, const char *what) {
    if (strid < 0 || strid >= tree->nextslot || pos < 0 || pos >= tree->lengths[strid]) {
      err << what << " (" << strid << "," << pos << ") is out of range";
      return;
    }
    long len = tree->lengths[strid] - pos;
    if (at.depth != len || at.hash != text_hash(strid, pos, len)) {
      err << what << " (" << strid << "," << pos << ") sits at a node of depth " << at.depth
          << " whose path label is not the suffix";
      return;
    }
    char &seen = placed[static_cast<size_t>(strid)][static_cast<size_t>(pos)];
    if (seen) err << "suffix (" << strid << "," << pos << ") is placed twice";
    seen = 1;
  }

  bool check_children(STREE_NODE node, std::vector<STREE_NODE> *stack) {
    bool used[256] = {false};
    int count = 0;
    for (STREE_NODE c = stree_next_child(tree, node, nullptr); c;
         c = stree_next_child(tree, node, c)) {
      unsigned char first = static_cast<unsigned char>(c->edgestr ? c->edgestr[0] : 0);
      if (c->parent != node) err << "a child's parent pointer is wrong";
      else if (c->edgelen <= 0 || !c->edgestr) err << "a child has an empty label";
      else if (used[first]) err << "two children begin with byte " << int(first);
      else if (stree_find_child(tree, node, static_cast<signed char>(first)) != c)
        err << "stree_find_child misses the child beginning with byte " << int(first);
      if (!err.str().empty()) return false;
      used[first] = true;
      stack->push_back(c);
      count++;
    }
    if (node != tree->root && count < 2 && !node->leaves)
      err << "an internal node neither branches nor ends a suffix";
    return err.str().empty();
  }

  // Path label of a child from its parent's and its own edge label.
  bool child_label(STREE_NODE c, label_info *info) {
    const label_info &up = nodes.at(c->parent);
    int slot;
    long off;
    if (!locate(c, &slot, &off)) {
      err << "an edge label is not a range of a text";
      return false;
    }
    info->depth = up.depth + c->edgelen;
    info->hash = addmod(mulmod(up.hash, power[static_cast<size_t>(c->edgelen)]),
                        text_hash(slot, off, c->edgelen));
    info->first = up.depth ? up.first : static_cast<unsigned char>(c->edgestr[0]);
    return true;
  }

  bool visit(STREE_NODE n, std::vector<STREE_NODE> *stack) {
    label_info info{0, 0, 0};
    if (n != tree->root && !child_label(n, &info)) return false;
    if (n->isaleaf) {
      STREE_LEAF leaf = reinterpret_cast<STREE_LEAF>(n);
      place(leaf->strid, leaf->pos, info, "leaf");
      return err.str().empty();
    }
    nodes[n] = info;
    for (STREE_INTLEAF il = n->leaves; il && err.str().empty(); il = il->next)
      place(il->strid, il->pos, info, "internal leaf");
    return err.str().empty() && check_children(n, stack);
  }

  bool check_links() {
    for (const auto &entry : nodes) {
      STREE_NODE n = entry.first;
      if (n == tree->root) continue;
      const label_info &me = entry.second;
      auto target = nodes.find(n->suffix_link);
      if (target == nodes.end()) {
        err << "an internal node of depth " << me.depth << " has no link to an internal node";
        return false;
      }
      uint64_t rest =
          submod(me.hash, mulmod(me.first + 1u, power[static_cast<size_t>(me.depth - 1)]));
      if (target->second.depth != me.depth - 1 || target->second.hash != rest) {
        err << "the suffix link of a node of depth " << me.depth << " is wrong";
        return false;
      }
    }
    return true;
  }

  bool all_placed() {
    for (size_t s = 0; s < placed.size(); s++)
      for (size_t p = 0; p < placed[s].size(); p++)
        if (!placed[s][p]) {
          err << "suffix (" << s << "," << p << ") is missing";
          return false;
        }
    return true;
  }
};

} // namespace

std::string stree_check(SUFFIX_TREE tree) {
  if (!tree || !tree->root) return "no tree or no root";
  if (tree->root->isaleaf || tree->root->edgelen != 0) return "the root is not a bare node";
  checker c{tree, {}, {}, {}, {}, {}};
  c.prepare();
  std::vector<STREE_NODE> stack{tree->root};
  while (!stack.empty()) {
    STREE_NODE n = stack.back();
    stack.pop_back();
    if (!c.visit(n, &stack)) return c.err.str();
  }
  if (!c.check_links() || !c.all_placed()) return c.err.str();
  return "";
}
