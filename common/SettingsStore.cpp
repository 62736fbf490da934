#include "common/SettingsStore.h"

#include <QSettings>
#include <QString>

#include "common/Config.h"
#include "common/Error.h"

namespace Main {
namespace {

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) { return text.toStdU16String(); }

}  // namespace

struct SettingsStore::Impl {
  std::unique_ptr<QSettings> settings;
};

SettingsStore::SettingsStore(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {
  impl_->settings->beginGroup(ToQString(Config::kProductName));
}

SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;
SettingsStore::~SettingsStore() = default;

SettingsStore SettingsStore::ForCurrentUser() {
  auto impl = std::make_unique<Impl>();
#ifdef _WIN32
  impl->settings = std::make_unique<QSettings>(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
          ToQString(Config::kCompanyName),
      QSettings::NativeFormat);
#else
  impl->settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                               ToQString(Config::kCompanyName),
                                               ToQString(Config::kProductName));
#endif
  return SettingsStore(std::move(impl));
}

SettingsStore SettingsStore::AtFile(const std::filesystem::path& file) {
  auto impl = std::make_unique<Impl>();
  impl->settings = std::make_unique<QSettings>(QString::fromStdString(file.string()),
                                               QSettings::IniFormat);
  return SettingsStore(std::move(impl));
}

std::u16string SettingsStore::Read(std::u16string_view key, std::u16string_view defaultValue) const {
  const QVariant value = impl_->settings->value(ToQString(key));
  if (!value.isValid()) return std::u16string(defaultValue);
  return FromQString(value.toString());
}

void SettingsStore::Write(std::u16string_view key, std::u16string_view value) {
  impl_->settings->setValue(ToQString(key), ToQString(value));
  impl_->settings->sync();
  if (impl_->settings->status() != QSettings::NoError) {
    throw Error(ErrorNumber::kUnexpected,
                u"The settings could not be saved to " +
                    FromQString(impl_->settings->fileName()) + u".");
  }
}

}  // namespace Main
