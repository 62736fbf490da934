#pragma once

#include <iconv.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

// One conversion of the system's iconv(3), opened once and reused by every caller.
namespace Jet {

class IconvConverter {
 public:
  // Why a conversion stopped before the end of its input.
  enum class Stop {
    kEnd,         // everything converted
    kInvalid,     // a sequence the source cannot hold, or a character the target cannot
    kIncomplete,  // the input ends inside a sequence
  };
  struct Outcome {
    size_t read = 0;  // input bytes converted
    Stop stop = Stop::kEnd;
  };

  // Between iconv's names of two encodings ("CP932", "UTF-16LE"); null when this system's iconv
  // does not know one of them.
  static std::unique_ptr<IconvConverter> Open(const char* to, const char* from);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // Converts `in` from its start until its end or the first sequence that does not convert,
  // appending what it converts to `out` (a string or vector of 1- or 2-byte units; UTF-16 output
  // is whole units). Calls from several threads are taken one at a time: an iconv descriptor
  // keeps state between calls.
  template <class Units>
  Outcome Convert(std::span<const uint8_t> in, Units& out) const {
    constexpr size_t kUnit = sizeof(typename Units::value_type);
    const std::lock_guard<std::mutex> hold(lock_);
    Reset();
    Outcome outcome;
    for (;;) {
      const size_t used = out.size();
      // Room for the worst case of the encodings used: two output bytes for every input byte.
      out.resize(used + (2 * (in.size() - outcome.read) + 8) / kUnit);
      size_t room = (out.size() - used) * kUnit;
      const bool full = Step(in.subspan(outcome.read), reinterpret_cast<char*>(out.data() + used), room, outcome);
      out.resize(out.size() - room / kUnit);
      if (!full) return outcome;
    }
  }

 private:
  explicit IconvConverter(iconv_t handle) : handle_(handle) {}
  void Reset() const;
  // One call of iconv: converts into `to` (`room` bytes, left with what stays free), adds the
  // bytes read to `outcome` and sets its stop; true when it stopped because `to` was full.
  bool Step(std::span<const uint8_t> in, char* to, size_t& room, Outcome& outcome) const;

  iconv_t handle_;
  mutable std::mutex lock_;
};

}  // namespace Jet
