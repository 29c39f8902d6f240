// What the 3D View window needs from the desktop program: the records to draw, the edits
// it asks for (each one undoable there, with its messages reported there) and the file
// and message dialogs. The window never changes the records itself.
#pragma once

#include "merge/merge_options.h"
#include "state/state.h"

#include <QString>

#include <cstdint>

namespace mw {

class ViewWindowHost {
  public:
    virtual ~ViewWindowHost() = default;

    virtual const State& state() const = 0;

    // "Load Mesh": empties the GMDC, then reads an OBJ (`smd` false) or SMD file.
    virtual bool loadMesh(const QString& path, bool smd, const ViewOptions& options) = 0;
    // "Load Gmdc": the GMDC's sections replaced; the models kept. A package offers its GMDC
    // resources.
    virtual bool loadGmdc(const QString& path) = 0;
    // "Commit": model `model` (1-based) gets this sub-group and target object.
    virtual bool commitModel(int model, std::int16_t subGroup, std::int16_t targetObject) = 0;
    // "Replace" / "add model": the models with a target object go into the GMDC.
    virtual bool replaceModels(const ViewOptions& options) = 0;
    virtual bool addModels(const ViewOptions& options) = 0;
    // The save step after them: the body-mesh save with "Body Editing", else the GMDC writer.
    // A path ending in ".package" writes the GMDC back into a copy of the package it came from.
    virtual bool saveGmdc(const QString& path, bool bodyEditing) = 0;
    // The save dialog of that step (the program's offers the package the GMDC came from).
    virtual QString saveGmdcFileName(const QString& caption, const QString& folder)
    {
        return saveFileName(caption, QStringLiteral("Sims 2 Mesh (*.simpe);;Sims 2 Mesh (*.5gd)"), folder);
    }
    // "empty P5": the default clickable area as bounding mesh, no P5 entries.
    virtual bool emptyP5() = 0;
    // Written files that change no record: the SMD export and the OBJ test export.
    virtual bool writeSmd(const QString& path, int objectNumber, std::int16_t mode) = 0;
    virtual bool writeObj(const QString& path, int modelNumber) = 0;

    // Dialogs: an empty name means cancelled. `filter` is in Qt's form.
    virtual QString openFileName(const QString& caption, const QString& filter, const QString& folder) = 0;
    virtual QString saveFileName(const QString& caption, const QString& filter, const QString& suggestedPath) = 0;
    virtual void showMessage(const QString& text) = 0;
};

} // namespace mw
