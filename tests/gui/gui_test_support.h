// A main window on a scripted dialog service, with the settings in a temporary folder, and
// the helpers the window tests share.
#pragma once

#include "app/dialog_service.h"
#include "app/document.h"
#include "app/main_window.h"
#include "gmdc/ui/gmdc_editing_window.h"
#include "support/cli_run.h"
#include "support/test_support.h"

#include <QAction>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace mw::test {

inline std::string example(const char* name)
{
    return std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/" + name;
}

inline QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

class GuiTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, q(dir.file("settings")));
        registerGmdcEditingWindow();
        document = std::make_unique<Document>(dialogs);
        window = std::make_unique<MainWindow>(*document);
    }
    void TearDown() override
    {
        window.reset();
        document.reset();
    }
    template <class T = QWidget> T* find(QWidget* parent, const char* name)
    {
        T* w = parent->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    template <class T = QWidget> T* find(const char* name) { return find<T>(window.get(), name); }
    void click(QWidget* parent, const char* name) { QTest::mouseClick(find<QWidget>(parent, name), Qt::LeftButton); }
    void click(const char* name) { click(window.get(), name); }
    void trigger(const char* action) { window->findChild<QAction*>(QLatin1String(action))->trigger(); }
    void answer(std::initializer_list<std::string> files)
    {
        for (const std::string& f : files)
            dialogs.fileAnswers.push_back(q(f));
    }
    // Runs step 3 with `edit` applied to the modal group editor, which it then closes.
    template <class F> void inGroupEditor(F edit)
    {
        QTimer::singleShot(0, [this, edit] {
            edit(window->groupEditor());
            click(window->groupEditor(), "Command2");
        });
        click("Command3");
    }

    TempDir dir;
    ScriptedDialogService dialogs;
    std::unique_ptr<Document> document;
    std::unique_ptr<MainWindow> window;
};

} // namespace mw::test
