// The program's settings (QSettings, application name = the executable's base name):
// the two scale percentages in section "Settings" and the recent files.
#pragma once

#include <QString>
#include <QStringList>

namespace mw {

inline constexpr char kScaleToObj[] = "ScaleToObj";
inline constexpr char kScaleFromObj[] = "ScaleFromObj";

// The stored text of a scale setting, "100" when absent.
QString readScaleText(const char* key);
// Stores `text` unchanged under `key`.
void writeScaleText(const char* key, const QString& text);
// The percentage a setting's text stands for: a positive finite number ("." as decimal
// point); anything else is 100 with `valid` set to false.
double scalePercent(const QString& text, bool* valid = nullptr);

inline constexpr int kMaxRecentFiles = 8;
QStringList recentFiles();
// Puts `path` first in the recent files (once), keeping at most kMaxRecentFiles.
void addRecentFile(const QString& path);

} // namespace mw
