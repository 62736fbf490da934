#pragma once

#include <cstddef>
#include <ostream>

// Where jetdump's buffered output goes: a stream (the tests, the listings' stream) or a file
// descriptor written with write(2), one call a buffer where the system takes it whole.
namespace JetDump {

// Takes blocks of bytes in order; throws Main::Error when they cannot be written.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(const char* bytes, size_t size) = 0;
};

// Writes to a stream; a failed stream is told by the stream's state, as its other writers leave it.
class StreamSink : public ByteSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  void Write(const char* bytes, size_t size) override;

 private:
  std::ostream& out_;
};

// Writes to an open file descriptor (not closed here), retrying interrupted and partial writes.
class DescriptorSink : public ByteSink {
 public:
  explicit DescriptorSink(int descriptor) : descriptor_(descriptor) {}
  void Write(const char* bytes, size_t size) override;

 private:
  int descriptor_;
};

}  // namespace JetDump
