// The application object between the windows and the core: it owns the records (the
// current GMDC and the imported models), runs the core operations on them, reports the
// core's messages, holds the undo stack and signals every change, so all windows show the
// same records. Windows read through state() and change only through these methods;
// changing the records behind the document's back leaves the windows showing stale data.
//
// Messages: every message goes to the debug log (signal `logged`, with the file it
// concerns). Errors (refusals) and the core's information messages ("Save Complete", the
// readers' "Finished reading ...") are also shown as message boxes through the dialog
// service; warnings and notes go to the status bar (signal `statusNote`) instead.
//
// Unsaved changes: the undo stack's clean state. Loading a file clears the stack (a load
// cannot be undone) and leaves it clean; a successful save marks it clean.
#pragma once

#include "app/dialog_service.h"
#include "core/message_sink.h"
#include "gmdc/gmdc_writer.h"
#include "merge/merge_options.h"
#include "package/package.h"
#include "state/state.h"
#include "wizard/wizard_construction.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

class QWidget;

namespace mw {

// File dialog filters of the program's windows.
inline constexpr char kMeshFilter[] = "Wavefront OBJ file (*.obj)|*.obj|Half life model(*.smd)|*.smd";
inline constexpr char kGmdcFilter[] = "Sims 2 Mesh (*.simpe)|*.simpe|Sims 2 Mesh (*.5gd)|*.5gd";
inline constexpr char kObjFilter[] = "Wavefront OBJ file (*.obj)|*.obj";
inline constexpr char kPackageFilter[] = "Sims 2 Package (*.package)|*.package";
// What a GMDC is loaded from: the GMDC files and packages.
inline constexpr char kGmdcOpenFilter[] =
    "Sims 2 Mesh (*.simpe)|*.simpe|Sims 2 Mesh (*.5gd)|*.5gd|Sims 2 Package (*.package)|*.package";

// True for the mesh files the program reads: ".obj" and ".smd" in any letter case.
bool isMeshFile(const QString& path);
// True for the files a GMDC is loaded from: ".simpe", ".5gd" and ".package", any letter case.
bool isGmdcFile(const QString& path);
bool isPackageFile(const QString& path); // ".package", any letter case

// Options of a mesh load, read from check boxes at the moment of use.
struct MeshLoadOptions {
    bool studio3dsSmd = false; // main window "3ds studio SMD file"
    bool using3dsMax = false;  // 3D view "Using 3DS MAX"
};

class Document : public QObject {
    Q_OBJECT

  public:
    explicit Document(DialogService& dialogs, QObject* parent = nullptr);
    ~Document() override;

    // The records, read-only. Change them with applyEdit or the operations below.
    const State& state() const { return state_; }
    DialogService& dialogs() { return dialogs_; }
    QUndoStack* undoStack() { return &undoStack_; }
    // The window that owns the message boxes (the main window).
    void setDialogOwner(QWidget* owner) { owner_ = owner; }
    QWidget* dialogOwner() const { return owner_; }

    bool isModified() const { return !undoStack_.isClean(); }
    bool hasMesh() const { return meshLoaded_; }             // a mesh file was read successfully
    bool hasGmdc() const { return state_.gmdc.holdsGmdc(); } // a GMDC was loaded or built
    QString meshPath() const { return meshPath_; }           // last mesh read, "" after cleanUp
    QString gmdcPath() const { return gmdcPath_; }           // last GMDC loaded or saved
    QString savedPath() const { return savedPath_; }         // last GMDC saved, "" when none
    // When the GMDC was loaded from a package (or saved into one since): that package and
    // the GMDC resource's position in it (0-based). "" and -1 otherwise. Kept until the
    // next GMDC load, a new object or cleanUp, so a plain GMDC copy can be saved between.
    QString packagePath() const { return packagePath_; }
    int packageResource() const { return packageResource_; }
    // How the status bar names the GMDC: "body.package, resource 3", a file name, or "new".
    QString gmdcSourceName() const;

