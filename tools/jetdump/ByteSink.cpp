#include "tools/jetdump/ByteSink.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "common/Error.h"

namespace JetDump {
namespace {

// "Device I/O error"
constexpr long kDeviceIoError = 57;

}  // namespace

void StreamSink::Write(const char* bytes, size_t size) { out_.write(bytes, static_cast<std::streamsize>(size)); }

void DescriptorSink::Write(const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(descriptor_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const std::string reason = written < 0 ? std::strerror(errno) : "the system took no bytes";
      throw Main::Error(kDeviceIoError, "Could not write the output: " + reason + ".");
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
}

}  // namespace JetDump
