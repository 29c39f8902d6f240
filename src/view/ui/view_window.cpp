#include "view/ui/view_window.h"

#include "core/save_file.h"
#include "smd_export/smd_writer.h"
#include "smd_export/ui/export_smd_dialog.h"
#include "view/scene.h"
#include "view/triangle_pick.h"
#include "view/ui/scene_widget.h"
#include "view/view_controls.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace mw {

namespace {

const char* const kGmdcOpenFilter = "Sims 2 Mesh (*.simpe);;Sims 2 Mesh (*.5gd);;Sims 2 Package (*.package)";

template <typename W> W* named(W* widget, const char* objectName, const QString& accessible)
{
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessible);
    return widget;
}

QPushButton* button(const char* objectName, const QString& caption)
{
    return named(new QPushButton(caption), objectName, caption);
}

QCheckBox* check(const char* objectName, const QString& caption)
{
    return named(new QCheckBox(caption), objectName, caption);
}

// A read-only box with its caption beside it, as the window's labelled text boxes.
QLineEdit* labelled(QGridLayout* grid, int row, const char* objectName, const QString& caption, bool readOnly)
{
    auto* edit = named(new QLineEdit, objectName, caption);
    edit->setReadOnly(readOnly);
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

} // namespace

ViewWindow::ViewWindow(ViewWindowHost& host, QWidget* parent) : QMainWindow(parent), host_(host)
{
    setWindowTitle("3D View");
    setObjectName("ViewWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    refreshLists();
}

ViewWindow::~ViewWindow() = default;

void ViewWindow::buildControls()
{
    scene_ = new SceneWidget(host_.state(), view_, [this] { return displayOptions(); });
    scene_->setObjectName("sceneView");
    scene_->setAccessibleName("3D scene");
    connect(scene_, &SceneWidget::glFailed, this, &ViewWindow::onGlFailed);

    // "Rotation"
    auto* rotation = new QGroupBox("Rotation");
    auto* rotationGrid = new QGridLayout(rotation);
    const struct {
        const char* name;
        const char* caption;
        std::int32_t ViewState::*angle;
        int delta;
    } steps[] = {{"Command1", "X +", &ViewState::rot_x, 1},  {"Command2", "Y +", &ViewState::rot_y, 1},
                 {"Command3", "Z +", &ViewState::rot_z, 1},  {"Command4", "X -", &ViewState::rot_x, -1},
                 {"Command5", "Y -", &ViewState::rot_y, -1}, {"Command6", "Z -", &ViewState::rot_z, -1}};
    for (int i = 0; i < 6; ++i) {
        QPushButton* b = button(steps[i].name, steps[i].caption);
        connect(b, &QPushButton::clicked, this, [this, s = steps[i]] { stepRotation(s.angle, s.delta); });
        rotationGrid->addWidget(b, i / 3, i % 3);
    }
    QPushButton* in = button("Command8", "IN");
    QPushButton* out = button("Command9", "OUT");
    QPushButton* fit = button("cmdFit", "Fit");
    connect(in, &QPushButton::clicked, this, [this] {
        view_.view_distance = step_in(view_.view_distance);
        refreshScreen();
    });
    connect(out, &QPushButton::clicked, this, [this] {
        view_.view_distance = step_out(view_.view_distance);
        refreshScreen();
    });
    connect(fit, &QPushButton::clicked, this, [this] {
        fit_camera(shown_bounds(host_.state(), view_, displayOptions()), view_,
                   static_cast<double>(scene_->width()) / std::max(1, scene_->height()));
        refreshScreen();
    });
    rotationGrid->addWidget(in, 2, 0);
    rotationGrid->addWidget(out, 2, 1);
    rotationGrid->addWidget(fit, 2, 2);

    // "Models"
    auto* modelsFrame = new QGroupBox("Models");
    auto* modelsLayout = new QVBoxLayout(modelsFrame);
    models_ = named(new QListWidget, "List1", "Models");
    allObjects_ = check("Check1", "All Objects");
    testArray_ = check("Check2", "Test array");
    editGroups_ = check("Check3", "edit groups");
    QPushButton* load = button("Command7", "Load");
    for (QWidget* w : std::initializer_list<QWidget*>{models_, allObjects_, testArray_, editGroups_, load})
        modelsLayout->addWidget(w);
    connect(models_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        view_.current_model = row + 1;
        const auto& models = host_.state().models.models;
        if (row < static_cast<int>(models.size()))
            modelSubgroup_->setText(
                QString::fromStdString(subgroup_text(models[static_cast<std::size_t>(row)].subGroup)));
        refreshScreen();
    });
    connect(allObjects_, &QCheckBox::clicked, this, &ViewWindow::refreshScreen);
    connect(editGroups_, &QCheckBox::clicked, this, [this](bool on) {
        objectsFrame_->setVisible(on);
        modelFrame_->setVisible(on);
        refreshScreen();
    });
    connect(load, &QPushButton::clicked, this, &ViewWindow::loadTestCloud);

    // "Tool Bar"
    auto* toolBar = new QGroupBox("Tool Bar");
    auto* toolGrid = new QGridLayout(toolBar);
    gmdcView_ = check("Check5", "GMDC VIEW");
    bodyEditing_ = check("Check4", "Body Editing");
    bumpMap_ = check("Check6", "Bump map");
    threeWeights_ = check("Check7", "3 weights");
    xsi_ = check("Check8", "Using XSI Mod Tool");
    max3ds_ = check("Check9", "Using 3DS MAX");
    shaded_ = check("chkShaded", "Shaded");
    wireframe_ = check("chkWireframe", "Wireframe");
    allSubgroups_ = check("chkAllSubgroups", "All sub-groups");
    QCheckBox* boxes[] = {gmdcView_, bodyEditing_, bumpMap_,   threeWeights_, xsi_,
                          max3ds_,   shaded_,      wireframe_, allSubgroups_};
    for (int i = 0; i < 9; ++i)
        toolGrid->addWidget(boxes[i], i / 3, i % 3);
    for (QCheckBox* b : {gmdcView_, shaded_, wireframe_, allSubgroups_})
        connect(b, &QCheckBox::clicked, this, &ViewWindow::refreshScreen);
    auto* subgroupGrid = new QGridLayout;
    subgroupText_ = labelled(subgroupGrid, 0, "Text3", "Sub Group#:", true);
    subgroupText_->setText("1");
    QPushButton* plus = button("Command14", "+");
    QPushButton* minus = button("Command15", "-");
    subgroupGrid->addWidget(plus, 0, 2);
    subgroupGrid->addWidget(minus, 0, 3);
    toolGrid->addLayout(subgroupGrid, 3, 0, 1, 3);
    for (auto [b, delta] : {std::pair{plus, 1}, std::pair{minus, -1}})
        connect(b, &QPushButton::clicked, this, [this, delta = delta] {
            view_.selected_subgroup += delta; // no limit: the box shows what is drawn
            subgroupText_->setText(QString::number(view_.selected_subgroup + 1));
            refreshScreen();
        });
    const struct {
        const char* name;
        const char* caption;
    } tools[] = {{"Command12", "GMDC VIEW"},  {"Command13", "MODEL VIEW"}, {"Command21", "Save Obj"},
                 {"Command19", "Export SMD"}, {"Command17", "empty P5"},   {"Command16", "add model"}};
    QPushButton* toolButtons[6];
    for (int i = 0; i < 6; ++i) {
        toolButtons[i] = button(tools[i].name, tools[i].caption);
        toolGrid->addWidget(toolButtons[i], 4 + i / 3, i % 3);
    }
    connect(toolButtons[2], &QPushButton::clicked, this, &ViewWindow::saveObj);
    connect(toolButtons[3], &QPushButton::clicked, this, [this] { exportSmd(kSmdMultipleBones, true); });
    connect(toolButtons[4], &QPushButton::clicked, this, [this] { host_.emptyP5(); });
    connect(toolButtons[5], &QPushButton::clicked, this, [this] { replaceOrAdd(false); });

    // "Objects" and "Model", shown by "edit groups"
    objectsFrame_ = new QGroupBox("Objects");
    auto* objectsLayout = new QVBoxLayout(objectsFrame_);
    objects_ = named(new QListWidget, "List2", "GMDC objects");
    auto* objectsGrid = new QGridLayout;
    numSubgroups_ = labelled(objectsGrid, 0, "Text1", "Num Sub-Groups:", true);
    QPushButton* exportDialog = button("Command20", "Export SMD");
    objectsLayout->addWidget(objects_);
    objectsLayout->addLayout(objectsGrid);
    objectsLayout->addWidget(exportDialog);
    connect(objects_, &QListWidget::currentRowChanged, this, [this](int row) {
        const auto& objects = host_.state().gmdc.objects;
        view_.selected_object = row + 1;
        numSubgroups_->setText(row >= 0 && row < static_cast<int>(objects.size())
                                   ? QString::number(objects[static_cast<std::size_t>(row)].blockB.size())
                                   : QString());
        refreshScreen();
    });
    connect(exportDialog, &QPushButton::clicked, this, &ViewWindow::showExportDialog);

    modelFrame_ = new QGroupBox("Model");
    auto* modelGrid = new QGridLayout(modelFrame_);
    modelSubgroup_ = labelled(modelGrid, 0, "Text2", "Sub-Group #:", false);
    QPushButton* commitButton = button("Command11", "Commit");
    QPushButton* replace = button("Command10", "Replace");
    QPushButton* addModel = button("Command18", "Add Model");
    modelGrid->addWidget(commitButton, 1, 0);
    modelGrid->addWidget(replace, 1, 1);
    modelGrid->addWidget(addModel, 2, 0);
    connect(commitButton, &QPushButton::clicked, this, &ViewWindow::commit);
    connect(replace, &QPushButton::clicked, this, [this] { replaceOrAdd(true); });
    connect(addModel, &QPushButton::clicked, this, [this] { replaceOrAdd(false); });
    objectsFrame_->hide();
    modelFrame_->hide();

    auto* side = new QVBoxLayout;
    for (QGroupBox* frame : {rotation, modelsFrame, toolBar, objectsFrame_, modelFrame_})
        side->addWidget(frame);
    side->addStretch();
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(scene_, 1);
    layout->addLayout(side);
    setCentralWidget(central);

    QMenu* file = menuBar()->addMenu("&File");
    QAction* loadMeshAction = file->addAction("Load Mesh", this, &ViewWindow::loadMesh);
    loadMeshAction->setObjectName("mnuFileLoad");
    QAction* loadGmdcAction = file->addAction("Load Gmdc", this, &ViewWindow::loadGmdc);
    loadGmdcAction->setObjectName("mnuFileLoadGmdc");
}

