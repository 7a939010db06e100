// The score tree: a 2-3 tree over second-sequence end keys whose leaves form
// a doubly linked list in key order. Two sentinel leaves hold the smallest
// and largest keys, so every search ends on a leaf that has a predecessor.
#include "alichain.h"

#include <cstdlib>
#include <limits>
#include <new>

thread_local NODE *tree = nullptr;

namespace {

constexpr int64_t KEY_MIN = std::numeric_limits<int64_t>::min();
constexpr int64_t KEY_MAX = std::numeric_limits<int64_t>::max();

// Nodes come from blocks and are recycled through a free list, so the
// sweep's many small allocations cost nothing and the tree stays compact in
// memory. Blocks double in size up to 4 MiB, so a small input maps in
// little. Everything is dropped at once when the run ends.
struct NodePool {
  static constexpr size_t FIRST_BLOCK = 1024;
  static constexpr size_t LARGEST_BLOCK = 65536;
  struct FreeBlock {
    void operator()(NODE *block) const { std::free(block); }
  };
  std::vector<std::unique_ptr<NODE[], FreeBlock>> blocks;
  size_t current = 0;  // block being handed out
  size_t usedInBlock = 0;
  NODE *freeList = nullptr;

  // A block of a huge page or more starts on a huge page boundary, so that
  // huge pages cover it whole: the descents then miss the TLB less.
  static NODE *newBlock(size_t nodes) {
    constexpr size_t HUGE_PAGE = size_t{2} << 20;
    const size_t bytes = nodes * sizeof(NODE);
    void *block = std::aligned_alloc(bytes >= HUGE_PAGE ? HUGE_PAGE : alignof(NODE), bytes);
    if (!block) throw std::bad_alloc();
    adviseHugePages(block, bytes);
    return static_cast<NODE *>(block);
  }
  static size_t blockSize(size_t index) {
    return index < 6 ? FIRST_BLOCK << index : LARGEST_BLOCK;
  }
  NODE *get() {
    NODE *n = freeList;
    if (n) {
      freeList = n->pup;
    } else {
      if (current == blocks.size() || usedInBlock == blockSize(current)) {
        if (current < blocks.size()) ++current;
        if (current == blocks.size()) {
          blocks.emplace_back(newBlock(blockSize(current)));
        }
        usedInBlock = 0;
      }
      n = &blocks[current][usedInBlock++];
    }
    *n = NODE{nullptr, nullptr, nullptr, nullptr, 0, 0, 0};
    return n;
  }
  void put(NODE *n) {
    n->pup = freeList;
    freeList = n;
  }
  // Makes every node free again but keeps the blocks: the next pass reuses
  // memory that is already mapped in.
  void reset() {
    current = 0;
    usedInBlock = 0;
    freeList = nullptr;
  }
  void clear() {
    blocks.clear();
    blocks.shrink_to_fit();
    reset();
  }
};

// Each pass's thread has its own tree and pool.
thread_local NodePool pool;

bool isLeaf(const NODE *n) { return n->pm == nullptr; }

int64_t largestKey(const NODE *n) {
  if (isLeaf(n)) return n->lMax;
  return n->pr ? n->rMax : n->mMax;
}

// Picks a when `first`, else b, without a branch: on random keys a branch
// in the descent mispredicts at about every other level.
NODE *pick(bool first, NODE *a, NODE *b) {
  const uintptr_t mask = 0 - static_cast<uintptr_t>(first);
  return reinterpret_cast<NODE *>((reinterpret_cast<uintptr_t>(a) & mask) |
                                  (reinterpret_cast<uintptr_t>(b) & ~mask));
}

NODE *makeNode(NODE *pup, NODE *pl, NODE *pm, int64_t lMax, int64_t mMax) {
  NODE *n = pool.get();
  n->pup = pup;
  n->pl = pl;
  n->pm = pm;
  n->lMax = lMax;
  n->mMax = mMax;
  return n;
}

// Places `newnode` directly after `node` under node's three-child father by
// splitting the father; returns the new sibling that goes after the father.
NODE *splitFather(NODE *father, NODE *node, NODE *newnode, int64_t prev_max,
                  int64_t new_max) {
  NODE *s;
  if (node == father->pl) {
    s = makeNode(nullptr, father->pm, father->pr, father->mMax, father->rMax);
    father->pm = newnode;
    father->lMax = prev_max;
    father->mMax = new_max;
    newnode->pup = father;
  } else if (node == father->pm) {
    s = makeNode(nullptr, newnode, father->pr, new_max, father->rMax);
    father->mMax = prev_max;
  } else {
    s = makeNode(nullptr, node, newnode, prev_max, new_max);
  }
  s->pl->pup = s;
  s->pm->pup = s;
  father->pr = nullptr;
  return s;
}

}  // namespace

