#include "archive/ppmd7_decoder.h"

#include <algorithm>
#include <memory>

#include "archive/ppmd7_model.h"

namespace oxlip::archive {
namespace {

constexpr std::uint32_t kTop = 1 << 24;
constexpr std::uint8_t kExpEscape[16] = {25, 14, 9, 7, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2};
constexpr std::size_t kPiece = 1 << 17;

// 7z's range decoder, reading the packed pieces as it goes.
class RangeDecoder {
 public:
  explicit RangeDecoder(const PackedPieces& input) : input_(input) {}

  bool Init() {
    if (Byte() != 0) return false;
    for (int i = 0; i < 4; ++i) code_ = (code_ << 8) | Byte();
    return code_ < 0xFFFFFFFF && !failed_;
  }
  std::uint32_t Threshold(std::uint32_t total) { return code_ / (range_ /= total); }
  void Decode(std::uint32_t start, std::uint32_t size) {
    code_ -= start * range_;
    range_ *= size;
    Normalize();
  }
  unsigned DecodeBit(std::uint32_t size0, std::uint32_t total) {
    std::uint32_t bound = (range_ / total) * size0;
    unsigned bit = 0;
    if (code_ < bound) {
      range_ = bound;
    } else {
      bit = 1;
      code_ -= bound;
      range_ -= bound;
    }
    Normalize();
    return bit;
  }
  // Read past the end of the packed data, could not read it, or found it damaged.
  bool failed() const { return failed_; }

 private:
  std::uint8_t Byte() {
    if (next_ != end_) return *next_++;
    return Refill();
  }
  std::uint8_t Refill() {
    const char* data = nullptr;
    std::size_t size = 0;
    if (failed_ || !input_(&data, &size) || size == 0) {
      failed_ = true;
      return 0;
    }
    next_ = reinterpret_cast<const std::uint8_t*>(data);
    end_ = next_ + size;
    return *next_++;
  }
  // Twice at most for data the packer wrote; damaged data could shrink the range further, and
  // an empty range would divide by zero.
  void Normalize() {
    while (range_ < kTop) {
      if (range_ == 0) {
        failed_ = true;
        range_ = 1;
      }
      code_ = (code_ << 8) | Byte();
      range_ <<= 8;
    }
  }