DisplayOptions ViewWindow::displayOptions() const
{
    DisplayOptions o;
    o.gmdcView = gmdcView_->isChecked();
    o.testArray = testArray_->isChecked();
    o.allObjects = allObjects_->isChecked();
    o.bodyEditing = bodyEditing_->isChecked();
    o.allSubgroups = allSubgroups_->isChecked();
    o.shaded = shaded_->isChecked();
    o.wireframe = wireframe_->isChecked();
    return o;
}

ViewOptions ViewWindow::viewOptions() const
{
    ViewOptions o;
    o.bodyEditing = bodyEditing_->isChecked();
    o.threeWeights = threeWeights_->isChecked();
    o.bumpMap = bumpMap_->isChecked();
    o.usingXsiModTool = xsi_->isChecked();
    o.usingThreeDsMax = max3ds_->isChecked();
    return o;
}

void ViewWindow::refreshLists()
{
    const State& state = host_.state();
    const int model = models_->currentRow(), object = objects_->currentRow();
    models_->clear();
    for (const MeshModel& m : state.models.models)
        models_->addItem(QString::fromStdString(m.name));
    objects_->clear();
    for (const GmdcObject& o : state.gmdc.objects)
        objects_->addItem(QString::fromStdString(o.name));
    if (model >= 0 && model < models_->count())
        models_->setCurrentRow(model);
    if (object >= 0 && object < objects_->count())
        objects_->setCurrentRow(object);
    else
        view_.selected_object = 0;
    scene_->recordsChanged();
}

