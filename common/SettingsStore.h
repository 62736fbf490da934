#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// The per-user settings store: text values under application Kestrova, section Quorvane. A read
// of a key never written gives the default; a write takes effect at once.
namespace Main {

class SettingsStore {
 public:
  // The current user's store. On Windows the registry key
  // HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Kestrova\Quorvane, where earlier
  // versions of the program kept their settings; elsewhere the platform's settings location.
  static SettingsStore ForCurrentUser();

  // A store kept in the given file (tests).
  static SettingsStore AtFile(const std::filesystem::path& file);

  SettingsStore(SettingsStore&&) noexcept;
  SettingsStore& operator=(SettingsStore&&) noexcept;
  ~SettingsStore();

  std::u16string Read(std::u16string_view key, std::u16string_view defaultValue = {}) const;

  // Writes and saves at once; throws Main::Error when the store cannot be saved.
  void Write(std::u16string_view key, std::u16string_view value);

  // The keys in use.
  static constexpr std::u16string_view kDatabasePathKey = u"AccessMDBFile";
  static constexpr std::u16string_view kPasswordKey = u"AccessPassword";
  static constexpr std::u16string_view kOperationKey = u"Combo1";

 private:
  struct Impl;
  explicit SettingsStore(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace Main
