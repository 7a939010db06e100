// Matching statistics over the reference's suffix tree: for each query
// position q, the longest prefix of query[q..] that occurs in the
// reference and the tree record where it ends. Moving from q to q + 1 drops
// the first character through a suffix link and walks the rest down by
// edge lengths alone, so a whole query costs time linear in its length.
// Maximal matches are read off that locus: a match is right-maximal when it
// cannot go on in the tree, and left-maximal when the characters before it
// differ.
#include "match_finder.h"

#include <algorithm>

#include "tool_error.h"

namespace mumfind {

namespace {

// Where the current match ends: `node` is the deepest internal node that
// it passes through whole, at string depth `depth`; the match goes on for
// `along` characters into the edge of `child` (null, with `along` 0, when
// it ends at `node`).
struct Locus {
  STREE_NODE node;
  int depth;
  STREE_NODE child;
  int along;

  int length() const { return depth + along; }
  STREE_NODE end() const { return child ? child : node; }
};

class Stream {
 public:
  Stream(SUFFIX_TREE tree, const char *query, int length)
      : tree_(tree), query_(query), length_(length), at_{tree->root, 0, nullptr, 0} {}

  // Extends the match of position q as far as the tree allows.
  const Locus &extend(int q) {
    for (;;) {
      int next = q + at_.length();
      if (next >= length_) break;
      if (!at_.child) {
        STREE_NODE child = stree_find_child(tree_, at_.node, query_[next]);
        if (!child) break;
        at_.child = child;
      }
      STREE_NODE c = at_.child;
      // Compare along the edge; its first character is known to match
      // when entering it.
      int room = std::min(c->edgelen - at_.along, length_ - next);
      int k = 0;
      while (k < room && c->edgestr[at_.along + k] == query_[next + k]) k++;
      at_.along += k;
      if (at_.along == 0) {
        at_.child = nullptr;
        break;
      }
      if (at_.along < c->edgelen || c->isaleaf) break;
      descend_into_child();
    }
    return at_;
  }

  // Moves from the match of q to that of q + 1: the same text less its
  // first character.
  void drop_first(int q) {
    int remaining = at_.length() - 1;
    if (remaining < 0) return;
    int depth = 0;
    STREE_NODE node = tree_->root;
    if (at_.node != tree_->root && at_.node->suffix_link) {
      node = at_.node->suffix_link;
      depth = at_.depth - 1;
    }
    at_ = Locus{node, depth, nullptr, 0};
    skip_count(q + 1 + depth, remaining - depth);
  }

 private:
  void descend_into_child() {
    at_.node = at_.child;
    at_.depth += at_.child->edgelen;
    at_.child = nullptr;
    at_.along = 0;
  }

  // Walks query[from..from+count) down from at_.node; the path is known to
  // be in the tree, so only each edge's first character is looked up.
  void skip_count(int from, int count) {
    while (count > 0) {
      STREE_NODE child = stree_find_child(tree_, at_.node, query_[from]);
      if (child->edgelen <= count && !child->isaleaf) {
        at_.child = child;
        descend_into_child();
        from += child->edgelen;
        count -= child->edgelen;
      } else {
        at_.child = child;
        at_.along = count;
        count = 0;
      }
    }
  }

  SUFFIX_TREE tree_;
  const char *query_;
  int length_;
  Locus at_;
};

bool left_maximal(const char *ref, int r, const char *query, int q) {
  return r == 0 || q == 0 || ref[r - 1] != query[q - 1];
}

}  // namespace

ReferenceIndex::ReferenceIndex(const char *text, int length)
    : tree_(stree_new_tree(5, 0, 0, 0)), text_(text), length_(length), hits_(length) {
  if (!tree_ || !stree_ukkonen_add_string(tree_, const_cast<char *>(text), nullptr, length, 1)) {
    stree_delete_tree(tree_);
    throw common::ToolError("out of memory building the suffix tree");
  }
}

ReferenceIndex::~ReferenceIndex() { stree_delete_tree(tree_); }

std::vector<Match> ReferenceIndex::find(const char *query, int length, MatchKind kind,
                                        int minLength) {
  std::vector<Match> matches;
  Stream stream(tree_, query, length);
  auto emit = [&](STREE_NODE top, int q, int len) {
    STREE_SUFFIXES below;
    stree_suffixes_begin(&below, tree_, top);
    int id, r;
    while (stree_suffixes_next(&below, &id, &r))
      if (left_maximal(text_, r, query, q)) matches.push_back({r, q, len});
  };
  for (int q = 0; q < length; q++) {
    const Locus &at = stream.extend(q);
    if (at.length() >= minLength) {
      if (kind == MatchKind::MUM) {
        // In a tree of one text every internal node ends two suffixes or
        // more, so the text occurs once exactly when the match ends on a
        // leaf's edge.
        STREE_NODE end = at.end();
        if (end->isaleaf) {
          int r = reinterpret_cast<STREE_LEAF>(end)->pos;
          hits_.add(r, at.length());
          if (left_maximal(text_, r, query, q)) matches.push_back({r, q, at.length()});
        }
      } else {
        // Suffixes below the end match exactly at.length() characters;
        // those that leave the path higher up match as deep as they leave.
        size_t first = matches.size();
        emit(at.end(), q, at.length());
        STREE_NODE from = at.end();
        int depth = at.child ? at.depth : at.depth - at.node->edgelen;
        for (STREE_NODE up = from->parent; up && depth >= minLength; from = up, up = up->parent) {
          for (STREE_INTLEAF il = up->leaves; il; il = il->next)
            if (left_maximal(text_, il->pos, query, q)) matches.push_back({il->pos, q, depth});
          for (STREE_NODE c = stree_next_child(tree_, up, nullptr); c; c = stree_next_child(tree_, up, c))
            if (c != from) emit(c, q, depth);
          depth -= up->edgelen;
        }
        std::sort(matches.begin() + static_cast<std::ptrdiff_t>(first), matches.end(),
                  [](const Match &a, const Match &b) { return a.ref < b.ref; });
      }
    }
    stream.drop_first(q);
  }
  if (kind == MatchKind::MUM) {
    auto shared = [&](const Match &m) { return !hits_.alone(int(m.ref), int(m.length)); };
    matches.erase(std::remove_if(matches.begin(), matches.end(), shared), matches.end());
    hits_.clear();
  }
  return matches;
}

}  // namespace mumfind