void ViewWindow::refreshScreen()
{
    scene_->update();
}

void ViewWindow::stepRotation(std::int32_t ViewState::*angle, int delta)
{
    view_.*angle += delta; // not wrapped at 360
    refreshScreen();
}

int ViewWindow::selectedObject() const
{
    return objects_->currentRow() + 1; // 0: none
}

void ViewWindow::remember(const QString& path)
{
    lastFolder_ = QFileInfo(path).absolutePath();
}

void ViewWindow::loadTestCloud()
{
    const QString path = host_.openFileName("Load", "Sims 2 Mesh (*.simpe)", lastFolder_);
    if (path.isEmpty())
        return;
    std::string bytes, error;
    if (!read_whole_file(path.toStdString(), bytes, error)) {
        host_.showMessage(QString::fromStdString(error));
        return;
    }
    if (!parse_test_cloud(std::vector<unsigned char>(bytes.begin(), bytes.end()), view_, error))
        host_.showMessage(QString::fromStdString(error));
    else
        remember(path);
}

void ViewWindow::loadMesh()
{
    const QString path =
        host_.openFileName("Load Mesh", "Wavefront OBJ file (*.obj);;Half life model(*.smd)", lastFolder_);
    if (path.isEmpty())
        return;
    const bool smd = QFileInfo(path).suffix().compare(QLatin1String("smd"), Qt::CaseInsensitive) == 0;
    if (!host_.loadMesh(path, smd, viewOptions()))
        return;     // the host said why; the models are as they were
    remember(path); // the textures follow the document's files (see registerViewWindows)
    refreshLists();
}

