// The score tree: a 2-3 tree over second-sequence end keys whose leaves form
// a doubly linked list in key order. Two sentinel leaves hold the smallest
// and largest keys, so every search ends on a leaf that has a predecessor.
#include "alichain.h"

#include <cstdlib>
#include <limits>
#include <new>

void NODE_POOL::FreeBlock::operator()(NODE *block) const { std::free(block); }

namespace {

constexpr int64_t KEY_MIN = std::numeric_limits<int64_t>::min();
constexpr int64_t KEY_MAX = std::numeric_limits<int64_t>::max();

// Blocks double in size up to 4 MiB, so a small input maps in little.
constexpr size_t FIRST_BLOCK = 1024;
constexpr size_t LARGEST_BLOCK = 65536;

size_t blockSize(size_t index) { return index < 6 ? FIRST_BLOCK << index : LARGEST_BLOCK; }

// A block of a huge page or more starts on a huge page boundary, so that
// huge pages cover it whole: the descents then miss the TLB less.
NODE *newBlock(size_t nodes) {
  constexpr size_t HUGE_PAGE = size_t{2} << 20;
  const size_t bytes = nodes * sizeof(NODE);
  void *block = std::aligned_alloc(bytes >= HUGE_PAGE ? HUGE_PAGE : alignof(NODE), bytes);
  if (!block) throw std::bad_alloc();
  adviseHugePages(block, bytes);
  return static_cast<NODE *>(block);
}

NODE *getNode(NODE_POOL &pool) {
  NODE *n = pool.freeList;
  if (n) {
    pool.freeList = n->pup;
  } else {
    if (pool.current == pool.blocks.size() || pool.usedInBlock == blockSize(pool.current)) {
      if (pool.current < pool.blocks.size()) ++pool.current;
      if (pool.current == pool.blocks.size()) pool.blocks.emplace_back(newBlock(blockSize(pool.current)));
      pool.usedInBlock = 0;
    }
    n = &pool.blocks[pool.current][pool.usedInBlock++];
  }
  *n = NODE{nullptr, nullptr, nullptr, nullptr, 0, 0, 0};
  return n;
}

void putNode(NODE_POOL &pool, NODE *n) {
  n->pup = pool.freeList;
  pool.freeList = n;
}

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

NODE *makeNode(NODE_POOL &pool, NODE *pup, NODE *pl, NODE *pm, int64_t lMax, int64_t mMax) {
  NODE *n = getNode(pool);
  n->pup = pup;
  n->pl = pl;
  n->pm = pm;
  n->lMax = lMax;
  n->mMax = mMax;
  return n;
}

// Places `newnode` directly after `node` under node's three-child father by
// splitting the father; returns the new sibling that goes after the father.
NODE *splitFather(NODE_POOL &pool, NODE *father, NODE *node, NODE *newnode, int64_t prev_max,
                  int64_t new_max) {
  NODE *s;
  if (node == father->pl) {
    s = makeNode(pool, nullptr, father->pm, father->pr, father->mMax, father->rMax);
    father->pm = newnode;
    father->lMax = prev_max;
    father->mMax = new_max;
    newnode->pup = father;
  } else if (node == father->pm) {
    s = makeNode(pool, nullptr, newnode, father->pr, new_max, father->rMax);
    father->mMax = prev_max;
  } else {
    s = makeNode(pool, nullptr, node, newnode, prev_max, new_max);
  }
  s->pl->pup = s;
  s->pm->pup = s;
  father->pr = nullptr;
  return s;
}

}  // namespace

void initTree(PASS &pass) {
  // Every node of an earlier tree is free again, and the blocks are kept:
  // a new tree reuses memory that is already mapped in.
  NODE_POOL &pool = pass.pool;
  pool.current = 0;
  pool.usedInBlock = 0;
  pool.freeList = nullptr;
  NODE *root = makeNode(pool, nullptr, nullptr, nullptr, KEY_MIN, KEY_MAX);
  root->rMax = KEY_MAX;
  // The left sentinel's alignment number means "none" and its score 0 is the
  // empty chain's; the right sentinel's largest score stops every pruning.
  NODE *left = makeNode(pool, root, nullptr, nullptr, KEY_MIN, static_cast<int64_t>(NO_ALIGNMENT));
  NODE *right = makeNode(pool, root, left, nullptr, KEY_MAX, 0);
  left->rMax = 0;
  left->pr = right;
  right->rMax = KEY_MAX;
  root->pl = left;
  root->pm = right;
  pass.tree = root;
}

namespace {

// One step of the descent towards key y.
NODE *descend(const NODE *n, int64_t y) {
  return pick(n->lMax >= y, n->pl, pick(n->mMax >= y, n->pm, n->pr));
}

}  // namespace

NODE *findLeaf(const PASS &pass, int64_t y) {
  NODE *n = pass.tree;
  while (!isLeaf(n)) n = descend(n, y);
  return n;
}

void findLeaves(const PASS &pass, const int64_t *y, NODE **leaf, size_t count) {
  for (size_t i = 0; i < count; ++i) leaf[i] = pass.tree;
  // All leaves lie at one depth, so the descents end together; taking them
  // level by level lets their memory accesses overlap.
  while (count > 0 && !isLeaf(leaf[0]))
    for (size_t i = 0; i < count; ++i) leaf[i] = descend(leaf[i], y[i]);
}

NODE *findRightSentinel(const PASS &pass) {
  NODE *n = pass.tree;
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

void insert(PASS &pass, uint64_t alinr, NODE *prev) {
  const ALI &a = pass.ali[alinr];
  NODE *leaf = getNode(pass.pool);
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
      pass.tree = makeNode(pass.pool, nullptr, node, newnode, prev_max, new_max);
      node->pup = pass.tree;
      newnode->pup = pass.tree;
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
    newnode = splitFather(pass.pool, father, node, newnode, prev_max, new_max);
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

void deleteLeaf(PASS &pass, NODE *delLeaf) {
  if (delLeaf->pl) delLeaf->pl->pr = delLeaf->pr;
  if (delLeaf->pr) delLeaf->pr->pl = delLeaf->pl;

  NODE *x = delLeaf;
  NODE *grand = nullptr;
  while (x) {
    NODE *father = x->pup;
    grand = father->pup;
    if (father->pr) {
      dropFromThree(father, grand, x);
      putNode(pass.pool, x);
      break;
    }
    const bool xIsLeft = x == father->pl;
    NODE *rest = xIsLeft ? father->pm : father->pl;
    const int64_t rest_max = xIsLeft ? father->mMax : father->lMax;
    if (!grand) {
      pass.tree = rest;
      rest->pup = nullptr;
      putNode(pass.pool, father);
      putNode(pass.pool, x);
      break;
    }
    const bool goOn = father == grand->pl ? mergeFromRight(father, grand, rest, rest_max)
                                          : mergeFromLeft(father, grand, x, rest, rest_max);
    putNode(pass.pool, x);
    x = goOn ? father : nullptr;
  }
  if (grand) updateMax(grand);
}
