#include "selection/SampleDatabase.h"

#include <system_error>

#include "common/Error.h"
#include "common/Text.h"
#include "database/BuildConnectionString.h"
#include "database/access/Connection.h"

namespace Windows {
namespace {

// Whether a read-write connection to the file would have to settle for reading. A file that
// cannot be opened at all (in use, damaged) counts as writable here: "Next >" tells the user.
bool OpensReadOnly(const std::filesystem::path& file) {
  try {
    const auto connection = Access::CreateConnection();
    connection->SetMode(Access::kModeReadWrite);
    connection->Open(Access1::BuildConnectionString(Main::FromUtf8(file.string()), u""));
    const bool readOnly = connection->IsReadOnly();
    connection->Close();
    return readOnly;
  } catch (const Main::Error&) {
    return false;
  }
}

[[noreturn]] void ThrowCopyFailed(const std::filesystem::path& copy, const std::error_code& error) {
  throw Main::Error(Main::ErrorNumber::kUnexpected, "The sample database could not be copied to " + copy.string() +
                                                         ": " + error.message() + ".");
}

// Copies under a temporary name first, so that a copy cut short is never taken for the sample.
void CopyOnce(const std::filesystem::path& from, const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(to.parent_path(), error);
  if (error) ThrowCopyFailed(to, error);
  fs::path partial = to;
  partial += ".partial";
  fs::copy_file(from, partial, fs::copy_options::overwrite_existing, error);
  if (!error) fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
  if (!error) fs::rename(partial, to, error);
  if (error) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    ThrowCopyFailed(to, error);
  }
}

}  // namespace

std::filesystem::path UsableSample(const std::filesystem::path& programSample,
                                   const std::filesystem::path& privateFolder) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(programSample, error) || !OpensReadOnly(programSample)) return programSample;
  const std::filesystem::path copy = privateFolder / "Samples" / "sample.mdb";
  if (!std::filesystem::exists(copy, error)) CopyOnce(programSample, copy);
  return copy;
}

}  // namespace Windows
