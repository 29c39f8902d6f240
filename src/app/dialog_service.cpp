// The real and the scripted dialog services.
#include "app/dialog_service.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

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
    if (!filter.contains(QLatin1String("*.package")))
        return QFileDialog::getSaveFileName(owner, title, initialPath, qtFilterFromPipes(filter));
    // Where the filter decides what is written (a package or a GMDC file), a name typed
    // without an extension gets the chosen filter's; other saves keep the name as typed.
    static const QRegularExpression firstSuffix(QStringLiteral("\\*\\.(\\w+)"));
    QFileDialog dialog(owner, title, initialPath, qtFilterFromPipes(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto useSuffixOf = [&dialog](const QString& chosen) {
        dialog.setDefaultSuffix(firstSuffix.match(chosen).captured(1));
    };
    useSuffixOf(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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

int QtDialogService::chooseItem(QWidget* owner, const QString& title, const QString& text, const QStringList& items)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(title);
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("lstChoices"));
    list->setAccessibleName(text);
    list->addItems(items);
    list->setCurrentRow(0);
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setBuddy(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QObject::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QObject::tr("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept); // Enter or double click
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    list->setFocus();
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
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
    asked.append({QStringLiteral("open"), title, filter, folder, {}});
    return nextFile();
}

QString ScriptedDialogService::saveFile(QWidget*, const QString& title, const QString& filter,
                                        const QString& initialPath)
{
    asked.append({QStringLiteral("save"), title, filter, initialPath, {}});
    return nextFile();
}

void ScriptedDialogService::message(QWidget*, const QString& text)
{
    asked.append({QStringLiteral("message"), {}, {}, text, {}});
}

QMessageBox::StandardButton ScriptedDialogService::question(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                                            QMessageBox::StandardButton)
{
    asked.append({QStringLiteral("question"), {}, {}, text, {}});
    if (questionAnswers.empty())
        return QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

bool ScriptedDialogService::openUrl(const QUrl& url)
{
    asked.append({QStringLiteral("url"), {}, {}, url.toString(), {}});
    return openUrlResult;
}

int ScriptedDialogService::chooseItem(QWidget*, const QString& title, const QString& text, const QStringList& items)
{
    asked.append({QStringLiteral("choose"), title, {}, text, items});
    if (choiceAnswers.empty())
        return -1;
    const int row = choiceAnswers.front();
    choiceAnswers.pop_front();
    return row >= 0 && row < items.size() ? row : -1;
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
