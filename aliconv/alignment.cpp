#include "alignment.h"

namespace aliconv {

// Coordinates count from 1, so xe - xb + 1 never wraps.
BlockWalker::BlockWalker(std::vector<Block> &blocks, const Alignment &a)
    : blocks_(&blocks),
      x_(a.xb),
      y_(a.strand == '-' ? a.ye : a.yb),
      xLeft_(a.xe - a.xb + 1),
      yLeft_(a.ye - a.yb + 1),
      minus_(a.strand == '-') {
  blocks_->clear();
}

void BlockWalker::aligned(uint64_t n) {
  if (n > xLeft_ || n > yLeft_) overrun_ = true;
  if (n == 0 || overrun_) return;
  xLeft_ -= n;
  yLeft_ -= n;
  if (!run_) blocks_->push_back(Block{x_, y_, 0});
  Block &block = blocks_->back();
  block.length += n;
  // A minus-strand block is stored by its lowest y, which falls as it grows.
  if (minus_) block.y = y_ - n + 1;
  x_ += n;
  y_ = minus_ ? y_ - n : y_ + n;
  run_ = true;
}

void BlockWalker::xOnly(uint64_t n) {
  if (n > xLeft_) overrun_ = true;
  if (overrun_) return;
  xLeft_ -= n;
  x_ += n;
  run_ = false;
}

void BlockWalker::yOnly(uint64_t n) {
  if (n > yLeft_) overrun_ = true;
  if (overrun_) return;
  yLeft_ -= n;
  y_ = minus_ ? y_ - n : y_ + n;
  run_ = false;
}

}  // namespace aliconv
