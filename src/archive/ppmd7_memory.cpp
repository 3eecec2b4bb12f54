// The unit allocator of the PPMd model: free lists per block size, blocks split on demand and
// glued together again when memory runs short.
#include "archive/ppmd7_model.h"

namespace oxlip::archive {
namespace {

// A free block while free blocks are glued: stamp 0, its units, and its neighbours in the list.
constexpr std::uint32_t kStamp = 0, kUnits = 2, kNext = 4, kPrev = 8;

}  // namespace

void Ppmd7Model::InsertNode(std::uint32_t node, unsigned index) {
  Set32(node, free_list_[index]);
  free_list_[index] = node;
}

std::uint32_t Ppmd7Model::RemoveNode(unsigned index) {
  std::uint32_t node = free_list_[index];
  free_list_[index] = Get32(node);
  return node;
}

void Ppmd7Model::SplitBlock(std::uint32_t block, unsigned old_index, unsigned new_index) {
  unsigned units = I2U(old_index) - I2U(new_index);
  block += I2U(new_index) * kUnit;
  unsigned index = U2I(units);
  if (I2U(index) != units) {
    unsigned k = I2U(--index);
    InsertNode(block + k * kUnit, units - k - 1);
  }
  InsertNode(block, index);
}

void Ppmd7Model::GlueFreeBlocks() {
  std::uint32_t head = align_offset_ + size_;
  std::uint32_t n = head;
  glue_count_ = 255;
  // All free blocks in one list, each knowing its size.
  for (unsigned i = 0; i < kIndexes; ++i) {
    std::uint16_t units = I2U(i);
    std::uint32_t next = free_list_[i];
    free_list_[i] = 0;
    while (next != 0) {
      std::uint32_t node = next;
      Set32(node + kNext, n);
      Set32(n + kPrev, next);
      n = next;
      next = Get32(node);
      Set16(node + kStamp, 0);
      Set16(node + kUnits, units);
    }
  }
  Set16(head + kStamp, 1);
  Set32(head + kNext, n);
  Set32(n + kPrev, head);
  if (lo_unit_ != hi_unit_) Set16(lo_unit_ + kStamp, 1);
  // Free neighbours become one block.
  while (n != head) {
    std::uint32_t units = Get16(n + kUnits);
    for (;;) {
      std::uint32_t node2 = n + units * kUnit;
      units += Get16(node2 + kUnits);
      if (Get16(node2 + kStamp) != 0 || units >= 0x10000) break;
      Set32(Get32(node2 + kPrev) + kNext, Get32(node2 + kNext));
      Set32(Get32(node2 + kNext) + kPrev, Get32(node2 + kPrev));
      Set16(n + kUnits, units);
    }
    n = Get32(n + kNext);
  }
  // And back into the lists by size.
  for (n = Get32(head + kNext); n != head;) {
    std::uint32_t node = n;
    std::uint32_t next = Get32(node + kNext);
    unsigned units = Get16(node + kUnits);
    for (; units > 128; units -= 128, node += 128 * kUnit) InsertNode(node, kIndexes - 1);
    unsigned index = U2I(units);
    if (I2U(index) != units) {
      unsigned k = I2U(--index);
      InsertNode(node + k * kUnit, units - k - 1);
    }
    InsertNode(node, index);
    n = next;
  }
}

std::uint32_t Ppmd7Model::AllocUnitsRare(unsigned index) {
  if (glue_count_ == 0) {
    GlueFreeBlocks();
    if (free_list_[index] != 0) return RemoveNode(index);
  }
  unsigned i = index;
  do {
    if (++i == kIndexes) {
      std::uint32_t bytes = I2U(index) * kUnit;
      --glue_count_;
      if (units_start_ - text_ <= bytes) return 0;
      units_start_ -= bytes;
      return units_start_;
    }
  } while (free_list_[i] == 0);
  std::uint32_t block = RemoveNode(i);
  SplitBlock(block, i, index);
  return block;
}

std::uint32_t Ppmd7Model::AllocUnits(unsigned index) {
  if (free_list_[index] != 0) return RemoveNode(index);
  std::uint32_t bytes = I2U(index) * kUnit;
  if (bytes <= hi_unit_ - lo_unit_) {
    std::uint32_t block = lo_unit_;
    lo_unit_ += bytes;
    return block;
  }
  return AllocUnitsRare(index);
}

std::uint32_t Ppmd7Model::ShrinkUnits(std::uint32_t old, unsigned old_units, unsigned new_units) {
  unsigned i0 = U2I(old_units), i1 = U2I(new_units);
  if (i0 == i1) return old;
  if (free_list_[i1] != 0) {
    std::uint32_t block = RemoveNode(i1);
    std::memmove(base_ + block, base_ + old, new_units * kUnit);
    InsertNode(old, i0);
    return block;
  }
  SplitBlock(old, i0, i1);
  return old;
}

}  // namespace oxlip::archive
