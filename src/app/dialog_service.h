// Every file dialog and message box of the desktop program goes through one DialogService,
// so that windows ask with one call and tests answer from a script instead of a modal
// dialog. Filters are given as pairs joined by "|" ("Sims 2 Mesh (*.simpe)|*.simpe").
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>

class QWidget;

namespace mw {

// Converts a "|"-separated filter into Qt's ";;" form. Every "|" and every ":" separates
// entries, taken in pairs of description and pattern; a lone last entry is dropped. A
// pattern is offered in lower and upper case ("*.obj *.OBJ") so that files named either
// way show up on case-sensitive file systems. An empty text gives "All (*)".
QString qtFilterFromPipes(const QString& filter);

class DialogService {
  public:
    virtual ~DialogService() = default;

    // Asks for an existing file, starting in `folder` (or where the last dialog was);
    // returns its full path, or "" when cancelled.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& filter,
                             const QString& folder = {}) = 0;
    // Asks for a file name to save to, starting at `initialPath` (a folder, a name or
    // both); asks before overwriting. Returns the full path, or "" when cancelled.
    virtual QString saveFile(QWidget* owner, const QString& title, const QString& filter,
                             const QString& initialPath = {}) = 0;
    // A modal box with the program's title, `text` and an OK button.
    virtual void message(QWidget* owner, const QString& text) = 0;
    // A modal question offering `buttons`; returns the one chosen (Cancel or Escape when
    // the box is closed).
    virtual QMessageBox::StandardButton question(QWidget* owner, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;
    // Asks the desktop to open `url` (a web page or a local file); false when it could not.
    virtual bool openUrl(const QUrl& url) = 0;
    // A modal list of `items` under `text`; returns the 0-based row chosen, -1 when cancelled.
    virtual int chooseItem(QWidget* owner, const QString& title, const QString& text, const QStringList& items) = 0;
};

// The real dialogs: QFileDialog, QMessageBox and QDesktopServices.
class QtDialogService final : public DialogService {
  public:
    QString openFile(QWidget* owner, const QString& title, const QString& filter, const QString& folder = {}) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& filter,
                     const QString& initialPath = {}) override;
    void message(QWidget* owner, const QString& text) override;
    QMessageBox::StandardButton question(QWidget* owner, const QString& text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    bool openUrl(const QUrl& url) override;
    int chooseItem(QWidget* owner, const QString& title, const QString& text, const QStringList& items) override;
};

// Answers from queues that a test fills in advance and records what was asked. An empty
// queue answers like a cancelled dialog (an empty name, Cancel).
class ScriptedDialogService final : public DialogService {
  public:
    struct Asked {
        QString kind; // "open", "save", "message", "question", "url" or "choose"
        QString title;
        QString filter;
        QString text;      // the message, the question, the initial folder or path, the url or the choice's text
        QStringList items; // the rows a choice offered
    };

    std::deque<QString> fileAnswers; // for openFile and saveFile, in order
    std::deque<QMessageBox::StandardButton> questionAnswers;
    std::deque<int> choiceAnswers; // rows for chooseItem; -1 cancels
    bool openUrlResult = true;
    QList<Asked> asked;

    QString openFile(QWidget* owner, const QString& title, const QString& filter, const QString& folder = {}) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& filter,
                     const QString& initialPath = {}) override;
    void message(QWidget* owner, const QString& text) override;
    QMessageBox::StandardButton question(QWidget* owner, const QString& text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    bool openUrl(const QUrl& url) override;
    int chooseItem(QWidget* owner, const QString& title, const QString& text, const QStringList& items) override;

    // The texts of every message box shown, in order.
    QStringList messages() const;
    int count(const QString& kind) const;

  private:
    QString nextFile();
};

} // namespace mw
