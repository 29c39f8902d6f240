// Settings stored with QSettings.
#include "app/settings.h"

#include <QSettings>

#include <cmath>

namespace mw {

namespace {

QString scaleKey(const char* key)
{
    return QStringLiteral("Settings/") + QLatin1String(key);
}

} // namespace

QString readScaleText(const char* key)
{
    return QSettings().value(scaleKey(key), QStringLiteral("100")).toString();
}

void writeScaleText(const char* key, const QString& text)
{
    QSettings().setValue(scaleKey(key), text);
}

double scalePercent(const QString& text, bool* valid)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok); // QString::toDouble reads "." only
    ok = ok && std::isfinite(value) && value > 0;
    if (valid)
        *valid = ok;
    return ok ? value : 100.0;
}

QStringList recentFiles()
{
    return QSettings().value(QStringLiteral("Recent/files")).toStringList();
}

void addRecentFile(const QString& path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kMaxRecentFiles)
        files.removeLast();
    QSettings().setValue(QStringLiteral("Recent/files"), files);
}

} // namespace mw
