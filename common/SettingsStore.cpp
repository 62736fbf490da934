#include "common/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryFile>

#include "common/Config.h"
#include "common/Error.h"

namespace Main {
namespace {

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) { return text.toStdU16String(); }

#ifndef _WIN32
// Why the settings file cannot be written, found by doing what saving it does: make its folder,
// open the file, write beside it. The words are the system's.
QString WhyNotWritable(const QString& fileName) {
  const QFileInfo file(fileName);
  if (!QDir().mkpath(file.absolutePath())) {
    return QStringLiteral("its folder %1 cannot be made (a part of the path is missing, not a folder, or not "
                          "writable)").arg(QDir::toNativeSeparators(file.absolutePath()));
  }
  QFile existing(fileName);
  if (existing.exists() && !existing.open(QIODevice::ReadWrite | QIODevice::Append)) return existing.errorString();
  QTemporaryFile probe(file.absolutePath() + QStringLiteral("/.settings-probe-XXXXXX"));
  if (!probe.open()) return probe.errorString();
  const QByteArray block(64 * 1024, '\0');
  if (probe.write(block) != block.size() || !probe.flush()) return probe.errorString();
  return QStringLiteral("the system gave no reason");
}
#endif

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
    const QString file = impl_->settings->fileName();
#ifdef _WIN32
    const QString why = QStringLiteral("the registry refused the value");
#else
    const QString why = WhyNotWritable(file);
#endif
    throw Error(ErrorNumber::kUnexpected, u"The settings could not be saved to " +
                                              FromQString(QDir::toNativeSeparators(file)) + u": " +
                                              FromQString(why) + u".");
  }
}

}  // namespace Main