void initTree() {
  pool.reset();
  NODE *root = makeNode(nullptr, nullptr, nullptr, KEY_MIN, KEY_MAX);
  root->rMax = KEY_MAX;
  // The left sentinel's alignment number means "none" and its score 0 is the
  // empty chain's; the right sentinel's largest score stops every pruning.
  NODE *left = makeNode(root, nullptr, nullptr, KEY_MIN, static_cast<int64_t>(NO_ALIGNMENT));
  NODE *right = makeNode(root, left, nullptr, KEY_MAX, 0);
  left->rMax = 0;
  left->pr = right;
  right->rMax = KEY_MAX;
  root->pl = left;
  root->pm = right;
  tree = root;
}

void releaseTree() {
  pool.clear();
  tree = nullptr;
}

namespace {

// One step of the descent towards key y.
NODE *descend(const NODE *n, int64_t y) {
  return pick(n->lMax >= y, n->pl, pick(n->mMax >= y, n->pm, n->pr));
}

}  // namespace

NODE *findLeaf(int64_t y) {
  NODE *n = tree;
  while (!isLeaf(n)) n = descend(n, y);
  return n;
}

void findLeaves(const int64_t *y, NODE **leaf, size_t count) {
  for (size_t i = 0; i < count; ++i) leaf[i] = tree;
  // All leaves lie at one depth, so the descents end together; taking them
  // level by level lets their memory accesses overlap.
  while (count > 0 && !isLeaf(leaf[0]))
    for (size_t i = 0; i < count; ++i) leaf[i] = descend(leaf[i], y[i]);
}

NODE *findRightSentinel() {
  NODE *n = tree;
  while (!isLeaf(n)) {
    if (n->lMax == KEY_MAX)
      n = n->pl;
    else if (n->mMax == KEY_MAX)
      n = n->pm;
    else
      n = n->pr;
  }
  return n;
}

void updateMax(NODE *father) {
  for (NODE *grand = father ? father->pup : nullptr; grand; grand = father->pup) {
    const int64_t m = largestKey(father);
    if (father == grand->pl) {
      grand->lMax = m;
      return;
    }
    if (father == grand->pm) {
      if (grand->pr) {
        grand->mMax = m;
        return;
      }
      if (grand->mMax == m) return;
      grand->mMax = m;
    } else {
      if (grand->rMax == m) return;
      grand->rMax = m;
    }
    father = grand;
  }
}

void insert(uint64_t alinr, NODE *prev) {
  const ALI &a = ali[alinr];
  NODE *leaf = pool.get();
  leaf->pr = prev->pr;
  prev->pr->pl = leaf;
  leaf->pl = prev;
  prev->pr = leaf;
  leaf->lMax = a.ye;
  leaf->mMax = static_cast<int64_t>(alinr);
  leaf->rMax = a.score;

  NODE *node = prev;
  NODE *newnode = leaf;
  NODE *father;
  for (;;) {
    const int64_t new_max = largestKey(newnode);
    const int64_t prev_max = largestKey(node);
    father = node->pup;
    if (!father) {
      tree = makeNode(nullptr, node, newnode, prev_max, new_max);
      node->pup = tree;
      newnode->pup = tree;
      break;
    }
    if (!father->pr) {
      if (node == father->pl) {
        father->pr = father->pm;
        father->rMax = father->mMax;
        father->pm = newnode;
        father->lMax = prev_max;
        father->mMax = new_max;
      } else {
        father->pr = newnode;
        father->rMax = new_max;
        father->mMax = prev_max;
      }
      newnode->pup = father;
      break;
    }
    newnode = splitFather(father, node, newnode, prev_max, new_max);
    node = father;
  }
  updateMax(father);
}