  const PackedPieces& input_;
  const std::uint8_t* next_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  std::uint32_t code_ = 0, range_ = 0xFFFFFFFF;
  bool failed_ = false;
};

unsigned Mean(unsigned prob) {
  return (prob + (1 << (Ppmd7Model::kPeriodBits - 2))) >> Ppmd7Model::kPeriodBits;
}

// In a context of several symbols: the symbol, or -1 for an escape (the mask then holds the
// symbols ruled out).
int DecodeInContext(Ppmd7Model& m, RangeDecoder& rc, std::uint8_t* mask) {
  std::uint32_t context = m.min_context_;
  std::uint32_t s = m.Stats(context);
  m.PrefetchSuccessor(s);
  std::uint32_t count = rc.Threshold(m.SummFreq(context));
  std::uint32_t high = m.Freq(s);
  if (count < high) {
    rc.Decode(0, high);
    m.found_ = s;
    std::uint8_t symbol = m.Symbol(s);
    m.Update1First();
    return symbol;
  }
  m.prev_success_ = 0;
  unsigned i = m.NumStats(context) - 1;
  do {
    s += Ppmd7Model::kStateSize;
    if ((high += m.Freq(s)) > count) {
      m.PrefetchSuccessor(s);
      rc.Decode(high - m.Freq(s), m.Freq(s));
      m.found_ = s;
      std::uint8_t symbol = m.Symbol(s);
      m.Update1();
      return symbol;
    }
  } while (--i);
  if (count >= m.SummFreq(context)) return -2;
  m.hi_bits_flag_ = m.hb2_flag_[m.Symbol(m.found_)];
  rc.Decode(high, m.SummFreq(context) - high);
  std::memset(mask, 0xFF, 256);
  mask[m.Symbol(s)] = 0;
  i = m.NumStats(context) - 1;
  do {
    s -= Ppmd7Model::kStateSize;
    mask[m.Symbol(s)] = 0;
  } while (--i);
  return -1;
}

// In a context of one symbol: the symbol, or -1 for an escape.
int DecodeBinary(Ppmd7Model& m, RangeDecoder& rc, std::uint8_t* mask) {
  std::uint32_t one = Ppmd7Model::OneState(m.min_context_);
  m.PrefetchSuccessor(one);
  std::uint16_t* prob = m.BinarySumm();
  if (rc.DecodeBit(*prob, Ppmd7Model::kBinScale) == 0) {
    *prob = static_cast<std::uint16_t>(*prob + (1 << Ppmd7Model::kIntBits) - Mean(*prob));
    m.found_ = one;
    std::uint8_t symbol = m.Symbol(one);
    m.UpdateBinary();
    return symbol;
  }
  *prob = static_cast<std::uint16_t>(*prob - Mean(*prob));
  m.init_esc_ = kExpEscape[*prob >> 10];
  std::memset(mask, 0xFF, 256);
  mask[m.Symbol(one)] = 0;
  m.prev_success_ = 0;
  return -1;
}

constexpr unsigned kRun = 8;

// The frequency of the state at `s` unless the mask rules its symbol out.
std::uint32_t Unmasked(const std::uint8_t* s, const std::uint8_t* mask) {
  return s[1] & mask[s[0]];
}

// The unmasked frequencies of the n states at `s` as a running total after each run of kRun
// states (and after the rest), so that finding the symbol skips whole runs.
std::uint32_t UnmaskedTotals(const std::uint8_t* s, unsigned n, const std::uint8_t* mask,
                             std::uint32_t* after) {
  constexpr unsigned k = Ppmd7Model::kStateSize;
  std::uint32_t total = 0;
  for (; n >= kRun; n -= kRun, s += kRun * k) {
    std::uint32_t a = Unmasked(s, mask) + Unmasked(s + k, mask) + Unmasked(s + 2 * k, mask) +
                      Unmasked(s + 3 * k, mask);
    std::uint32_t b = Unmasked(s + 4 * k, mask) + Unmasked(s + 5 * k, mask) +
                      Unmasked(s + 6 * k, mask) + Unmasked(s + 7 * k, mask);
    *after++ = total += a + b;
  }
  for (; n > 0; --n, s += k) total += Unmasked(s, mask);
  *after = total;
  return total;
}

// The state whose unmasked frequencies cover `count` (below the total).
const std::uint8_t* FindUnmasked(const std::uint8_t* stats, const std::uint8_t* mask,
                                 const std::uint32_t* after, std::uint32_t count,
                                 std::uint32_t* high) {
  unsigned run = 0;
  while (after[run] <= count) ++run;
  const std::uint8_t* s = stats + run * kRun * Ppmd7Model::kStateSize;
  for (*high = (run ? after[run - 1] : 0) + Unmasked(s, mask); *high <= count;
       *high += Unmasked(s, mask))
    s += Ppmd7Model::kStateSize;
  return s;
}

// The next symbol; -1 at the end mark, -2 on damaged data.
int DecodeSymbol(Ppmd7Model& m, RangeDecoder& rc) {
  std::uint8_t mask[256];
  int symbol =
      m.NumStats(m.min_context_) != 1 ? DecodeInContext(m, rc, mask) : DecodeBinary(m, rc, mask);
  if (symbol != -1) return symbol;
  // Escapes to shorter contexts, leaving out the symbols already ruled out.
  const std::uint8_t* base = m.Base();
  for (;;) {
    unsigned masked = m.NumStats(m.min_context_);
    do {
      ++m.order_fall_;
      if (!m.Suffix(m.min_context_)) return -1;
      m.min_context_ = m.Suffix(m.min_context_);
    } while (m.NumStats(m.min_context_) == masked);
    const std::uint8_t* stats = base + m.Stats(m.min_context_);
    unsigned n = m.NumStats(m.min_context_);
    std::uint32_t after[256 / kRun + 1];
    std::uint32_t high = UnmaskedTotals(stats, n, mask, after);
    std::uint32_t freq_sum = 0;
    Ppmd7Model::See* see = m.EscapeFrequency(masked, &freq_sum);
    freq_sum += high;
    std::uint32_t count = rc.Threshold(freq_sum);
    if (count < high) {
      const std::uint8_t* s = FindUnmasked(stats, mask, after, count, &high);
      rc.Decode(high - s[1], s[1]);
      Ppmd7Model::UpdateSee(see);
      m.found_ = static_cast<std::uint32_t>(s - base);
      std::uint8_t found = s[0];
      m.Update2();
      return found;
    }
    if (count >= freq_sum) return -2;
    rc.Decode(high, freq_sum - high);
    see->summ = static_cast<std::uint16_t>(see->summ + freq_sum);
    for (const std::uint8_t* s = stats; n > 0; --n, s += Ppmd7Model::kStateSize) mask[s[0]] = 0;
  }
}

bool Damaged(std::string* error, const char* why) {
  *error = std::string("damaged archive: ") + why;
  return false;
}

std::uint32_t MemorySize(std::string_view props) {
  std::uint32_t memory = 0;
  for (int i = 4; i >= 1; --i) memory = (memory << 8) | static_cast<std::uint8_t>(props[i]);
  return memory;
}

}  // namespace

bool PpmdPropertiesValid(std::string_view props) {
  if (props.size() != 5) return false;
  unsigned order = static_cast<std::uint8_t>(props[0]);
  std::uint32_t memory = MemorySize(props);
  return order >= Ppmd7Model::kMinOrder && order <= Ppmd7Model::kMaxOrder &&
         memory >= Ppmd7Model::kMinMemory && memory <= Ppmd7Model::kMaxMemory;
}

bool DecodePpmd7(std::string_view props, std::uint64_t size, const PackedPieces& input,
                 const Sink& sink, std::string* error) {
  if (!PpmdPropertiesValid(props)) return Damaged(error, "unknown coder properties");
  auto model = std::make_unique<Ppmd7Model>();
  if (!model->Init(MemorySize(props), static_cast<std::uint8_t>(props[0]))) {
    *error = "out of memory for the PPMd model";
    return false;
  }
  RangeDecoder rc(input);
  if (!rc.Init()) return Damaged(error, "invalid data");
  std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(size, kPiece));
  auto out = std::make_unique_for_overwrite<char[]>(piece);
  while (size > 0) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, piece));
    for (std::size_t i = 0; i < n; ++i) {
      int symbol = DecodeSymbol(*model, rc);
      if (symbol < 0) return Damaged(error, "invalid data");
      out[i] = static_cast<char>(symbol);
    }
    if (rc.failed()) return Damaged(error, "data ends early or is damaged");
    if (!sink(out.get(), n)) return false;
    size -= n;
  }
  return true;
}

}  // namespace oxlip::archive
