// The real and the scripted dialog services.
#include "app/dialog_service.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QRegularExpression>

namespace mw {

QString qtFilterFromPipes(const QString& filter)
{
    const QStringList parts = filter.split(QRegularExpression(QStringLiteral("[|:]")));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed();
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!variant.isEmpty() && !patterns.contains(variant))
                    patterns << variant;
        }
        // Qt takes the patterns from the last parentheses, so the description's own
        // "(*.simpe)" is replaced by the full list.
        QString shown = description;
        const qsizetype open = shown.lastIndexOf(QLatin1Char('('));
        if (open > 0 && shown.endsWith(QLatin1Char(')')))
            shown = shown.left(open).trimmed();
        entries << QStringLiteral("%1 (%2)").arg(shown, patterns.join(QLatin1Char(' ')));
    }
    return entries.isEmpty() ? QStringLiteral("All (*)") : entries.join(QStringLiteral(";;"));
}

QString QtDialogService::openFile(QWidget* owner, const QString& title, const QString& filter, const QString& folder)
{
    return QFileDialog::getOpenFileName(owner, title, folder, qtFilterFromPipes(filter));
}

QString QtDialogService::saveFile(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& initialPath)
{
    // QFileDialog asks before overwriting unless told not to.
    return QFileDialog::getSaveFileName(owner, title, initialPath, qtFilterFromPipes(filter));
}

void QtDialogService::message(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, owner);
    box.exec();
}

QMessageBox::StandardButton QtDialogService::question(QWidget* owner, const QString& text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text, buttons, owner);
    box.setDefaultButton(defaultButton);
    const int answer = box.exec();
    return static_cast<QMessageBox::StandardButton>(answer);
}

bool QtDialogService::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

QString ScriptedDialogService::nextFile()
{
    if (fileAnswers.empty())
        return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogService::openFile(QWidget*, const QString& title, const QString& filter, const QString& folder)
{
    asked.append({QStringLiteral("open"), title, filter, folder});
    return nextFile();
}

QString ScriptedDialogService::saveFile(QWidget*, const QString& title, const QString& filter,
                                        const QString& initialPath)
{
    asked.append({QStringLiteral("save"), title, filter, initialPath});
    return nextFile();
}

void ScriptedDialogService::message(QWidget*, const QString& text)
{
    asked.append({QStringLiteral("message"), {}, {}, text});
}

QMessageBox::StandardButton ScriptedDialogService::question(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                                            QMessageBox::StandardButton)
{
    asked.append({QStringLiteral("question"), {}, {}, text});
    if (questionAnswers.empty())
        return QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

bool ScriptedDialogService::openUrl(const QUrl& url)
{
    asked.append({QStringLiteral("url"), {}, {}, url.toString()});
    return openUrlResult;
}

QStringList ScriptedDialogService::messages() const
{
    QStringList texts;
    for (const Asked& a : asked)
        if (a.kind == QLatin1String("message"))
            texts << a.text;
    return texts;
}

int ScriptedDialogService::count(const QString& kind) const
{
    int n = 0;
    for (const Asked& a : asked)
        n += a.kind == kind ? 1 : 0;
    return n;
}

} // namespace mw