namespace {

// Sets grand's stored maximum for its child `child`.
void setSlot(NODE *grand, const NODE *child, int64_t m) {
  if (child == grand->pl)
    grand->lMax = m;
  else if (child == grand->pm)
    grand->mMax = m;
  else
    grand->rMax = m;
}

// Removes x from a father with three children.
void dropFromThree(NODE *father, NODE *grand, NODE *x) {
  if (x == father->pl) {
    father->pl = father->pm;
    father->lMax = father->mMax;
    father->pm = father->pr;
    father->mMax = father->rMax;
  } else if (x == father->pm) {
    father->pm = father->pr;
    father->mMax = father->rMax;
  } else if (grand) {
    setSlot(grand, father, father->mMax);
  }
  father->pr = nullptr;
}

// Father (two children, one of them x) is grand's pl; uncle is grand's pm.
// Returns true when father, now empty, must be removed one level up.
bool mergeFromRight(NODE *father, NODE *grand, NODE *rest, int64_t rest_max) {
  NODE *uncle = grand->pm;
  if (!uncle->pr) {
    uncle->pr = uncle->pm;
    uncle->rMax = uncle->mMax;
    uncle->pm = uncle->pl;
    uncle->mMax = uncle->lMax;
    uncle->pl = rest;
    uncle->lMax = rest_max;
    rest->pup = uncle;
    return true;
  }
  father->pl = rest;
  father->lMax = rest_max;
  father->pm = uncle->pl;
  father->mMax = uncle->lMax;
  uncle->pl->pup = father;
  uncle->pl = uncle->pm;
  uncle->lMax = uncle->mMax;
  uncle->pm = uncle->pr;
  uncle->mMax = uncle->rMax;
  uncle->pr = nullptr;
  grand->lMax = father->mMax;
  return false;
}

// Father (two children, one of them x) is grand's pm or pr; uncle is the
// child of grand just before father. Returns true as mergeFromRight does.
bool mergeFromLeft(NODE *father, NODE *grand, NODE *x, NODE *rest, int64_t rest_max) {
  const bool fatherIsPm = father == grand->pm;
  NODE *uncle = fatherIsPm ? grand->pl : grand->pm;
  if (!uncle->pr) {
    uncle->pr = rest;
    uncle->rMax = rest_max;
    rest->pup = uncle;
    setSlot(grand, uncle, uncle->rMax);
    return true;
  }
  const bool xWasPm = x == father->pm;
  father->pl = uncle->pr;
  father->lMax = uncle->rMax;
  father->pm = rest;
  father->mMax = rest_max;
  if (xWasPm) setSlot(grand, father, rest_max);
  father->pl->pup = father;
  uncle->pr = nullptr;
  setSlot(grand, uncle, uncle->mMax);
  return false;
}

}  // namespace

void deleteLeaf(NODE *delLeaf) {
  if (delLeaf->pl) delLeaf->pl->pr = delLeaf->pr;
  if (delLeaf->pr) delLeaf->pr->pl = delLeaf->pl;

  NODE *x = delLeaf;
  NODE *grand = nullptr;
  while (x) {
    NODE *father = x->pup;
    grand = father->pup;
    if (father->pr) {
      dropFromThree(father, grand, x);
      pool.put(x);
      break;
    }
    const bool xIsLeft = x == father->pl;
    NODE *rest = xIsLeft ? father->pm : father->pl;
    const int64_t rest_max = xIsLeft ? father->mMax : father->lMax;
    if (!grand) {
      tree = rest;
      rest->pup = nullptr;
      pool.put(father);
      pool.put(x);
      break;
    }
    const bool goOn = father == grand->pl ? mergeFromRight(father, grand, rest, rest_max)
                                          : mergeFromLeft(father, grand, x, rest, rest_max);
    pool.put(x);
    x = goOn ? father : nullptr;
  }
  if (grand) updateMax(grand);
}
