#pragma once

// The exit statuses of quorvane-clean.
namespace Clean {

inline constexpr int kExitDone = 0;      // every record handled, or the listing printed
inline constexpr int kExitRefused = 1;   // some records refused, or an error reported during the run
inline constexpr int kExitUsage = 2;     // a usage error, or a database that cannot be opened

}  // namespace Clean
