// The start-up window: the four steps of editing an existing mesh, "Convert to OBJ", the
// new-object wizard, the debug box and the menu that opens the other windows. Closing it
// ends the program (after the unsaved-changes question).
#pragma once

#include "app/group_editor.h"
#include "app/scaling_options.h"
#include "merge/merge_options.h"
#include "wizard/ui/wizard_window.h"

#include <QMainWindow>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QLabel;
class QToolButton;
class QPushButton;

namespace mw {

class Document;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(Document& document, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return document_; }
    // The import options as the group editor holds them (its initial states when it was
    // never opened or was destroyed).
    ImportOptions importOptions() const;
    // Opens files as the steps would: a mesh as step 1, a GMDC as step 2 (mesh first).
    // Asks the unsaved-changes question first. False when a file was refused or unknown.
    bool openFiles(const QStringList& paths);

    // The windows made on first use; null until then and after they were destroyed.
    GroupEditor* groupEditor() const { return groupEditor_; }
    ScalingOptions* scalingOptions() const { return scalingOptions_; }
    WizardWindow* wizardWindow() const { return wizard_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenu();
    QWidget* buildSteps();
    void updateButtons();
    void updateStatus();

    void step1();
    void step2();
    void step3();
    void step4();
    void convertToObj();
    void startWizard();
    void showScaling();
    void openReadme();
    bool openMesh(const QString& path);
    bool openGmdc(const QString& path);
    void fillRecentMenu();

    Document& document_;
    QLineEdit* txtInputFile_ = nullptr;
    QToolButton* cmdBrowse_ = nullptr;
    QToolButton* cmdLoadExistingGMDC_ = nullptr;
    QToolButton* command3_ = nullptr;
    QToolButton* cmdSaveToOrv_ = nullptr;
    QLabel* stepLabels_[4] = {};
    QPushButton* cmdConvertObj_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPlainTextEdit* text1_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QPointer<GroupEditor> groupEditor_;
    QPointer<ScalingOptions> scalingOptions_;
    QPointer<WizardWindow> wizard_;
};

} // namespace mw
