#include "archive/ppmd7_model.h"

namespace oxlip::archive {
namespace {

constexpr std::uint16_t kInitBinEsc[] = {0x3CDD, 0x1F3F, 0x59BF, 0x48F3,
                                         0x64A1, 0x5ABC, 0x6632, 0x6051};

}  // namespace

bool Ppmd7Model::Init(std::uint32_t memory_size, unsigned max_order) {
  align_offset_ = 4 - (memory_size & 3);
  std::size_t bytes = std::size_t{align_offset_} + memory_size + kUnit;
  if (!memory_.Allocate(bytes)) return false;
  base_ = memory_.data();
  size_ = memory_size;
  max_order_ = max_order;
  for (unsigned i = 0, k = 0; i < kIndexes; ++i) {
    unsigned step = i >= 12 ? 4 : (i >> 2) + 1;
    do units2indx_[k++] = static_cast<std::uint8_t>(i);
    while (--step);
    indx2units_[i] = static_cast<std::uint8_t>(k);
  }
  ns2bsindx_[0] = 0 << 1;
  ns2bsindx_[1] = 1 << 1;
  std::memset(ns2bsindx_ + 2, 2 << 1, 9);
  std::memset(ns2bsindx_ + 11, 3 << 1, 256 - 11);
  unsigned i = 0;
  for (; i < 3; ++i) ns2indx_[i] = static_cast<std::uint8_t>(i);
  for (unsigned m = i, k = 1; i < 256; ++i) {
    ns2indx_[i] = static_cast<std::uint8_t>(m);
    if (--k == 0) k = (++m) - 2;
  }
  std::memset(hb2_flag_, 0, 0x40);
  std::memset(hb2_flag_ + 0x40, 8, 0x100 - 0x40);
  dummy_see_ = {0, kPeriodBits, 64};
  RestartModel();
  return true;
}

void Ppmd7Model::RestartModel() {
  std::memset(free_list_, 0, sizeof free_list_);
  text_ = align_offset_;
  hi_unit_ = text_ + size_;
  lo_unit_ = units_start_ = hi_unit_ - size_ / 8 / kUnit * 7 * kUnit;
  glue_count_ = 0;
  order_fall_ = max_order_;
  run_length_ = init_rl_ = -static_cast<std::int32_t>(max_order_ < 12 ? max_order_ : 12) - 1;
  prev_success_ = 0;
  hi_unit_ -= kUnit;
  min_context_ = max_context_ = hi_unit_;
  SetSuffix(min_context_, 0);
  SetNumStats(min_context_, 256);
  SetSummFreq(min_context_, 256 + 1);
  found_ = lo_unit_;
  SetStats(min_context_, found_);
  lo_unit_ += 256 / 2 * kUnit;
  for (unsigned i = 0; i < 256; ++i) {
    std::uint32_t s = found_ + i * kStateSize;
    base_[s] = static_cast<std::uint8_t>(i);
    SetFreq(s, 1);
    SetSuccessor(s, 0);
  }
  for (unsigned i = 0; i < 128; ++i)
    for (unsigned k = 0; k < 8; ++k) {
      auto value = static_cast<std::uint16_t>(kBinScale - kInitBinEsc[k] / (i + 2));
      for (unsigned m = 0; m < 64; m += 8) bin_summ_[i][k + m] = value;
    }
  for (unsigned i = 0; i < 25; ++i)
    for (See& see : see_[i]) {
      see.shift = kPeriodBits - 4;
      see.summ = static_cast<std::uint16_t>((5 * i + 10) << see.shift);
      see.count = 4;
    }
}

void Ppmd7Model::SwapStates(std::uint32_t a, std::uint32_t b) {
  std::uint8_t t[kStateSize];
  std::memcpy(t, base_ + a, kStateSize);
  std::memcpy(base_ + a, base_ + b, kStateSize);
  std::memcpy(base_ + b, t, kStateSize);
}

std::uint32_t Ppmd7Model::CreateSuccessors(bool skip) {
  std::uint32_t c = min_context_;
  std::uint32_t up_branch = Successor(found_);
  std::uint32_t ps[kMaxOrder];
  unsigned count = 0;
  if (!skip) ps[count++] = found_;
  while (Suffix(c)) {
    c = Suffix(c);
    std::uint32_t s;
    if (NumStats(c) != 1) {
      for (s = Stats(c); Symbol(s) != Symbol(found_); s += kStateSize) {
      }
    } else {
      s = OneState(c);
    }
    std::uint32_t successor = Successor(s);
    if (successor != up_branch) {
      c = successor;
      if (count == 0) return c;
      break;
    }
    ps[count++] = s;
  }
  std::uint8_t up_symbol = base_[up_branch];
  std::uint32_t up_successor = up_branch + 1;
  unsigned up_freq;
  if (NumStats(c) == 1) {
    up_freq = Freq(OneState(c));
  } else {
    std::uint32_t s;
    for (s = Stats(c); Symbol(s) != up_symbol; s += kStateSize) {
    }
    std::uint32_t cf = Freq(s) - 1u;
    std::uint32_t s0 = SummFreq(c) - NumStats(c) - cf;
    up_freq = 1 + ((2 * cf <= s0) ? (5 * cf > s0) : ((2 * cf + 3 * s0 - 1) / (2 * s0)));
  }
  do {
    std::uint32_t c1;
    if (hi_unit_ != lo_unit_) {
      c1 = hi_unit_ -= kUnit;
    } else if (free_list_[0] != 0) {
      c1 = RemoveNode(0);
    } else {
      c1 = AllocUnitsRare(0);
      if (!c1) return 0;
    }
    SetNumStats(c1, 1);
    std::uint32_t one = OneState(c1);
    base_[one] = up_symbol;
    SetFreq(one, up_freq);
    SetSuccessor(one, up_successor);
    SetSuffix(c1, c);
    SetSuccessor(ps[--count], c1);
    c = c1;
  } while (count != 0);
  return c;
}

// The symbol just seen gains weight in the next shorter context too.
void Ppmd7Model::RaiseInSuffix(std::uint8_t symbol) {
  std::uint32_t c = Suffix(min_context_);
  if (NumStats(c) == 1) {
    std::uint32_t s = OneState(c);
    if (Freq(s) < 32) SetFreq(s, Freq(s) + 1);
    return;
  }
  std::uint32_t s = Stats(c);
  if (Symbol(s) != symbol) {
    do s += kStateSize;
    while (Symbol(s) != symbol);
    if (Freq(s) >= Freq(s - kStateSize)) {
      SwapStates(s, s - kStateSize);
      s -= kStateSize;
    }
  }
  if (Freq(s) < kMaxFreq - 9) {
    SetFreq(s, Freq(s) + 2);
    SetSummFreq(c, SummFreq(c) + 2);
  }
}

// Context `c` learns the symbol, leading to `successor`; false when memory ran out.
bool Ppmd7Model::AddSymbol(std::uint32_t c, std::uint32_t successor, unsigned ns, unsigned s0) {
  unsigned ns1 = NumStats(c);
  if (ns1 != 1) {
    if ((ns1 & 1) == 0) {
      // Full: one unit more.
      unsigned old_units = ns1 >> 1;
      unsigned i = U2I(old_units);
      if (i != U2I(old_units + 1)) {
        std::uint32_t block = AllocUnits(i + 1);
        if (!block) return false;
        std::uint32_t old = Stats(c);
        std::memmove(base_ + block, base_ + old, old_units * kUnit);
        InsertNode(old, i);
        SetStats(c, block);
      }
    }
    unsigned summ = SummFreq(c);
    SetSummFreq(c, summ + (2 * ns1 < ns) + 2 * ((4 * ns1 <= ns) & (summ <= 8 * ns1)));
  } else {
    std::uint32_t s = AllocUnits(0);
    if (!s) return false;
    CopyState(s, OneState(c));
    SetStats(c, s);
    unsigned freq = Freq(s);
    SetFreq(s, freq < kMaxFreq / 4 - 1 ? freq << 1 : kMaxFreq - 4);
    SetSummFreq(c, Freq(s) + init_esc_ + (ns > 3));
  }
  std::uint32_t cf = 2 * std::uint32_t{Freq(found_)} * (SummFreq(c) + 6);
  std::uint32_t sf = s0 + SummFreq(c);
  if (cf < 6 * sf) {
    cf = 1 + (cf > sf) + (cf >= 4 * sf);
    SetSummFreq(c, SummFreq(c) + 3);
  } else {
    cf = 4 + (cf >= 9 * sf) + (cf >= 12 * sf) + (cf >= 15 * sf);
    SetSummFreq(c, SummFreq(c) + cf);
  }
  std::uint32_t s = Stats(c) + ns1 * kStateSize;
  SetSuccessor(s, successor);
  base_[s] = Symbol(found_);
  SetFreq(s, cf);
  SetNumStats(c, ns1 + 1);
  return true;
}

void Ppmd7Model::UpdateModel() {
  std::uint32_t f_successor = Successor(found_);
  std::uint8_t f_symbol = Symbol(found_);
  if (Freq(found_) < kMaxFreq / 4 && Suffix(min_context_) != 0) RaiseInSuffix(f_symbol);
  if (order_fall_ == 0) {
    min_context_ = max_context_ = CreateSuccessors(true);
    if (min_context_ == 0) return RestartModel();
    SetSuccessor(found_, min_context_);
    return;
  }
  base_[text_++] = f_symbol;
  std::uint32_t successor = text_;
  if (text_ >= units_start_) return RestartModel();
  if (f_successor) {
    if (f_successor <= successor) {
      // The successor is still a place in the text: the context it stands for is made now.
      std::uint32_t cs = CreateSuccessors(false);
      if (cs == 0) return RestartModel();
      f_successor = cs;
    }
    if (--order_fall_ == 0) {
      successor = f_successor;
      text_ -= (max_context_ != min_context_);
    }
  } else {
    SetSuccessor(found_, successor);
    f_successor = min_context_;
  }
  unsigned ns = NumStats(min_context_);
  unsigned s0 = SummFreq(min_context_) - ns - (Freq(found_) - 1u);
  for (std::uint32_t c = max_context_; c != min_context_; c = Suffix(c))
    if (!AddSymbol(c, successor, ns, s0)) return RestartModel();
  max_context_ = min_context_ = f_successor;
}

void Ppmd7Model::Rescale() {
  std::uint32_t stats = Stats(min_context_);
  std::uint32_t s = found_;
  // The found state moves to the front.
  {
    std::uint8_t t[kStateSize];
    std::memcpy(t, base_ + s, kStateSize);
    for (; s != stats; s -= kStateSize) CopyState(s, s - kStateSize);
    std::memcpy(base_ + s, t, kStateSize);
  }
  unsigned esc_freq = SummFreq(min_context_) - Freq(s);
  SetFreq(s, Freq(s) + 4);
  unsigned adder = order_fall_ != 0;
  SetFreq(s, (Freq(s) + adder) >> 1);
  unsigned sum_freq = Freq(s);
  unsigned i = NumStats(min_context_) - 1;
  do {
    s += kStateSize;
    esc_freq -= Freq(s);
    SetFreq(s, (Freq(s) + adder) >> 1);
    sum_freq += Freq(s);
    if (Freq(s) > Freq(s - kStateSize)) {
      std::uint32_t s1 = s;
      std::uint8_t t[kStateSize];
      std::memcpy(t, base_ + s1, kStateSize);
      do CopyState(s1, s1 - kStateSize);
      while ((s1 -= kStateSize) != stats && t[1] > Freq(s1 - kStateSize));
      std::memcpy(base_ + s1, t, kStateSize);
    }
  } while (--i);
  if (Freq(s) == 0) {
    unsigned num_stats = NumStats(min_context_);
    do ++i;
    while (Freq(s -= kStateSize) == 0);
    esc_freq += i;
    SetNumStats(min_context_, num_stats - i);
    if (NumStats(min_context_) == 1) {
      std::uint8_t t[kStateSize];
      std::memcpy(t, base_ + stats, kStateSize);
      do {
        t[1] = static_cast<std::uint8_t>(t[1] - (t[1] >> 1));
        esc_freq >>= 1;
      } while (esc_freq > 1);
      InsertNode(stats, U2I((num_stats + 1) >> 1));
      found_ = OneState(min_context_);
      std::memcpy(base_ + found_, t, kStateSize);
      return;
    }
    unsigned n0 = (num_stats + 1) >> 1, n1 = (NumStats(min_context_) + 1) >> 1;
    if (n0 != n1) SetStats(min_context_, ShrinkUnits(stats, n0, n1));
  }
  SetSummFreq(min_context_, sum_freq + esc_freq - (esc_freq >> 1));
  found_ = Stats(min_context_);
}

void Ppmd7Model::NextContext() {
  std::uint32_t c = Successor(found_);
  if (order_fall_ == 0 && c > text_)
    min_context_ = max_context_ = c;
  else
    UpdateModel();
}

void Ppmd7Model::Update1() {
  std::uint32_t s = found_;
  SetFreq(s, Freq(s) + 4);
  SetSummFreq(min_context_, SummFreq(min_context_) + 4);
  if (Freq(s) > Freq(s - kStateSize)) {
    SwapStates(s, s - kStateSize);
    found_ = s -= kStateSize;
    if (Freq(s) > kMaxFreq) Rescale();
  }
  NextContext();
}

void Ppmd7Model::Update1First() {
  prev_success_ = 2 * Freq(found_) > SummFreq(min_context_);
  run_length_ += static_cast<std::int32_t>(prev_success_);
  SetSummFreq(min_context_, SummFreq(min_context_) + 4);
  SetFreq(found_, Freq(found_) + 4);
  if (Freq(found_) > kMaxFreq) Rescale();
  NextContext();
}

void Ppmd7Model::UpdateBinary() {
  SetFreq(found_, Freq(found_) + (Freq(found_) < 128 ? 1 : 0));
  prev_success_ = 1;
  ++run_length_;
  NextContext();
}

void Ppmd7Model::Update2() {
  SetFreq(found_, Freq(found_) + 4);
  SetSummFreq(min_context_, SummFreq(min_context_) + 4);
  if (Freq(found_) > kMaxFreq) Rescale();
  run_length_ = init_rl_;
  UpdateModel();
}

std::uint16_t* Ppmd7Model::BinarySumm() {
  std::uint32_t one = OneState(min_context_);
  hi_bits_flag_ = hb2_flag_[Symbol(found_)];
  return &bin_summ_[Freq(one) - 1][prev_success_ + ns2bsindx_[NumStats(Suffix(min_context_)) - 1] +
                                   hi_bits_flag_ + 2 * hb2_flag_[Symbol(one)] +
                                   ((static_cast<std::uint32_t>(run_length_) >> 26) & 0x20)];
}

Ppmd7Model::See* Ppmd7Model::EscapeFrequency(unsigned masked, std::uint32_t* frequency) {
  unsigned num_stats = NumStats(min_context_);
  if (num_stats == 256) {
    *frequency = 1;
    return &dummy_see_;
  }
  unsigned non_masked = num_stats - masked;
  See* see =
      see_[ns2indx_[non_masked - 1]] + (non_masked < NumStats(Suffix(min_context_)) - num_stats) +
      2 * (SummFreq(min_context_) < 11 * num_stats) + 4 * (masked > non_masked) + hi_bits_flag_;
  unsigned r = see->summ >> see->shift;
  see->summ = static_cast<std::uint16_t>(see->summ - r);
  *frequency = r + (r == 0);
  return see;
}

void Ppmd7Model::UpdateSee(See* see) {
  if (see->shift < kPeriodBits && --see->count == 0) {
    see->summ = static_cast<std::uint16_t>(see->summ << 1);
    see->count = static_cast<std::uint8_t>(3 << see->shift++);
  }
}

}  // namespace oxlip::archive
