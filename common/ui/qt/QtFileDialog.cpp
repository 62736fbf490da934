#include "common/ui/qt/QtFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

#include "common/ui/qt/QtText.h"

namespace Ui {
namespace {

QString QtPatterns(const QString& patterns) {
  QStringList qtPatterns;
  for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    if (trimmed.isEmpty()) continue;
    qtPatterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
  }
  return qtPatterns.join(u' ');
}

}  // namespace

QStringList QtNameFilters(std::u16string_view filter) {
  static const QRegularExpression bracketedPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  const QStringList parts = ToQString(filter).split(u'|');
  QStringList nameFilters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = QString(parts[i]).remove(bracketedPatterns).trimmed();
    const QString patterns = QtPatterns(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    nameFilters << (description.isEmpty() ? patterns : description + QStringLiteral(" (") + patterns + u')');
  }
  return nameFilters;
}

std::u16string QtFileDialog::ShowOpen(const OpenFileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), ToQString(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList nameFilters = QtNameFilters(request.filter);
  if (!nameFilters.isEmpty()) {
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(nameFilters.first());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return FromQString(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

}  // namespace Ui
