// The "3D View" window: turns and draws the scene, picks the model and GMDC object to
// work on, loads meshes and GMDC files, and starts replace, add and the exports through
// its host. One instance; its Close hides it.
#pragma once

#include "view/ui/view_window_host.h"
#include "view/view_state.h"

#include <QMainWindow>
#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;

namespace mw {

class ExportSmdDialog;
class SceneWidget;

inline constexpr const char* kGlFailureMessage = "Nelze nastavit parametry pro zobrazení grafiky!";

class ViewWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit ViewWindow(ViewWindowHost& host, QWidget* parent = nullptr);
    ~ViewWindow() override;

    // The check boxes as they stand.
    DisplayOptions displayOptions() const;
    ViewOptions viewOptions() const;
    const ViewState& viewState() const { return view_; }
    // Refills both lists from the records (after the host changed them) and redraws.
    void refreshLists();
    // Redraws with the state as it stands.
    void refreshScreen();
    // The folder of the last file loaded in this window (its file dialogs start there).
    const QString& lastFolder() const { return lastFolder_; }
    // Builds the models' textures again, looking for their bitmaps in `meshFolder` first
    // (the folder of the mesh file the models came from).
    void reloadTextures(const QString& meshFolder);

  signals:
    // No usable OpenGL: the message was shown and this window closed.
    void glFailed();

  private:
    void buildControls();
    void stepRotation(std::int32_t ViewState::*angle, int delta);
    void loadTestCloud();
    void loadMesh();
    void loadGmdc();
    void commit();
    void replaceOrAdd(bool replace);
    void saveObj();
    void exportSmd(std::int16_t mode, bool askName);
    void showExportDialog();
    void onGlFailed();
    int selectedObject() const;
    void remember(const QString& path);

    ViewWindowHost& host_;
    ViewState view_;
    SceneWidget* scene_ = nullptr;
    QCheckBox *allObjects_ = nullptr, *testArray_ = nullptr, *editGroups_ = nullptr, *gmdcView_ = nullptr,
              *bodyEditing_ = nullptr, *bumpMap_ = nullptr, *threeWeights_ = nullptr, *xsi_ = nullptr,
              *max3ds_ = nullptr, *shaded_ = nullptr, *wireframe_ = nullptr, *allSubgroups_ = nullptr;
    QListWidget *models_ = nullptr, *objects_ = nullptr;
    QLineEdit *subgroupText_ = nullptr, *numSubgroups_ = nullptr, *modelSubgroup_ = nullptr;
    QGroupBox *objectsFrame_ = nullptr, *modelFrame_ = nullptr;
    QPointer<ExportSmdDialog> exportDialog_;
    QString lastFolder_;
};

} // namespace mw
