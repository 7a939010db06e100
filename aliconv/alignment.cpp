#include "alignment.h"

namespace aliconv {

BlockWalker::BlockWalker(std::vector<Block> &blocks, uint64_t xStart, uint64_t yStart, bool minus)
    : blocks_(&blocks), x_(xStart), y_(yStart), minus_(minus) {
  blocks_->clear();
}

void BlockWalker::aligned(uint64_t n) {
  if (n == 0) return;
  if (!run_) blocks_->push_back(Block{x_, y_, 0});
  Block &block = blocks_->back();
  block.length += n;
  // A minus-strand block is stored by its lowest y, which falls as it grows.
  if (minus_) block.y = y_ - n + 1;
  x_ += n;
  y_ = minus_ ? y_ - n : y_ + n;
  run_ = true;
}

void BlockWalker::yOnly(uint64_t n) {
  y_ = minus_ ? y_ - n : y_ + n;
  run_ = false;
}

}  // namespace aliconv
