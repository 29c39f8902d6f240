// The main window.
#include "app/main_window.h"

#include "app/document.h"
#include "app/group_editor.h"
#include "app/scaling_options.h"
#include "app/settings.h"
#include "app/tool_windows.h"
#include "app/widgets.h"
#include "wizard/ui/wizard_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace mw {

namespace {

QToolButton* pictureButton(QStyle::StandardPixmap icon, const char* name, const QString& caption)
{
    auto* button = named(new QToolButton, name, caption);
    button->setIcon(QApplication::style()->standardIcon(icon));
    button->setIconSize(QSize(40, 40));
    button->setToolTip(caption);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

MainWindow::MainWindow(Document& document, QWidget* parent) : QMainWindow(parent), document_(document)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(programTitle());
    setWindowIcon(QIcon(QStringLiteral(":/meshwright/meshwright.png")));
    setAcceptDrops(true);
    document_.setDialogOwner(this);

    buildMenu();
    setCentralWidget(buildSteps());
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("lblStatus"));
    statusBar()->addPermanentWidget(status_);

    connect(&document_, &Document::logged, text1_, &QPlainTextEdit::appendPlainText);
    connect(&document_, &Document::statusNote, this, [this](const QString& text) { statusBar()->showMessage(text); });
    for (auto signal : {&Document::gmdcChanged, &Document::modelsChanged, &Document::filesChanged})
        connect(&document_, signal, this, [this] {
            updateButtons();
            updateStatus();
        });
    connect(&document_, &Document::modifiedChanged, this, &MainWindow::updateStatus);
    updateButtons();
    updateStatus();
}

MainWindow::~MainWindow()
{
    if (document_.dialogOwner() == this)
        document_.setDialogOwner(nullptr);
}