    // The main window's reset: empties the GMDC and the models; clears the undo stack.
    void cleanUp();
    // Reads an OBJ or SMD file (by its extension, any letter case) into the models,
    // replacing both records (the reset), positions scaled by the setting "ScaleFromObj".
    // A file that is refused leaves both records as they were. Clears the undo stack.
    bool loadMesh(const QString& path, const MeshLoadOptions& options = {});
    // Loads a GMDC file or, for a file that is a package, one of its GMDC resources (the
    // only one, or the one the user picks from a list through the dialog service),
    // replacing the GMDC and keeping the models. A failed or cancelled load leaves
    // everything as it was. Clears the undo stack.
    bool loadGmdc(const QString& path);

    // The generic undoable edit: runs `edit` on the records; when it returns true the
    // records before and after become one undo command named `name` (the windows are told
    // through gmdcChanged and modelsChanged); when it returns false the records are put
    // back as they were. The edit's messages are reported once it has finished.
    bool applyEdit(const QString& name, const std::function<bool(State&, MessageSink&)>& edit);

    // Step 4's merge pass, run once per loaded mesh and GMDC pair: when the models are
    // already merged with the same options nothing happens; when the options changed since,
    // the models are merged again into the GMDC as it was loaded; after an undo of the
    // merge it runs again. Undoable ("Merge models"). With `inputFileBoxEmpty` (the main
    // window's input-file box names no file) nothing is merged.
    bool mergeModels(const ImportOptions& options, bool inputFileBoxEmpty = false);
    bool isMerged() const { return merged_; }

    // The save dialog of every GMDC save: after a package load it offers the package
    // first and starts at it; otherwise the GMDC filters from `initialPath`.
    QString askGmdcSavePath(QWidget* owner, const QString& title, const QString& initialPath = {});
    // Saves the GMDC ("Save Complete"), plain or in the body-mesh layout (checked first).
    // A path ending in ".package" writes a copy of the package the GMDC was loaded from with
    // that resource replaced and every other resource's bytes unchanged; writing into that
    // package itself is confirmed first. Any other path gets a GMDC file. On success marks
    // the records clean and remembers the path (and the recent files); on failure the
    // file at `path` is left as it was.
    enum class Layout { Plain, BodyMesh };
    bool saveGmdc(const QString& path, Layout layout = Layout::Plain);
    // Changes the models only (the 3D view's assignments), outside the undo history and
    // the unsaved-changes flag; emits modelsChanged.
    void editModels(const std::function<void(ModelSet&)>& edit);
    // Writes every GMDC object to an OBJ file, positions scaled by `scalePercent`.
    bool exportObj(const QString& path, double scalePercent);
    // Builds a new GMDC from the models (the wizard's construction). Undoable.
    bool buildNewObject(const WizardOptions& options);

    // Reports a message as described at the top; `file` is the file it concerns.
    void report(MessageKind kind, const QString& text, const QString& file = {});
    // A note of our own: debug log and status bar, never a box.
    void note(const QString& text);

    // When the GMDC holds unsaved changes, asks Save / Discard / Cancel (Save asks for a
    // file and saves). True when the caller may go on and replace or drop the records.
    bool maybeSave(QWidget* owner);

  signals:
    void gmdcChanged();
    void modelsChanged();
    void modifiedChanged(bool modified);
    void filesChanged(); // mesh, GMDC or saved path changed
    void logged(const QString& line);
    void statusNote(const QString& text);

  private:
    friend class SnapshotCommand;
    void restore(const State& state); // used by undo and redo
    void reportAll(const RecordingSink& sink, const QString& file);
    void resetHistory();
    void markSaved(const QString& path);
    // The package steps of loadGmdc and saveGmdc (document_package.cpp).
    bool readPackageGmdc(const QString& path, GmdcFile& gmdc, int& resource, PackageResource& entry,
                         RecordingSink& sink);
    bool preparePackageSave(const QString& path, Package& package, RecordingSink& sink);

    DialogService& dialogs_;
    QWidget* owner_ = nullptr;
    State state_;
    QUndoStack undoStack_;
    bool meshLoaded_ = false;
    QString meshPath_;
    QString gmdcPath_;
    QString savedPath_;
    QString packagePath_;
    int packageResource_ = -1;
    PackageResource packageEntry_; // as loaded: checked again before writing back
    // The merge of step 4: whether it is applied, with which options, and the GMDC as it
    // was loaded, which a merge with other options starts from.
    bool merged_ = false;
    ImportOptions mergeOptions_;
    GmdcFile loadedGmdc_;
};

} // namespace mw