void ViewWindow::reloadTextures(const QString& meshFolder)
{
    scene_->reloadTextures(meshFolder);
}

void ViewWindow::loadGmdc()
{
    const QString path = host_.openFileName("Load Gmdc", kGmdcOpenFilter, lastFolder_);
    if (path.isEmpty())
        return;
    remember(path);
    host_.loadGmdc(path);
    refreshLists();
}

void ViewWindow::commit()
{
    const int model = models_->currentRow() + 1, object = objects_->currentRow() + 1;
    if (model < 1 || object < 1) {
        host_.showMessage("Select a model in the model list and a GMDC object in the object list first.");
        return;
    }
    const std::optional<std::int16_t> subGroup = commit_number(modelSubgroup_->text().toStdString());
    if (!subGroup) {
        host_.showMessage("The sub-group \"" + modelSubgroup_->text() + "\" is outside -32768 to 32767.");
        return;
    }
    host_.commitModel(model, *subGroup, static_cast<std::int16_t>(object));
}

void ViewWindow::replaceOrAdd(bool replace)
{
    const ViewOptions options = viewOptions();
    if (!(replace ? host_.replaceModels(options) : host_.addModels(options)))
        return;
    const QString path = host_.saveGmdcFileName("Save GMDC", lastFolder_);
    if (!path.isEmpty())
        host_.saveGmdc(path, options.bodyEditing);
    refreshLists();
}

void ViewWindow::saveObj()
{
    const QString path = host_.saveFileName("Save Obj", "Wavefront OBJ file (*.obj)",
                                            QDir(lastFolder_.isEmpty() ? "." : lastFolder_).filePath("test_obj.obj"));
    if (!path.isEmpty())
        host_.writeObj(path, 1);
}

void ViewWindow::exportSmd(std::int16_t mode, bool suggestName)
{
    // The tool bar's export offers its fixed name, the dialog's the folder alone.
    const QString suggested =
        suggestName ? QDir(lastFolder_.isEmpty() ? "." : lastFolder_).filePath("test_smd.smd") : lastFolder_;
    const QString path = host_.saveFileName("Export SMD", "SMD file(HL)(*.smd)", suggested);
    if (!path.isEmpty())
        host_.writeSmd(path, selectedObject(), mode);
}

void ViewWindow::showExportDialog()
{
    if (!exportDialog_) {
        exportDialog_ = new ExportSmdDialog(this);
        connect(exportDialog_, &ExportSmdDialog::exportRequested, this, [this](std::int16_t mode) {
            exportSmd(mode, false);
            refreshScreen();
        });
        connect(exportDialog_, &ExportSmdDialog::cancelled, this, &ViewWindow::refreshScreen);
    }
    exportDialog_->show();
    exportDialog_->raise();
}

void ViewWindow::onGlFailed()
{
    // Only this window goes: the program and its unsaved work stay.
    host_.showMessage(kGlFailureMessage);
    emit glFailed();
    QTimer::singleShot(0, this, &QWidget::close);
}

} // namespace mw