void MainWindow::buildMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    auto item = [&](const QString& caption, const char* name) {
        QAction* action = file->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(item(tr("Set &Scaling"), "mnuFileScale"), &QAction::triggered, this, &MainWindow::showScaling);
    QAction* advanced = item(tr("Advanced Mode"), "mnuFileAdvanced");
    QAction* view3d = item(tr("3D View"), "mnuFile3D_view");
    for (auto [action, window] : {std::pair{advanced, ToolWindow::Advanced}, std::pair{view3d, ToolWindow::View3D}}) {
        action->setEnabled(hasToolWindow(window));
        if (!hasToolWindow(window))
            action->setToolTip(missingToolWindowTip(window));
        connect(action, &QAction::triggered, this, [this, w = window] { openToolWindow(w, document_, this); });
    }
    file->setToolTipsVisible(true);
    recentMenu_ = file->addMenu(tr("&Recent Files"));
    recentMenu_->setObjectName(QStringLiteral("mnuFileRecent"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    file->addSeparator();
    connect(item(tr("E&xit"), "mnuFileExit"), &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* undo = document_.undoStack()->createUndoAction(this, tr("&Undo"));
    undo->setObjectName(QStringLiteral("mnuEditUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = document_.undoStack()->createRedoAction(this, tr("&Redo"));
    redo->setObjectName(QStringLiteral("mnuEditRedo"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(undo);
    edit->addAction(redo);
}

QWidget* MainWindow::buildSteps()
{
    auto* central = new QWidget;

    // Edit an existing mesh: the four steps.
    auto* editFrame = named(new QGroupBox(tr("Edit an existing mesh")), "Frame1", tr("Edit an existing mesh"));
    auto* steps = new QGridLayout(editFrame);
    auto* heading = new QLabel(QStringLiteral("<b>%1</b> %2").arg(tr("Edit An Existing Mesh"), tr("Import New Mesh.")));
    steps->addWidget(heading, 0, 0, 1, 2);
    txtInputFile_ = named(new QLineEdit, "txtInputFile", tr("Input file"));
    txtInputFile_->setReadOnly(true);
    steps->addWidget(txtInputFile_, 1, 0, 1, 2);

    cmdBrowse_ = pictureButton(QStyle::SP_DialogOpenButton, "cmdBrowse", tr("Load 3d File"));
    cmdLoadExistingGMDC_ = pictureButton(QStyle::SP_FileIcon, "cmdLoadExistingGMDC", tr("Load Sims 2 Mesh"));
    command3_ = pictureButton(QStyle::SP_FileDialogDetailedView, "Command3", tr("Settings"));
    cmdSaveToOrv_ = pictureButton(QStyle::SP_DialogSaveButton, "cmdSaveToOrv", tr("Save File"));
    QToolButton* buttons[4] = {cmdBrowse_, cmdLoadExistingGMDC_, command3_, cmdSaveToOrv_};
    const char* labelNames[4] = {"Label8", "Label9", "Label10", "Label11"};
    const QString labels[4] = {tr("Load 3d File"), tr("Load Sims 2 Mesh"), tr("Settings"), tr("Save File")};
    const QString captions[4] = {tr("Step 1: Select OBJ file to import:"), tr("Step 2: Load the existing mesh"),
                                 tr("Step 3: (Optional)"), tr("Step 4: Save the file")};
    void (MainWindow::*handlers[4])() = {&MainWindow::step1, &MainWindow::step2, &MainWindow::step3,
                                         &MainWindow::step4};
    int row = 2;
    for (int i = 0; i < 4; ++i) {
        auto* label = named(new ClickLabel(QStringLiteral("<b>%1</b>").arg(labels[i])), labelNames[i], labels[i]);
        stepLabels_[i] = label;
        steps->addWidget(new QLabel(captions[i]), row, 1);
        steps->addWidget(buttons[i], row, 0, 2, 1);
        steps->addWidget(label, row + 1, 1);
        connect(buttons[i], &QToolButton::clicked, this, handlers[i]);
        connect(label, &ClickLabel::clicked, this, handlers[i]);
        row += 2;
        if (i == 0) {
            check1_ = named(new QCheckBox(tr("3ds studio SMD file")), "Check1", tr("3ds studio SMD file"));
            steps->addWidget(check1_, row++, 1);
        }
    }
    steps->setColumnStretch(1, 1);

    // Export, the wizard, the camera and the logo.
    auto* exportFrame = named(new QGroupBox(tr("Extract Sims 2 Mesh to OBJ File (Export)")), "Frame2",
                              tr("Extract Sims 2 Mesh to OBJ File (Export)"));
    cmdConvertObj_ = named(new QPushButton(tr("Convert to OBJ")), "cmdConvertObj", tr("Convert to OBJ"));
    connect(cmdConvertObj_, &QPushButton::clicked, this, &MainWindow::convertToObj);
    (new QVBoxLayout(exportFrame))->addWidget(cmdConvertObj_);

    auto* newFrame = named(new QGroupBox(tr("Create a new mesh")), "Frame3", tr("Create a new mesh"));
    auto* command2 = named(new QPushButton(tr("Simple Object Import")), "Command2", tr("Simple Object Import"));
    auto* label12 = named(new ClickLabel(tr("Object Wizard")), "Label12", tr("Object Wizard"));
    connect(command2, &QPushButton::clicked, this, &MainWindow::startWizard);
    connect(label12, &ClickLabel::clicked, this, &MainWindow::startWizard);
    auto* newLayout = new QVBoxLayout(newFrame);
    newLayout->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(tr("Create a New Mesh"))));
    newLayout->addWidget(label12);
    newLayout->addWidget(command2);

    auto* command5 = pictureButton(QStyle::SP_ComputerIcon, "Command5", tr("Camera"));
    command5->setEnabled(hasToolWindow(ToolWindow::Camera));
    command5->setToolTip(hasToolWindow(ToolWindow::Camera) ? tr("Camera") : missingToolWindowTip(ToolWindow::Camera));
    connect(command5, &QToolButton::clicked, this, [this] { openToolWindow(ToolWindow::Camera, document_, this); });

    auto* image4 = named(new QToolButton, "Image4", tr("Meshwright"));
    image4->setIcon(windowIcon());
    image4->setIconSize(QSize(96, 96));
    image4->setAutoRaise(true);
    image4->setToolTip(tr("Open the Meshwright README"));
    connect(image4, &QToolButton::clicked, this, &MainWindow::openReadme);

    auto* side = new QVBoxLayout;
    side->addWidget(image4, 0, Qt::AlignHCenter);
    side->addWidget(exportFrame);
    side->addWidget(newFrame);
    side->addWidget(command5, 0, Qt::AlignLeft);
    side->addStretch(1);

    text1_ = named(new QPlainTextEdit, "Text1", tr("Debug output:"));
    text1_->setReadOnly(true);
    auto* debugLabel = new QLabel(tr("Debug output:"));
    debugLabel->setBuddy(text1_);

    auto* top = new QHBoxLayout;
    top->addWidget(editFrame, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(debugLabel);
    layout->addWidget(text1_, 1);

    // The keyboard follows the steps.
    QWidget* order[] = {
        cmdBrowse_, check1_, cmdLoadExistingGMDC_, command3_, cmdSaveToOrv_, cmdConvertObj_, command2, command5,
        image4,     text1_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    return central;
}

void MainWindow::updateButtons()
{
    // Step 1, the wizard and the menu are always there; the rest follows what is loaded.
    const bool mesh = document_.hasMesh();
    const bool gmdc = document_.hasGmdc();
    cmdLoadExistingGMDC_->setEnabled(mesh);
    stepLabels_[1]->setEnabled(mesh);
    for (QWidget* w :
         {static_cast<QWidget*>(command3_), static_cast<QWidget*>(cmdSaveToOrv_), static_cast<QWidget*>(cmdConvertObj_),
          static_cast<QWidget*>(stepLabels_[2]), static_cast<QWidget*>(stepLabels_[3])})
        w->setEnabled(gmdc);
}

void MainWindow::updateStatus()
{
    QStringList parts;
    const State& state = document_.state();
    if (document_.hasMesh())
        parts
            << tr("Mesh: %1 (%2)").arg(fileName(document_.meshPath()), countOf(state.models.modelCount(), tr("model")));
    if (document_.hasGmdc())
        parts << tr("GMDC: %1 (%2)")
                     .arg(document_.gmdcSourceName(),
                          countOf(static_cast<qsizetype>(state.gmdc.objects.size()), tr("object")));
    if (!document_.savedPath().isEmpty())
        parts << tr("Last saved to %1").arg(document_.savedPath());
    if (document_.isModified())
        parts << tr("Unsaved changes");
    status_->setText(parts.isEmpty() ? tr("Nothing loaded") : parts.join(QStringLiteral(" | ")));
}

ImportOptions MainWindow::importOptions() const
{
    return groupEditor_ ? groupEditor_->importOptions() : ImportOptions{};
}

bool MainWindow::openMesh(const QString& path)
{
    MeshLoadOptions options;
    options.studio3dsSmd = check1_->isChecked();
    if (!document_.loadMesh(path, options))
        return false;
    txtInputFile_->setText(path);
    return true;
}

bool MainWindow::openGmdc(const QString& path)
{
    if (!document_.loadGmdc(path))
        return false;
    txtInputFile_->setText(path);
    return true;
}

bool MainWindow::openFiles(const QStringList& paths)
{
    QStringList meshes;
    QStringList gmdcs;
    bool ok = true;
    for (const QString& path : paths) {
        if (isMeshFile(path)) {
            meshes << path;
        } else if (isGmdcFile(path)) {
            gmdcs << path;
        } else {
            document_.report(MessageKind::Error,
                             tr("\"%1\" is neither a mesh (OBJ, SMD) nor a GMDC file or package.").arg(path));
            ok = false;
        }
    }
    if (meshes.isEmpty() && gmdcs.isEmpty())
        return false;
    if (!document_.maybeSave(this))
        return false;
    if (!meshes.isEmpty())
        ok = openMesh(meshes.last()) && ok;
    if (!gmdcs.isEmpty())
        ok = openGmdc(gmdcs.last()) && ok;
    return ok;
}

void MainWindow::step1()
{
    if (!document_.maybeSave(this))
        return;
    const QString path =
        document_.dialogs().openFile(this, tr("Step 1: Select OBJ file to import:"), QLatin1String(kMeshFilter));
    if (!path.isEmpty())
        openMesh(path);
}

void MainWindow::step2()
{
    if (!cmdLoadExistingGMDC_->isEnabled() || !document_.maybeSave(this))
        return;
    const QString path =
        document_.dialogs().openFile(this, tr("Step 2: Load the existing mesh"), QLatin1String(kGmdcOpenFilter));
    if (!path.isEmpty())
        openGmdc(path);
}

void MainWindow::step3()
{
    if (!command3_->isEnabled())
        return;
    if (!groupEditor_)
        groupEditor_ = new GroupEditor(document_, this);
    groupEditor_->exec();
}

void MainWindow::step4()
{
    if (!cmdSaveToOrv_->isEnabled())
        return;
    if (!document_.mergeModels(importOptions(), txtInputFile_->text().isEmpty()))
        return;
    const QString path = document_.askGmdcSavePath(this, tr("Step 4: Save the file"));
    if (!path.isEmpty())
        document_.saveGmdc(path);
}

void MainWindow::convertToObj()
{
    text1_->clear();
    if (!document_.hasGmdc())
        return;
    const QFileInfo source(document_.gmdcPath());
    const QString suggested =
        source.fileName().isEmpty() ? QString() : source.dir().filePath(source.completeBaseName() + ".obj");
    const QString path = document_.dialogs().saveFile(this, tr("Convert to OBJ"), QLatin1String(kObjFilter), suggested);
    if (path.isEmpty())
        return;
    const QString text = readScaleText(kScaleToObj);
    bool valid = true;
    const double percent = scalePercent(text, &valid);
    if (!valid)
        document_.note(tr("The setting ScaleToObj holds \"%1\", which is no positive number: 100% is used.").arg(text));
    document_.exportObj(path, percent);
}

void MainWindow::startWizard()
{
    if (!document_.maybeSave(this))
        return;
    document_.cleanUp();
    txtInputFile_->clear();
    if (!wizard_)
        wizard_ = new WizardWindow(document_, this);
    wizard_->show();
    wizard_->raise();
    wizard_->activateWindow();
}

void MainWindow::showScaling()
{
    if (!scalingOptions_)
        scalingOptions_ = new ScalingOptions(this);
    scalingOptions_->show();
    scalingOptions_->raise();
    scalingOptions_->activateWindow();
}

void MainWindow::openReadme()
{
    // The README ships beside the program, or in the installed documentation folder.
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {dir.filePath(QStringLiteral("README.md")),
                                     dir.filePath(QStringLiteral("../share/doc/meshwright/README.md"))}) {
        if (QFileInfo::exists(candidate)) {
            if (!document_.dialogs().openUrl(QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath())))
                document_.note(tr("No program is set up to open %1").arg(candidate));
            return;
        }
    }
    document_.note(tr("The README was not found beside the program."));
}

void MainWindow::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = recentFiles();
    if (files.isEmpty())
        recentMenu_->addAction(tr("(none)"))->setEnabled(false);
    for (const QString& path : files)
        connect(recentMenu_->addAction(path), &QAction::triggered, this, [this, path] { openFiles({path}); });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!document_.maybeSave(this)) {
        event->ignore();
        return;
    }
    event->accept();
    // Every other window goes with the main window.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && (isMeshFile(url.toLocalFile()) || isGmdcFile(url.toLocalFile()))) {
            event->acceptProposedAction();
            return;
        }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    openFiles(paths);
}

} // namespace mw
