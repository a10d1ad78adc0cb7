#include "FileFilter.h"

#include <QStringList>

QString QtNameFilters(const QString& filter) {
  if (!filter.contains(QLatin1Char('|'))) return filter;
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    // The chooser shows only the description (the patterns it reads from the last
    // parentheses are hidden), so the description stays as the caller wrote it.
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}
