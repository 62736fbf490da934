#pragma once

#include <filesystem>

// The sample database that "Load Sample/Example Database" names.
namespace Windows {

// The sample beside the program when this user can write it (or when it is missing, so that
// "Next >" finds nothing as before). When it cannot be written — installed under a system prefix,
// on a read-only folder or medium — the user's private copy `privateFolder`/Samples/sample.mdb,
// made from it the first time and never overwritten afterwards, as Windows keeps a per-user copy
// of a file a program changes under Program Files. Throws Main::Error when the copy cannot be
// made.
std::filesystem::path UsableSample(const std::filesystem::path& programSample,
                                   const std::filesystem::path& privateFolder);

}  // namespace Windows
