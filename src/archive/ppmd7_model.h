#pragma once
// The context model of PPMd variant H as 7z archives use it: what the decoder learns from each
// symbol. It lives in one block of memory of the size the packer chose, managed in 12-byte units
// exactly as the packer managed it: running out of memory restarts the model, so both sides
// must run out at the same symbol. Everything in the block is addressed by its offset.
#include <cstdint>
#include <cstring>

#include "platform/large_memory.h"

namespace oxlip::archive {

class Ppmd7Model {
 public:
  static constexpr unsigned kMinOrder = 2, kMaxOrder = 64;
  static constexpr std::uint32_t kMinMemory = 1 << 11, kMaxMemory = 0x7FFFFFFF;
  static constexpr unsigned kIntBits = 7, kPeriodBits = 7;
  static constexpr unsigned kBinScale = 1 << (kIntBits + kPeriodBits);

  // False when the memory cannot be had.
  bool Init(std::uint32_t memory_size, unsigned max_order);

  // A secondary escape estimate.
  struct See {
    std::uint16_t summ;
    std::uint8_t shift, count;
  };

  // After the symbol at `found_` was decoded in a context of several symbols: first of them,
  // another of them, or in a context reached by escapes.
  void Update1First();
  void Update1();
  void Update2();
  // After the symbol of a one-symbol context was decoded.
  void UpdateBinary();

  std::uint16_t* BinarySumm();
  See* EscapeFrequency(unsigned masked, std::uint32_t* frequency);
  static void UpdateSee(See* see);

  // Context fields: symbol count, frequency sum, first state, shorter context.
  unsigned NumStats(std::uint32_t c) const { return Get16(c); }
  unsigned SummFreq(std::uint32_t c) const { return Get16(c + 2); }
  std::uint32_t Stats(std::uint32_t c) const { return Get32(c + 4); }
  std::uint32_t Suffix(std::uint32_t c) const { return Get32(c + 8); }
  // A context of one symbol keeps its state in place of the frequency sum and stats.
  static std::uint32_t OneState(std::uint32_t c) { return c + 2; }
  // State fields (6 bytes each): symbol, frequency, successor.
  std::uint8_t Symbol(std::uint32_t s) const { return base_[s]; }
  std::uint8_t Freq(std::uint32_t s) const { return base_[s + 1]; }
  static constexpr std::uint32_t kStateSize = 6;
  const std::uint8_t* Base() const { return base_; }
  // The next context is most often the successor of the state just decoded: asking for it
  // before the model update hides part of the cache miss.
  void PrefetchSuccessor(std::uint32_t s) const { __builtin_prefetch(base_ + Get32(s + 2)); }

  std::uint32_t min_context_ = 0, max_context_ = 0, found_ = 0;
  unsigned order_fall_ = 0, init_esc_ = 0, prev_success_ = 0, hi_bits_flag_ = 0;
  std::uint8_t hb2_flag_[256] = {};

 private:
  static constexpr std::uint32_t kUnit = 12;
  static constexpr unsigned kIndexes = 38;
  static constexpr unsigned kMaxFreq = 124;

  std::uint16_t Get16(std::uint32_t at) const {
    std::uint16_t v;
    std::memcpy(&v, base_ + at, 2);
    return v;
  }
  std::uint32_t Get32(std::uint32_t at) const {
    std::uint32_t v;
    std::memcpy(&v, base_ + at, 4);
    return v;
  }
  void Set16(std::uint32_t at, unsigned v) {
    std::uint16_t w = static_cast<std::uint16_t>(v);
    std::memcpy(base_ + at, &w, 2);
  }
  void Set32(std::uint32_t at, std::uint32_t v) { std::memcpy(base_ + at, &v, 4); }
  void SetNumStats(std::uint32_t c, unsigned n) { Set16(c, n); }
  void SetSummFreq(std::uint32_t c, unsigned n) { Set16(c + 2, n); }
  void SetStats(std::uint32_t c, std::uint32_t s) { Set32(c + 4, s); }
  void SetSuffix(std::uint32_t c, std::uint32_t s) { Set32(c + 8, s); }
  std::uint32_t Successor(std::uint32_t s) const { return Get32(s + 2); }
  void SetSuccessor(std::uint32_t s, std::uint32_t v) { Set32(s + 2, v); }
  void SetFreq(std::uint32_t s, unsigned f) { base_[s + 1] = static_cast<std::uint8_t>(f); }
  void CopyState(std::uint32_t to, std::uint32_t from) {
    std::memmove(base_ + to, base_ + from, kStateSize);
  }
  void SwapStates(std::uint32_t a, std::uint32_t b);

  // The unit allocator.
  unsigned I2U(unsigned index) const { return indx2units_[index]; }
  unsigned U2I(unsigned units) const { return units2indx_[units - 1]; }
  void InsertNode(std::uint32_t node, unsigned index);
  std::uint32_t RemoveNode(unsigned index);
  void SplitBlock(std::uint32_t block, unsigned old_index, unsigned new_index);
  void GlueFreeBlocks();
  std::uint32_t AllocUnitsRare(unsigned index);
  std::uint32_t AllocUnits(unsigned index);
  std::uint32_t ShrinkUnits(std::uint32_t old, unsigned old_units, unsigned new_units);

  void RestartModel();
  std::uint32_t CreateSuccessors(bool skip);
  void RaiseInSuffix(std::uint8_t symbol);
  bool AddSymbol(std::uint32_t c, std::uint32_t successor, unsigned ns, unsigned s0);
  void UpdateModel();
  void NextContext();
  void Rescale();

  platform::LargeMemory memory_;
  std::uint8_t* base_ = nullptr;
  std::uint32_t size_ = 0, align_offset_ = 0;
  std::uint32_t text_ = 0, units_start_ = 0, lo_unit_ = 0, hi_unit_ = 0;
  std::uint32_t glue_count_ = 0;
  unsigned max_order_ = 0;
  std::int32_t run_length_ = 0, init_rl_ = 0;
  std::uint8_t indx2units_[kIndexes] = {}, units2indx_[128] = {};
  std::uint32_t free_list_[kIndexes] = {};
  std::uint8_t ns2indx_[256] = {}, ns2bsindx_[256] = {};
  See dummy_see_{}, see_[25][16] = {};
  std::uint16_t bin_summ_[128][64] = {};
};

}  // namespace oxlip::archive
